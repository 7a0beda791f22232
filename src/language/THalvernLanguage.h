#pragma once

#include "language/THalvernLangInfoList.h"

#include <QComboBox>
#include <QString>

// The list of interface languages: one item per language module next to the program whose code is the
// abbreviation of a known locale, showing the locale's name. It is a drop-down that also takes typing; a pick
// from it (mouse, arrow keys, or Enter on a typed name) is the user's choice and runs Change, a programmatic
// selection does not.
class THalvernLanguage : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(bool RefreshImmidiate READ RefreshImmidiate WRITE setRefreshImmidiate)
public:
    // The modules of the running program.
    explicit THalvernLanguage(QWidget* parent = nullptr);
    // The modules of `moduleBase` (see LanguageModules::moduleBaseFor).
    explicit THalvernLanguage(const QString& moduleBase, QWidget* parent = nullptr);
    ~THalvernLanguage() override;

    // Folder plus the program's file name up to its first ".".
    QString ModuleBase() const;
    // Replaces the base and lists the modules found there.
    void setModuleBase(const QString& moduleBase);

    // The code of the language chosen in the list.
    const QString& SelectedCode() const { return m_selectedCode; }
    void setSelectedCode(const QString& code) { m_selectedCode = code; }
    // When true, choosing a language loads its module at once.
    bool RefreshImmidiate() const { return m_refreshImmidiate; }
    void setRefreshImmidiate(bool on) { m_refreshImmidiate = on; }

    // Every known locale, sorted by abbreviation.
    const THalvernLangInfoList& Locales() const { return m_locales; }
    void ReadLocales();
    // Fills the items from the module files; no item is selected afterwards.
    void ReadModules();

    // The index in Locales() of the first entry whose abbreviation is `code` regardless of letter case; -1 if
    // none is.
    int IndexOfCode(const QString& code) const;
    THalvernLangInfo* FindLangInfo(const QString& code) const;
    // The display name of the code's locale; empty when there is none.
    QString DisplayNameOf(const QString& code) const;

    // The entry carried by item `index`; null for an index out of range.
    THalvernLangInfo* itemLangInfo(int index) const;
    // The item of the code's language; -1 when the list has none.
    int itemOfCode(const QString& code) const;
    // Shows the code's language: selects its item, or, without one, shows its display name as the text.
    void showCode(const QString& code);

signals:
    // A language other than the one in force was chosen (and, with RefreshImmidiate, its module loaded).
    void languageChosen(const QString& code);

protected:
    // The user picked item `index`. A language other than SelectedCode becomes SelectedCode and, with
    // RefreshImmidiate, its module is loaded. A module that cannot be loaded is reported and changes nothing:
    // the language in force and SelectedCode stay, and the list shows that language again.
    virtual void Change(int index);

private:
    QString m_folder;
    QString m_name;
    QString m_selectedCode;
    bool m_refreshImmidiate = false;
    THalvernLangInfoList m_locales;
};
