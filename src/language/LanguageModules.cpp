#include "LanguageModules.h"

#include "common/AppPaths.h"
#include "settings/RegistryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QTranslator>

#include <algorithm>

namespace {
// A translation is a few hundred kilobytes; a file far larger is no module and is not read into memory.
constexpr qint64 MaxModuleSize = qint64(32) * 1024 * 1024;

// A translator over the bytes of its file. Loading from memory takes exactly the file asked for, where
// QTranslator::load(fileName) would also try "<name>.qm" and names cut at each "." and "_".
class LanguageModule : public QTranslator
{
public:
    bool open(const QString& file)
    {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly) || in.size() > MaxModuleSize)
            return false;
        m_data = in.readAll();
        if (m_data.isEmpty())
            return false;
        m_file = file;
        // QTranslator does not copy the bytes; m_data lives as long as the translator.
        return load(reinterpret_cast<const uchar*>(m_data.constData()), static_cast<int>(m_data.size()));
    }
    const QString& file() const { return m_file; }

private:
    QByteArray m_data;
    QString m_file;
};

QPointer<QTranslator>& active()
{
    static QPointer<QTranslator> module;
    return module;
}

// True when the folder has an entry named `name` + "." + something, regardless of letter case.
bool holdsModules(const QString& folder, const QString& name)
{
    const QString prefix = name + QLatin1Char('.');
    const QStringList entries
        = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.cbegin(), entries.cend(), [&prefix](const QString& entry) {
        return entry.size() > prefix.size() && entry.startsWith(prefix, Qt::CaseInsensitive);
    });
}
} // namespace

QString LanguageModules::moduleBaseFor(const QString& programFile)
{
    const QFileInfo program(programFile);
    const QString name = program.fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    return QDir(program.absolutePath()).filePath(dot < 0 ? name : name.left(dot));
}

QString LanguageModules::programModuleBase()
{
    const QString program = QCoreApplication::instance()
        ? QCoreApplication::applicationFilePath()
        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    QString base = moduleBaseFor(program);
    // The first folder that holds any module of the program's name: beside the program (the build tree, a
    // portable copy), else the install's data folder (an install under /usr keeps none in /usr/bin).
    const QString name = QFileInfo(base).fileName();
    const QStringList folders = AppPaths::resourceDirs();
    for (const QString& folder : folders) {
        if (holdsModules(folder, name))
            return folder + name;
    }
    return base;
}

QString LanguageModules::moduleFile(const QString& base, const QString& code)
{
    if (code.isEmpty() || code.contains(QLatin1Char('/')) || code.contains(QChar::Null))
        return QString();
    QString exact = base + QLatin1Char('.') + code;
    if (QFileInfo::exists(exact))
        return exact;
    const QFileInfo baseInfo(base);
    const QString wanted = baseInfo.fileName() + QLatin1Char('.') + code;
    const QDir folder = baseInfo.dir();
    const QStringList entries = folder.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return QString();
}

QTranslator* LanguageModules::LoadLanguageModule(const QString& base, const QString& code)
{
    const QString file = moduleFile(base, code);
    if (file.isEmpty())
        return nullptr;
    auto* module = new LanguageModule;
    if (!module->open(file)) {
        delete module;
        return nullptr;
    }
    SetResourceModule(module);
    return module;
}

void LanguageModules::SetResourceModule(QTranslator* module)
{
    QPointer<QTranslator>& current = active();
    if (module != current) {
        QTranslator* previous = current;
        if (module) {
            module->setParent(QCoreApplication::instance());
            QCoreApplication::installTranslator(module);
        }
        current = module;
        if (previous) {
            QCoreApplication::removeTranslator(previous);
            delete previous;
        }
    }
    applyLayoutDirection();
}

QTranslator* LanguageModules::activeModule()
{
    return active();
}

QString LanguageModules::activeModuleFile()
{
    const auto* module = dynamic_cast<const LanguageModule*>(active().data());
    return module ? module->file() : QString();
}

void LanguageModules::applyLayoutDirection()
{
    const QString direction
        = active() ? active()->translate("QGuiApplication", "QT_LAYOUT_DIRECTION").trimmed() : QString();
    QGuiApplication::setLayoutDirection(direction == QLatin1String("LTR") ? Qt::LeftToRight : Qt::RightToLeft);
}

void LanguageModules::loadAtStartUp()
{
    loadAtStartUp(programModuleBase());
}

void LanguageModules::loadAtStartUp(const QString& moduleBase)
{
    const QString code = RegistryStore::readLanguage();
    if (!code.isEmpty())
        LoadLanguageModule(moduleBase, code);
    applyLayoutDirection();
}
