#include "ServiceConnectionHost.h"

#include "common/AppPaths.h"
#include "common/UserPrompt.h"
#include "service/ServiceRequests.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

QString ServiceConnectionHost::localAddress() const
{
    return GetLocalAddress();
}

void ServiceConnectionHost::ClearBannerCache()
{
    clearFolder(bannerCacheFolder());
}

bool ServiceConnectionHost::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

QString ServiceConnectionHost::bannerCacheFolder()
{
    return AppPaths::cacheDir() + QStringLiteral("cache/");
}

void ServiceConnectionHost::clearFolder(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return;
    const QStringList names = dir.entryList(QDir::Files);
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
        QFile::remove(path);
    }
}

ServiceConnectionHost* ServiceConnectionHost::fallback()
{
    static ServiceConnectionHost host;
    return &host;
}
