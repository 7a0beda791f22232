#include "AppPaths.h"

#include "AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The install's data folder relative to its program folder, from the build's install folders.
#ifndef ZELKORA_DATA_DIR_FROM_BINDIR
#define ZELKORA_DATA_DIR_FROM_BINDIR "../share/zelkora"
#endif

namespace {
QString withSlash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString xdgDir(const char* variable, const char* fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return withSlash(value);
    return withSlash(QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome));
}

QString& serviceOverride()
{
    static QString url;
    return url;
}

QString& configuredService()
{
    static QString url;
    return url;
}
} // namespace

QString AppPaths::programDir()
{
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

QString AppPaths::installDataDirFor(const QString& programFolder)
{
    return withSlash(QDir::cleanPath(withSlash(programFolder) + QLatin1String(ZELKORA_DATA_DIR_FROM_BINDIR)));
}

bool AppPaths::isInstalled()
{
    return QFileInfo(installDataDirFor(programDir())).isDir();
}

QStringList AppPaths::resourceDirs()
{
    const QString program = programDir();
    return { program, installDataDirFor(program) };
}

QString AppPaths::resourceFile(const QString& fileName)
{
    const QStringList folders = resourceDirs();
    for (const QString& folder : folders) {
        if (QFileInfo::exists(folder + fileName))
            return folder + fileName;
    }
    return folders.first() + fileName;
}

QString AppPaths::appDir()
{
    const QString forced = qEnvironmentVariable("ZELKORA_APPDIR");
    if (!forced.isEmpty()) {
        ensureDir(forced);
        return withSlash(QDir(forced).absolutePath());
    }
    QString program = programDir();
    if (QFileInfo(program).isWritable() && !isInstalled())
        return program;
    QString data = xdgDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("zelkora/");
    ensureDir(data);
    return data;
}

QString AppPaths::configDir()
{
    return xdgDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("zelkora/");
}

QString AppPaths::cacheDir()
{
    return xdgDir("XDG_CACHE_HOME", ".cache") + QStringLiteral("zelkora/");
}

QString AppPaths::serviceUrl()
{
    QString url = serviceOverride();
    if (url.isEmpty()) {
        // The environment's variable set to nothing means no service, over the settings and the build.
        if (qEnvironmentVariableIsSet("ZELKORA_SERVICE_URL"))
            url = qEnvironmentVariable("ZELKORA_SERVICE_URL");
        else if (!configuredService().isEmpty())
            url = configuredService();
        else
            url = QStringLiteral(ZELKORA_SERVICE_URL_DEFAULT);
    }
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

void AppPaths::setServiceUrlOverride(const QString& url)
{
    serviceOverride() = url;
}

void AppPaths::setConfiguredServiceUrl(const QString& url)
{
    configuredService() = url;
}

bool AppPaths::ensureDir(const QString& dir)
{
    return AtomicFile::makeFolder(dir);
}

QString AppPaths::providerCacheFile()
{
    return appDir() + QStringLiteral("providers.dat");
}

QString AppPaths::localDefinitionsDir()
{
    return configDir() + QStringLiteral("providers.d/");
}

bool AppPaths::takeServiceUrlOption(const QStringList& arguments, int& i, QString* url)
{
    static const QString option = QStringLiteral("--service-url");
    const QString& argument = arguments.at(i);
    if (argument == option && i + 1 < arguments.size()) {
        *url = arguments.at(++i);
        return true;
    }
    if (argument.startsWith(option + QLatin1Char('='))) {
        *url = argument.mid(option.size() + 1);
        return true;
    }
    return false;
}
