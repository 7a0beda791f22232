#pragma once

#include <QString>

// The HTML of the sandbox's operator sites and its own pages. Every page is UTF-8 and right-to-left.
namespace SandboxPages {
QString home(const QString& baseUrl);
QString help();

QString saharFrameset();
QString partnerFrameset(quint16 port);
QString saharFooter();
QString saharLogin(bool failed, const QString& userName = QString());
QString saharMessage();
QString saharAccepted(const QString& number);
QString saharRejected(const QString& number);
QString saharExpired();
QString saharSignup();
QString saharSearch(const QString& query);

QString kesherForm();
QString kesherAccepted();
QString kesherRejected();

// The area codes of both sites' choosers, in the order they are offered.
const QStringList& areaCodes();
// What sahar's drop-down submits for a code (050 -> 50): deliberately unlike the shown text.
QString saharPrefixValue(const QString& code);
// The address of kesher's send link, which the service document names as its lookup.
QString kesherSendLink();
} // namespace SandboxPages
