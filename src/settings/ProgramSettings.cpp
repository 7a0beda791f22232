#include "ProgramSettings.h"

#include "common/AppPaths.h"
#include "settings/ProfileFile.h"

#include <QDir>

namespace {
const QString LanguageValue = QStringLiteral("Language");
const QString TypeValue = QStringLiteral("Type");
} // namespace

QString ProgramSettings::programKey()
{
    return QStringLiteral("Software\\Halvern Systems\\Corvalent");
}

QString ProgramSettings::currentUserFile()
{
    return AppPaths::configDir() + QStringLiteral("registry.ini");
}

QStringList ProgramSettings::localMachineFiles()
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

QString ProgramSettings::desktopLanguage()
{
    // As gettext reads them: the first of LANGUAGE (a list, its first entry), LC_ALL, LC_MESSAGES and LANG that
    // is set names the language ("he_IL.UTF-8", "en", "en_GB:de").
    QString language;
    for (const char* variable : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" }) {
        language = qEnvironmentVariable(variable).section(QLatin1Char(':'), 0, 0).trimmed();
        if (!language.isEmpty())
            break;
    }
    const QString code = language.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('.'), 0, 0).toLower();
    return code == QLatin1String("en") ? QStringLiteral("ENU") : QStringLiteral("HEB");
}

QString ProgramSettings::readLanguage()
{
    const ProfileFile store(currentUserFile());
    if (!store.isAccessible())
        return QString();
    const QString code = store.ReadString(programKey(), LanguageValue, QString());
    return code.isEmpty() ? desktopLanguage() : code;
}

void ProgramSettings::writeLanguage(const QString& code)
{
    ProfileFile(currentUserFile()).WriteString(programKey(), LanguageValue, code);
}

QString ProgramSettings::readInstallationType()
{
    const QStringList files = localMachineFiles();
    for (const QString& file : files) {
        const ProfileFile store(file);
        if (store.SectionExists(programKey()))
            return store.ReadString(programKey(), TypeValue, QString());
    }
    return QString();
}
