#pragma once

#include "language/LanguageModules.h"

#include <QDialog>

class LanguagesHost;
class QLabel;
class QPushButton;
class THalvernLanguage;

// The interface-language window. The main window stays until a language is picked; then it goes, and each
// language picked is loaded at once. Close stores the language in the settings' value "Language"; every close
// (the title-bar button and Escape included) builds a main window taken down again and deletes this window. It is shown without an owner and not
// modally, and it is always left to right, whatever the language in force.
class TLanguagesForm : public QDialog
{
    Q_OBJECT
public:
    // Shows the language in force as chosen. The host must outlive the window.
    explicit TLanguagesForm(LanguagesHost& host, const QString& moduleBase = LanguageModules::programModuleBase(),
        QWidget* parent = nullptr);
    ~TLanguagesForm() override;

    QLabel* promptLabel;
    THalvernLanguage* languageList;
    QPushButton* closeButton;

    // The language in force, chosen in the list.
    void showLanguageInForce();
    // Close: stores SelectedCode, then closes the window, also when the store refused the value.
    void closeClicked();
    // Builds the main window again; runs once, on the window's first close.
    void closeOnce();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls(const QString& moduleBase);

    LanguagesHost& m_host;
    bool m_closed = false;
    bool m_released = false; // the main window was taken down for a language chosen here
    bool m_centred = false;
};
