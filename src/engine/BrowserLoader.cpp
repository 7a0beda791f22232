#include "BrowserLoader.h"

#include "common/AppPaths.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QPluginLoader>

// The install's folder of the library relative to its program folder, from the build's install folders
// (../lib/<multiarch>/zelkora for an install under /usr on Debian).
#ifndef ZELKORA_LIBRARY_DIR_FROM_BINDIR
#define ZELKORA_LIBRARY_DIR_FROM_BINDIR "../lib/zelkora"
#endif

namespace {
const char* const kLibraryName = "zelkora-browser.so";

QPluginLoader& loader()
{
    static QPluginLoader instance;
    return instance;
}
} // namespace

QString BrowserLoader::libraryPath()
{
    const QString forced = qEnvironmentVariable("ZELKORA_BROWSER_LIBRARY");
    if (!forced.isEmpty())
        return QFileInfo::exists(forced) ? forced : QString();
    const QString program = AppPaths::programDir();
    const QStringList candidates { program + QLatin1String(kLibraryName),
        program + QLatin1String(ZELKORA_LIBRARY_DIR_FROM_BINDIR "/") + QLatin1String(kLibraryName),
        program + QStringLiteral("../lib/zelkora/") + QLatin1String(kLibraryName) };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QString();
}

int BrowserLoader::majorVersion()
{
    const QString path = libraryPath();
    if (path.isEmpty())
        return 0;
    QPluginLoader probe(path);
    const QJsonObject meta = probe.metaData();
    if (meta.value(QLatin1String("IID")).toString() != QLatin1String(ZelkoraBrowserFactory_iid))
        return 0;
    return meta.value(QLatin1String("MetaData")).toObject().value(QLatin1String("ChromiumMajor")).toInt(0);
}

namespace {
BrowserFactory* factory()
{
    QPluginLoader& plugin = loader();
    if (plugin.fileName().isEmpty())
        plugin.setFileName(BrowserLoader::libraryPath());
    auto* made = qobject_cast<BrowserFactory*>(plugin.instance());
    if (!made)
        qWarning("zelkora: the browser library cannot be loaded: %s", qPrintable(plugin.errorString()));
    return made;
}
} // namespace

std::unique_ptr<IWebBrowser> BrowserLoader::createBrowser(QObject* parent)
{
    BrowserFactory* browsers = factory();
    return browsers ? std::unique_ptr<IWebBrowser>(browsers->createBrowser(parent)) : nullptr;
}

IBrowserView* BrowserLoader::createView(QWidget* parent)
{
    BrowserFactory* browsers = factory();
    return browsers ? browsers->createView(parent) : nullptr;
}

bool BrowserLoader::isLoaded()
{
    return loader().isLoaded();
}
