#include "RegistryStore.h"

#include "common/AppPaths.h"
#include "settings/ProfileFile.h"

#include <QDir>

namespace {
const QString LanguageValue = QStringLiteral("Language");
const QString TypeValue = QStringLiteral("Type");
} // namespace

QString RegistryStore::programKey()
{
    return QStringLiteral("Software\\Halvern Systems\\Corvalent");
}

QString RegistryStore::currentUserFile()
{
    return AppPaths::configDir() + QStringLiteral("registry.ini");
}

QStringList RegistryStore::localMachineFiles()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    QStringList files;
    const QStringList parts = dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& dir : parts) {
        // Relative entries are invalid in the variable and would depend on the working folder.
        if (QDir::isAbsolutePath(dir))
            files.append(QDir::cleanPath(dir) + QStringLiteral("/zelkora/registry.ini"));
    }
    return files;
}

QString RegistryStore::readLanguage()
{
    const ProfileFile store(currentUserFile());
    if (!store.isAccessible())
        return QString();
    const QString code = store.ReadString(programKey(), LanguageValue, QString());
    return code.isEmpty() ? QStringLiteral("ENU") : code;
}

void RegistryStore::writeLanguage(const QString& code)
{
    ProfileFile(currentUserFile()).WriteString(programKey(), LanguageValue, code);
}

QString RegistryStore::readInstallationType()
{
    const QStringList files = localMachineFiles();
    for (const QString& file : files) {
        const ProfileFile store(file);
        if (store.SectionExists(programKey()))
            return store.ReadString(programKey(), TypeValue, QString());
    }
    return QString();
}
