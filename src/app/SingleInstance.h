#pragma once

#include <QObject>

#include <functional>

class QLocalServer;
class QLocalSocket;

// One running copy of the desktop program per user and settings folder. The running copy answers on a
// local socket; a copy started later asks it to show or hide its main window and ends without making any
// window of its own.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // The running copy's answer to a toggle request: true when it handed the request to its main window.
    using ToggleHandler = std::function<bool()>;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket's path: in $XDG_RUNTIME_DIR (else the temporary folder), named after the user id and a
    // digest of the settings folder, so that separate settings (tests, the demo) make separate copies.
    static QString serverName();

    // Asks a running copy to toggle its main window. True when a running copy took the request; false
    // when there is none (or only a socket left behind by one that crashed), or when it has no main window
    // at the moment (it is replacing it), so that this copy starts after all.
    static bool toggleRunningCopy(int timeoutMs = 3000);

    // Starts answering later copies. A socket left behind by a copy that ended without removing it is
    // replaced; false when another copy answers on it or the socket cannot be made.
    bool listen();
    bool isListening() const;

    void setToggleHandler(ToggleHandler handler) { m_handler = std::move(handler); }

private:
    void answer(QLocalSocket* socket);

    QLocalServer* m_server;
    ToggleHandler m_handler;
};
