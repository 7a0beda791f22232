#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps its files. Every folder returned ends with a '/'.
namespace AppPaths {
// The program's data folder (providers.dat, adcache.dat, the phone book files): ZELKORA_APPDIR when set,
// else the program file's folder when it is writable and the program is not installed (a portable copy,
// the build tree), else $XDG_DATA_HOME/zelkora/. An installed program never writes beside itself, even
// where it could, as root can write /usr/bin.
QString appDir();
// The folder of the program file itself.
QString programDir();
// The install's data folder for a program file in `programFolder`: <prefix>/share/zelkora/ for a program in
// <prefix>/bin/ (as the build's install folders place them), whether or not it exists.
QString installDataDirFor(const QString& programFolder);
// True when the install's data folder of the running program exists: the program was installed.
bool isInstalled();
// Where the program's own read-only files (language modules, the help file) are looked up, first to last:
// the program file's folder (the build tree, a portable copy), then the install's data folder.
QStringList resourceDirs();
// The first of resourceDirs() holding `fileName`; the name in the program file's folder when none does.
QString resourceFile(const QString& fileName);
// $XDG_CONFIG_HOME/zelkora/ (SMS.INI, registry.ini).
QString configDir();
// appDir() + "providers.dat": the last complete service document.
QString providerCacheFile();
// configDir() + "providers.d/": the operators the user defined.
QString localDefinitionsDir();
// $XDG_CACHE_HOME/zelkora/.
QString cacheDir();
// The service's base address without a trailing '/': an override set by the program's options,
// else ZELKORA_SERVICE_URL from the environment (set to nothing: no service), else the address the settings
// name (ServiceURL in SMS.INI), else the build's default. Empty when none of them gives one (a build has no
// default unless it is given one): the programs then make no service requests.
QString serviceUrl();
void setServiceUrlOverride(const QString& url);
// The settings' address, which SmsIni hands over when it reads or writes it.
void setConfiguredServiceUrl(const QString& url);
// Both programs' option for it: "--service-url URL" or "--service-url=URL" at arguments[i]. True when it is
// there, with the address in `url` and `i` on the option's last word; false leaves both alone.
bool takeServiceUrlOption(const QStringList& arguments, int& i, QString* url);
// Creates the folder when missing; returns false when it cannot.
bool ensureDir(const QString& dir);
} // namespace AppPaths
