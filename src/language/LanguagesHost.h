#pragma once

#include <QString>

// What the interface-language window needs of the program: the main window it takes down when a language is
// chosen and builds again, in the language then in force, when it closes.
class LanguagesHost
{
public:
    virtual ~LanguagesHost() = default;
    // The main window's LanguageCode.
    virtual QString languageCode() const = 0;
    // Stops the main window's timers, the sending engine, the HTTP transfer and the notification-area icon, then
    // releases the window; it is destroyed once the current event has been handled.
    virtual void releaseMainWindow() = 0;
    // Creates a new main window, which takes its texts from the active module, and asks it to show itself.
    virtual void rebuildMainWindow() = 0;
};
