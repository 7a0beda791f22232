#pragma once

#include <QString>
#include <QUrl>

// Addresses that come from outside (the service, a definition file, a banner) are opened, loaded or handed to
// the desktop only when they are web addresses: an absolute http or https address with a host. Any other
// scheme would run a local file, a script or another program's handler.
bool isWebAddress(const QUrl& address);
bool isWebAddress(const QString& address);

// The origin of an address, as "scheme://host:port" (the port written out, 80 or 443 when the address gives
// none); empty for an address without a host. Credentials are bound to it.
QString webOrigin(const QString& address);

// An address as messages and traces show it: where the page is, without what a form or a link carried there.
// Query values and the fragment become "*" and a password in the address is left out: a login form sent with
// GET puts the password in the query.
QString shownAddress(const QString& address);
