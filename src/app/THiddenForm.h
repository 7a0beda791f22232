#pragma once

#include "phonebook/PhoneBookTable.h"

#include <QPointer>
#include <QWidget>

#include <functional>

// The program's hidden root window: created first, never shown, alive for the whole run. It owns the two
// recipient tables, and its end is the end of the program: UM_SHUTDOWN (posted by the exit command), its
// close request and the end of the desktop session all finish the program here. It switches off Qt's
// quit-on-last-window-closed, since hiding the main window to the notification area must not end the
// program.
class THiddenForm : public QWidget
{
    Q_OBJECT
public:
    // Loads the interface-language module; installed by the language code before the form is created.
    // It runs at the end of the form's creation, when both tables exist. Its errors are swallowed.
    using LanguageModuleLoader = std::function<void(THiddenForm& form)>;
    static void setLanguageModuleLoader(LanguageModuleLoader loader);

    explicit THiddenForm(QWidget* parent = nullptr);
    ~THiddenForm() override;

    // The local phone book and the Outlook contacts cache, open and empty from the form's creation.
    PhoneBookTable* phoneBook() const { return m_phoneBook; }
    PhoneBookTable* addressBookCache() const { return m_addressBookCache; }

    // The current main window and its exit command (exitClicked). The main window registers itself when it
    // is created; the form forgets it when it is destroyed, so a replaced main window just registers anew.
    void setMainWindow(QWidget* mainWindow, std::function<void()> exitCommand = {});
    QWidget* mainWindow() const { return m_mainWindow; }

    // The program's orderly exit from outside its menu (the end of the desktop session, a signal): the main
    // window's exit command as if the user had chosen it, or, without a main window, UM_SHUTDOWN at once.
    // Asking again while the exit is under way does nothing more.
    void requestExit();

protected:
    bool event(QEvent* event) override;
    // The close request: the orderly exit.
    void closeEvent(QCloseEvent* event) override;

private:
    // UM_SHUTDOWN: ends the program. The main window is destroyed once the event loop has ended, so that no
    // handler of its (a modal box's or a menu's that its own code waits in) returns into a freed window;
    // what its destruction posts runs before the end.
    void shutdown();

    PhoneBookTable* m_phoneBook = nullptr;
    PhoneBookTable* m_addressBookCache = nullptr;
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_exitCommand;
    bool m_exiting = false;
};
