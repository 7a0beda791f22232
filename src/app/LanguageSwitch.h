#pragma once

#include "TMsgForm.h"
#include "language/LanguagesHost.h"

#include <QObject>
#include <QPointer>

#include <memory>

class TLanguagesForm;
class THiddenForm;

// The program's side of the interface-language window: it takes the main window down when the window opens
// and builds a new one, in the language then in force, when it closes. It lives with the hidden root window,
// so that it outlives the main window it replaces.
class LanguageSwitch : public QObject, public LanguagesHost
{
    Q_OBJECT
public:
    explicit LanguageSwitch(THiddenForm& root);

    // The main window's Languages command. The switch runs once every handler that may hold the main
    // window on the stack (a menu's, a modal box's, a list send's) has returned; a list send under way is
    // asked to stop first. One language window at a time.
    static void open(TMsgForm& mainWindow);

    QString languageCode() const override;
    void releaseMainWindow() override;
    void rebuildMainWindow() override;

    // The language window while it is open.
    static TLanguagesForm* window();
    // Where the language modules are looked for: beside the program file, unless a test says otherwise.
    static void setModuleBase(const QString& base);

private:
    THiddenForm& m_root;
    QPointer<TMsgForm> m_released;
    // The released window's session, for the window built in its place; m_session holds it when the window
    // owned it.
    MainSession* m_sessionInUse = nullptr;
    std::unique_ptr<MainSession> m_session;
    QString m_languageCode;
};
