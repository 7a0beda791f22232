#pragma once

#include <QString>

// Where the program keeps its files. Every folder returned ends with a '/'.
namespace AppPaths
{
    // The program's data folder (providers.dat, adcache.dat, the phone book files): ZELKORA_APPDIR when set,
    // else the program file's folder when it is writable (a portable install), else $XDG_DATA_HOME/zelkora/.
    QString appDir();
    // The folder of the program file itself; language modules and the help file are looked up there.
    QString programDir();
    // $XDG_CONFIG_HOME/zelkora/ (SMS.INI, registry.ini).
    QString configDir();
    // $XDG_CACHE_HOME/zelkora/.
    QString cacheDir();
    // The service's base address without a trailing '/': an override set by the program's options,
    // else ZELKORA_SERVICE_URL from the environment, else the build's default.
    QString serviceUrl();
    void setServiceUrlOverride(const QString& url);
    // Creates the folder when missing; returns false when it cannot.
    bool ensureDir(const QString& dir);
} // namespace AppPaths
