#pragma once

#include <QString>
#include <QUrl>

// Addresses that come from outside (the service, a definition file, a banner) are opened, loaded or handed to
// the desktop only when they are web addresses: an absolute http or https address with a host. Any other
// scheme would run a local file, a script or another program's handler.
bool isWebAddress(const QUrl& address);
bool isWebAddress(const QString& address);
