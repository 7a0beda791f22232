#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The signal handler may only write a byte; the event loop reads it and does the rest.
int signalPipe[2] = { -1, -1 };
constexpr int HandledSignals[] = { SIGTERM, SIGHUP, SIGINT };

extern "C" void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}
} // namespace

SessionEnd::SessionEnd(ExitRequest requestExit, QObject* parent)
    : QObject(parent)
    , m_requestExit(std::move(requestExit))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
        m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::signalArrived);
        struct sigaction action
        {
        };
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : HandledSignals)
            ::sigaction(signal, &action, nullptr);
    }
    qApp->installEventFilter(this);
#ifndef QT_NO_SESSIONMANAGER
    auto keepRunning = [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); };
    connect(qApp, &QGuiApplication::commitDataRequest, this, keepRunning);
    connect(qApp, &QGuiApplication::saveStateRequest, this, keepRunning);
#endif
}

SessionEnd::~SessionEnd()
{
    if (qApp)
        qApp->removeEventFilter(this);
    if (m_notifier) {
        for (const int signal : HandledSignals)
            ::signal(signal, SIG_DFL);
        delete m_notifier;
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event)
{
    // The application's quit request (the session manager's end of the session): the program's own orderly
    // exit instead of Qt's, which would try to close the main window, whose close only hides it.
    if (watched == qApp && event->type() == QEvent::Quit) {
        m_requestExit();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void SessionEnd::signalArrived()
{
    char bytes[16];
    while (::recv(signalPipe[0], bytes, sizeof bytes, MSG_DONTWAIT) > 0) { }
    m_requestExit();
}
