#include "AutoStart.h"
#include "common/AtomicFile.h"

#include "common/AppPaths.h"
#include "settings/SmsIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
QString program(const QString& programFile)
{
    if (!programFile.isEmpty())
        return programFile;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

// The autostart folder sits beside the program's own settings folder in $XDG_CONFIG_HOME.
QString autostartDir()
{
    QString config = AppPaths::configDir();
    config.chop(1);
    return QFileInfo(config).path() + QStringLiteral("/autostart/");
}

// One argument of an Exec value. An argument with characters the launcher would split or interpret goes
// in double quotes, inside which '"', '`', '$' and '\' are escaped; '%' is doubled everywhere because
// it starts a field code.
QString quoteArgument(const QString& arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = arg.isEmpty();
    for (const QChar c : arg) {
        if (reserved.contains(c))
            needsQuotes = true;
    }
    QString out;
    for (const QChar c : arg) {
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%%");
        else if (needsQuotes
            && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\')))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return needsQuotes ? QLatin1Char('"') + out + QLatin1Char('"') : out;
}

// The string escapes of a desktop file value, applied to the whole Exec value after the quoting.
QString escapeValue(const QString& value)
{
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}
} // namespace

QString AutoStart::entryPath(const QString& programFile)
{
    return autostartDir() + QFileInfo(program(programFile)).fileName() + QStringLiteral(".desktop");
}

QString AutoStart::execLine(const QString& programFile)
{
    return quoteArgument(program(programFile)) + QStringLiteral(" /quiet");
}

bool AutoStart::entryExists(const QString& programFile)
{
    return QFileInfo::exists(entryPath(programFile));
}

bool AutoStart::writeEntry(const QString& programFile)
{
    const QString path = entryPath(programFile);
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Zelkora\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(escapeValue(execLine(programFile)));
    const QByteArray bytes = text.toUtf8();
    return AtomicFile::write(path, bytes);
}

bool AutoStart::removeEntry(const QString& programFile)
{
    const QString path = entryPath(programFile);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    return QFile::remove(path);
}

bool AutoStart::maintain(const QString& programFile)
{
    if (SmsIni().autoStart())
        return writeEntry(programFile);
    return removeEntry(programFile);
}
