#include "LanguageModules.h"

#include "common/AppPaths.h"
#include "settings/ProgramSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <algorithm>
#include <cstring>

namespace {
// A translation is a few hundred kilobytes; a file far larger is no module and is not read into memory.
constexpr qint64 MaxModuleSize = qint64(32) * 1024 * 1024;

quint32 read32(const uchar* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

// Whether the compiled translation's lookups stay inside its bytes. Qt's reader trusts the offsets and
// lengths a module holds (a damaged module makes the first lookup read far past it), so every record a
// lookup can reach is walked here first: the context table and its names, each message the hash table
// points at and every field of it. A module that names other modules to load with it is none of ours.
bool lookupsStayInside(const QByteArray& bytes)
{
    static const uchar magic[16]
        = { 0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95, 0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd };
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const quint64 size = quint64(bytes.size());
    if (size < sizeof magic || std::memcmp(data, magic, sizeof magic) != 0)
        return false;
    const uchar* contexts = nullptr;
    const uchar* hashes = nullptr;
    const uchar* messages = nullptr;
    quint64 contextsLength = 0;
    quint64 hashesLength = 0;
    quint64 messagesLength = 0;
    // The blocks as Qt's reader walks them: a tag, a length, the block.
    for (quint64 at = sizeof magic; at + 5 < size;) {
        const uchar tag = data[at];
        const quint64 length = read32(data + at + 1);
        at += 5;
        if (tag == 0 || length == 0)
            continue;
        if (size - at < length)
            return false;
        if (tag == 0x2f) {
            contexts = data + at;
            contextsLength = length;
        } else if (tag == 0x42) {
            hashes = data + at;
            hashesLength = length;
        } else if (tag == 0x69) {
            messages = data + at;
            messagesLength = length;
        } else if (tag == 0x96) {
            return false;
        }
        at += length;
    }
    if (contexts) {
        if (contextsLength < 2)
            return false;
        const quint64 tableSize = (quint64(contexts[0]) << 8) | contexts[1];
        const quint64 names = 2 + 2 * tableSize;
        if (tableSize == 0 || names > contextsLength)
            return false;
        for (quint64 slot = 0; slot < tableSize; ++slot) {
            const quint64 offset = (quint64(contexts[2 + 2 * slot]) << 8) | contexts[3 + 2 * slot];
            if (offset == 0)
                continue;
            for (quint64 at = names + 2 * offset;;) {
                if (at >= contextsLength)
                    return false;
                const quint64 length = contexts[at];
                if (length == 0)
                    break;
                at += 1 + length;
            }
        }
    }
    for (quint64 entry = 0; hashes && entry + 8 <= hashesLength; entry += 8) {
        quint64 at = read32(hashes + entry + 4);
        for (bool end = false; !end && at < messagesLength;) {
            const uchar tag = messages[at++];
            switch (tag) {
            case 3: // a translation: its length, its bytes (odd or none: the lookup stops there)
            case 6: // source text, context and comment: their length, their bytes
            case 7:
            case 8: {
                if (at + 4 > messagesLength)
                    return false;
                const quint64 length = read32(messages + at);
                if (tag == 3 && (length & 1))
                    end = true;
                else if (at + 4 + length > messagesLength)
                    return false;
                at += 4 + length;
                break;
            }
            case 5: // obsolete: four bytes
                if (at + 4 > messagesLength)
                    return false;
                at += 4;
                break;
            default: // the end, or a tag the lookup stops at
                end = true;
            }
        }
    }
    return messages || !hashes;
}

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
        if (!lookupsStayInside(m_data))
            return false;
        // QTranslator does not copy the bytes; m_data lives as long as the translator.
        return load(reinterpret_cast<const uchar*>(m_data.constData()), static_cast<int>(m_data.size()));
    }
    const QString& file() const { return m_file; }

private:
    QByteArray m_data;
    QString m_file;
};

// Qt's own texts (dialog buttons, the fields' context menus) in the interface's language, from the
// translations of Qt on the system; none for English, Qt's own.
QPointer<QTranslator>& qtTexts()
{
    static QPointer<QTranslator> texts;
    return texts;
}

void applyQtTexts(const QString& moduleFile)
{
    const QString code = moduleFile.isEmpty() ? QStringLiteral("HEB") : moduleFile.section(QLatin1Char('.'), -1).toUpper();
    const QString language = code == QLatin1String("HEB") ? QStringLiteral("he") : QString();
    QPointer<QTranslator>& current = qtTexts();
    if (current && current->property("language").toString() == language)
        return;
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current.data();
    }
    if (language.isEmpty())
        return;
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return;
    }
    texts->setProperty("language", language);
    QCoreApplication::installTranslator(texts);
    current = texts;
}

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
    applyQtTexts(activeModuleFile());
}

void LanguageModules::loadAtStartUp()
{
    loadAtStartUp(programModuleBase());
}

void LanguageModules::loadAtStartUp(const QString& moduleBase)
{
    const QString code = ProgramSettings::readLanguage();
    if (!code.isEmpty())
        LoadLanguageModule(moduleBase, code);
    applyLayoutDirection();
}
