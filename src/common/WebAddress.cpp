#include "WebAddress.h"

bool isWebAddress(const QUrl& address)
{
    const QString scheme = address.scheme().toLower();
    return address.isValid() && !address.host().isEmpty()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool isWebAddress(const QString& address)
{
    return isWebAddress(QUrl(address.trimmed()));
}
