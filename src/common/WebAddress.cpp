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
