#pragma once

#include <QObject>

class TMsgForm;
class WelcomeBox;

// A new user's first steps on the main window, when the program asked for them (Welcome::windowsGuided):
// while no provider is known the status line says so, and the first start offers the welcome box with three
// ways on (teaching an operator, a service address, the demo operators). Once providers arrive the box closes
// and the line is cleared. It uses the window's public face only and goes with the window.
class FirstStepsGuide : public QObject
{
    Q_OBJECT
public:
    explicit FirstStepsGuide(TMsgForm& window);

    // Starts guiding; nothing when the program did not ask for it.
    void start();
    // The welcome box while it is open.
    WelcomeBox* welcomeBox() const;
    // The status line's words while the demo operators are in use.
    static QString demoText();

private:
    void windowShown();
    void checkProviders();
    void offerWelcome();

    TMsgForm& m_window;
    // The window's status count right after the line said that no provider is known; 0: it did not say so.
    quint64 m_noProvidersStatus = 0;
};
