// zelkora-sandbox: runs the sandbox network on 127.0.0.1 until SIGINT or SIGTERM.

#include "SandboxServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler may only write to this pipe; the event loop reads it and quits.
int signalPipe[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

bool installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

void printSubmission(const SandboxSubmission& s)
{
    QStringList fields;
    for (auto it = s.fields.cbegin(); it != s.fields.cend(); ++it) {
        const bool secret = it.key() == QLatin1String("pass");
        fields << it.key() + QLatin1Char('=') + (secret ? QStringLiteral("***") : it.value());
    }
    const QString line
        = QStringLiteral("%1 %2 %3 %4: %5\n").arg(s.site, s.method, s.path, s.outcome, fields.join(QLatin1Char(' ')));
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkora-sandbox"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The Zelkora sandbox network: the service and its operator sites on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
        QStringLiteral("Port to listen on (0 takes a free one)."), QStringLiteral("N"),
        QString::number(SandboxServer::DefaultPort));
    parser.addOption(portOption);
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        std::fprintf(stderr, "zelkora-sandbox: invalid port: %s\n", parser.value(portOption).toLocal8Bit().constData());
        return 2;
    }

    if (!installSignalHandlers()) {
        std::perror("zelkora-sandbox: signal handlers");
        return 1;
    }
    QSocketNotifier notifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });

    SandboxServer server;
    QObject::connect(&server, &SandboxServer::submissionReceived, &printSubmission);
    if (!server.listen(static_cast<quint16>(port))) {
        std::fprintf(stderr, "zelkora-sandbox: cannot listen on 127.0.0.1:%u: %s\n", port,
            server.errorString().toLocal8Bit().constData());
        return 1;
    }
    std::printf("sandbox listening on %s\n", server.baseUrl().toLatin1().constData());
    std::fflush(stdout);

    const int status = QCoreApplication::exec();
    server.close();
    return status;
}
