#include "THalvernLanguage.h"

#include "common/UserPrompt.h"
#include "language/LanguageModules.h"
#include "language/LanguageCodes.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

THalvernLanguage::THalvernLanguage(QWidget* parent)
    : THalvernLanguage(LanguageModules::programModuleBase(), parent)
{
}

THalvernLanguage::THalvernLanguage(const QString& moduleBase, QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // Typed text selects an item when it names one; it never adds an item.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, &THalvernLanguage::Change);
    ReadLocales();
    setModuleBase(moduleBase);
}

THalvernLanguage::~THalvernLanguage() = default;

QString THalvernLanguage::ModuleBase() const
{
    return QDir(m_folder).filePath(m_name);
}

void THalvernLanguage::setModuleBase(const QString& moduleBase)
{
    const QFileInfo base(moduleBase);
    m_folder = base.absolutePath();
    m_name = base.fileName();
    ReadModules();
}

void THalvernLanguage::ReadLocales()
{
    std::vector<const LanguageCodes::Entry*> sorted;
    for (const LanguageCodes::Entry& entry : LanguageCodes::installed())
        sorted.push_back(&entry);
    // By abbreviation regardless of letter case, then by identifier.
    std::sort(sorted.begin(), sorted.end(), [](const LanguageCodes::Entry* a, const LanguageCodes::Entry* b) {
        const int byName = qstricmp(a->abbreviation, b->abbreviation);
        return byName != 0 ? byName < 0 : a->lcid < b->lcid;
    });
    m_locales.clear();
    for (const LanguageCodes::Entry* entry : sorted)
        m_locales.append(entry->lcid, QString::fromLatin1(entry->abbreviation));
}

void THalvernLanguage::ReadModules()
{
    clear();
    const QString prefix = m_name + QLatin1Char('.');
    // In name order, as the file system the modules were designed for lists them; a name in two letter cases
    // ("zelkora.ENU", "zelkora.enu") is one language.
    const QStringList entries = QDir(m_folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QSet<const THalvernLangInfo*> listed;
    for (const QString& entry : entries) {
        if (!entry.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        // Everything after the base name's dot: "zelkora.old.ENU" has no language code.
        const THalvernLangInfo* info = FindLangInfo(entry.mid(prefix.size()));
        if (!info || listed.contains(info))
            continue;
        listed.insert(info);
        addItem(info->DisplayName(), info->Abbreviation);
    }
    setCurrentIndex(-1);
}

int THalvernLanguage::IndexOfCode(const QString& code) const
{
    for (int i = 0; i < m_locales.count(); ++i) {
        if (m_locales.at(i)->Abbreviation.compare(code, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

THalvernLangInfo* THalvernLanguage::FindLangInfo(const QString& code) const
{
    const int index = IndexOfCode(code);
    return index < 0 ? nullptr : m_locales.at(index);
}

QString THalvernLanguage::DisplayNameOf(const QString& code) const
{
    const THalvernLangInfo* info = FindLangInfo(code);
    return info ? info->DisplayName() : QString();
}

THalvernLangInfo* THalvernLanguage::itemLangInfo(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return FindLangInfo(itemData(index).toString());
}

int THalvernLanguage::itemOfCode(const QString& code) const
{
    const THalvernLangInfo* info = FindLangInfo(code);
    return info ? findData(info->Abbreviation) : -1;
}

void THalvernLanguage::showCode(const QString& code)
{
    const int item = itemOfCode(code);
    setCurrentIndex(item);
    if (item < 0)
        setEditText(DisplayNameOf(code));
}

void THalvernLanguage::Change(int index)
{
    const THalvernLangInfo* info = itemLangInfo(index);
    if (!info || info->Abbreviation.compare(m_selectedCode, Qt::CaseInsensitive) == 0)
        return;
    const QString code = info->Abbreviation;
    if (m_refreshImmidiate && !LanguageModules::LoadLanguageModule(ModuleBase(), code)) {
        const QString file = LanguageModules::moduleFile(ModuleBase(), code);
        const QString shown = file.isEmpty() ? m_name + QLatin1Char('.') + code : QFileInfo(file).fileName();
        showCode(m_selectedCode);
        UserPrompt::current()->information(tr("לא ניתן לטעון את קובץ השפה %1.").arg(shown));
        return;
    }
    m_selectedCode = code;
    emit languageChosen(code);
}
