#include "WebAddress.h"

#include <QUrlQuery>

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

QString webOrigin(const QString& address)
{
    const QUrl url(address);
    if (url.host().isEmpty())
        return QString();
    const QString scheme = url.scheme().toLower();
    const int port = url.port(scheme == QLatin1String("https") ? 443 : scheme == QLatin1String("http") ? 80 : -1);
    return scheme + QStringLiteral("://") + url.host().toLower()
        + (port >= 0 ? QLatin1Char(':') + QString::number(port) : QString());
}

QString shownAddress(const QString& address)
{
    QUrl url(address);
    if (!url.isValid())
        return QStringLiteral("(not an address)");
    if (url.hasQuery()) {
        QUrlQuery query(url);
        QList<QPair<QString, QString>> items = query.queryItems();
        for (auto& item : items)
            item.second = QStringLiteral("*");
        query.setQueryItems(items);
        url.setQuery(query);
    }
    if (url.hasFragment())
        url.setFragment(QStringLiteral("*"));
    return url.toString(QUrl::RemovePassword);
}
