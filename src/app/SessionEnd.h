#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// How the end of the desktop session reaches the program. A session that ends for real quits the application
// (the session manager's "die", or a logout that only sends signals: SIGTERM, SIGHUP, SIGINT); both run the
// program's orderly exit, as its exit command does, so that nothing it keeps is lost. A session save, or a
// logout the user then cancels, only asks the program to keep its data: it goes on running, and the session
// manager is told not to start it again itself (the autostart entry does that).
class SessionEnd : public QObject
{
    Q_OBJECT
public:
    using ExitRequest = std::function<void()>;

    // Takes over SIGTERM, SIGHUP and SIGINT and the application's quit request for as long as it lives.
    explicit SessionEnd(ExitRequest requestExit, QObject* parent = nullptr);
    ~SessionEnd() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void signalArrived();

    ExitRequest m_requestExit;
    QSocketNotifier* m_notifier = nullptr;
};
