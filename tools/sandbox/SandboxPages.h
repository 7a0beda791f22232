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

// Ofek's pages are made by their own scripts, as on many operators' sites: the login form is built by a
// load listener, the message page's body onload puts a hidden field before the visible ones and a later
// script fills in the site's own defaults and adds another field in front, and the result page's
// window.onload writes the verdict.
QString ofekLogin(bool failed);
QString ofekMessage();
QString ofekResult(bool accepted);

// The area codes of sahar's and kesher's choosers, in the order they are offered.
const QStringList& areaCodes();
// The area codes of ofek's chooser.
const QStringList& ofekAreaCodes();
// The hidden field that ofek's message page adds before its visible ones; a submission without it is refused.
QString ofekTokenField();
QString ofekTokenValue();
// What sahar's drop-down submits for a code (050 -> 50): deliberately unlike the shown text.
QString saharPrefixValue(const QString& code);
// The address of kesher's send link, which the service document names as its lookup.
QString kesherSendLink();
} // namespace SandboxPages
