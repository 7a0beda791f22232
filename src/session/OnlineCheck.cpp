#include "OnlineCheck.h"

#include "common/AppPaths.h"

#include <QHostAddress>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QUrl>

namespace {
// Loads the backend once; null when the platform has none.
QNetworkInformation* networkInformation()
{
    static QNetworkInformation* const information = [] {
        if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
            return static_cast<QNetworkInformation*>(nullptr);
        return QNetworkInformation::instance();
    }();
    return information;
}
} // namespace

bool OnlineCheck::serviceIsLocal(const QString& serviceUrl)
{
    const QString host = QUrl(serviceUrl).host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool OnlineCheck::anyInterfaceUp()
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const QNetworkInterface::InterfaceFlags flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsLoopBack) || !flags.testFlag(QNetworkInterface::IsUp)
            || !flags.testFlag(QNetworkInterface::IsRunning))
            continue;
        return true;
    }
    return false;
}

bool OnlineCheck::isOnline()
{
    if (serviceIsLocal(AppPaths::serviceUrl()))
        return true;
    if (QNetworkInformation* information = networkInformation()) {
        switch (information->reachability()) {
        case QNetworkInformation::Reachability::Online:
        case QNetworkInformation::Reachability::Site: // a network without a known way out may still have a proxy
            return true;
        case QNetworkInformation::Reachability::Disconnected:
        case QNetworkInformation::Reachability::Local:
            return false;
        case QNetworkInformation::Reachability::Unknown:
            break;
        }
    }
    return anyInterfaceUp();
}
