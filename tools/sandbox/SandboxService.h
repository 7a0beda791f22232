#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The documents that the sandbox's /smsinit and /smsupdate answer with, in the service's tag format and
// its single-byte Hebrew code page.
namespace SandboxService {
using Parameters = QList<QPair<QByteArray, QString>>;

// A parameter value as the document carries it: the windows-1255 bytes, with a space as "+" and every
// byte that the reader would take for syntax (quotes, "%", "+", "<", ">", controls) or that is not
// ASCII as %XX. Quotes and apostrophes cannot survive the reader in any form, so values must not
// need them.
QByteArray encodeValue(const QString& value);

// "<#NAME a=1 b=2>" followed by CR LF.
QByteArray tag(const QByteArray& name, const Parameters& parameters = {});

// The complete definitions for the sandbox's sites, every address on baseUrl.
QByteArray initDocument(const QString& baseUrl);
// The names of the providers initDocument defines, in its order.
QStringList providerNames();

// ADVERTS and the ADVERT of each of the sandbox's banners (two GIF pictures and a JPEG one).
QByteArray advertList(const QString& baseUrl);

// The statistics reply: the banner list, UPDATED and FINISHED.
QByteArray updateDocument(const QString& baseUrl);
} // namespace SandboxService
