#pragma once

#include <QObject>

#include <functional>

class QLocalServer;
class QLocalSocket;

// One running copy of the desktop program per user's data. The running copy holds a lock on a file in the
// data folder for its whole life, whatever the environment says, and answers on a local socket; a copy
// started later asks it to show or hide its main window and ends without making any window of its own.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // The running copy's answer to a toggle request: true when it handed the request to its main window.
    using ToggleHandler = std::function<bool()>;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket's path: in socketFolder(), named after the user id and a digest of the settings folder, so
    // that separate settings (tests, the demo) make separate copies. Empty when there is no such folder.
    static QString serverName();
    // A folder that only this user can enter: $XDG_RUNTIME_DIR when it is one; else the user's own folder
    // in the temporary folder, made when missing; else one under the user's cache folder. Another user
    // could otherwise listen at a predictable path in /tmp and keep this user's program from starting, or
    // take its requests. Empty when none can be had.
    static QString socketFolder();
    // A real folder (not a link) owned by this user that nobody else may enter or write in.
    static bool isPrivateFolder(const QString& path);

    // Whether a copy of the desktop program runs for this user and settings folder (zelkora-cli asks, to say
    // who will send what it queues).
    static bool runningCopy();
    // Asks a running copy to toggle its main window. True when a running copy took the request; false
    // when there is none (or only a socket left behind by one that crashed), or when it has no main window
    // at the moment (it is replacing it), so that this copy starts after all.
    static bool toggleRunningCopy(int timeoutMs = 3000);
    // Asks a running copy to open its teach window; true when it took the request, as above.
    static bool teachInRunningCopy(int timeoutMs = 3000);
    // Hands an sms: or smsto: link to a running copy, which fills its window with it; true when it took it.
    static bool openLinkInRunningCopy(const QString& link, int timeoutMs = 3000);
    // Whether the link fits in one request to a running copy.
    static bool linkFits(const QString& link);

    // The lock file in the data folder.
    static QString lockPath();
    // Takes the lock on the user's data, held until this object ends; false when another copy holds it (or
    // the file cannot be opened, which is said on the diagnostic output and lets this copy run).
    bool lockData();
    bool holdsData() const { return m_lock >= 0; }

    // Starts answering later copies. A socket left behind by a copy that ended without removing it is
    // replaced, by the holder of the data's lock only; false when another copy answers on it or the socket
    // cannot be made.
    bool listen();
    bool isListening() const;

    void setToggleHandler(ToggleHandler handler) { m_handler = std::move(handler); }
    void setTeachHandler(ToggleHandler handler) { m_teachHandler = std::move(handler); }
    using LinkHandler = std::function<bool(const QString& link)>;
    void setLinkHandler(LinkHandler handler) { m_linkHandler = std::move(handler); }

private:
    void answer(QLocalSocket* socket);
    static bool ask(const QByteArray& request, int timeoutMs);

    QLocalServer* m_server;
    int m_lock = -1;
    ToggleHandler m_handler;
    ToggleHandler m_teachHandler;
    LinkHandler m_linkHandler;
};
