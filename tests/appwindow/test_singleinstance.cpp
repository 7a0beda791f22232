// One running copy: the real program started twice, and a socket left behind by a crash.

#include "TestEnv.h"

#include "common/AppPaths.h"
#include "session/SingleInstance.h"
#include "settings/AutoStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QString program()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora");
}

// Starts the program and waits until it answers on its socket.
bool startFirstCopy(QProcess& process, const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program(), arguments);
    if (!process.waitForStarted(5000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (process.state() != QProcess::Running)
            return false;
        QLocalSocket probe;
        probe.connectToServer(SingleInstance::serverName());
        if (probe.waitForConnected(100))
            return true;
        QTest::qWait(50);
    }
    return false;
}

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// A socket file that nobody listens on, as a copy that crashed leaves it.
bool leaveStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    qstrncpy(address.sun_path, name.constData(), sizeof(address.sun_path));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFile::exists(path);
}
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
        QFile::remove(SingleInstance::serverName());
    }

    void secondCopyTogglesTheFirstAndEnds_data()
    {
        QTest::addColumn<QStringList>("firstArguments");
        QTest::newRow("first shown") << QStringList();
        QTest::newRow("first quiet") << QStringList { "/quiet" };
    }

    void secondCopyTogglesTheFirstAndEnds()
    {
        QFETCH(QStringList, firstArguments);
        QVERIFY(!SingleInstance::toggleRunningCopy(500));
        QProcess first;
        QVERIFY(startFirstCopy(first, firstArguments));

        for (int copy = 0; copy < 2; ++copy) {
            QProcess second;
            second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            second.start(program(), QStringList());
            QVERIFY(second.waitForFinished(15000));
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);
        }
        QCOMPARE(first.state(), QProcess::Running);
        // The running copy takes a request from anyone of its user and settings.
        QVERIFY(SingleInstance::toggleRunningCopy());
        stop(first);
    }

    // Two copies started in the same instant, one of them without XDG_RUNTIME_DIR (so looking for the other
    // on another socket): exactly one goes on running; the other hands its request over or says a copy runs.
    void twoStartsAtOnceMakeOneCopy()
    {
        QProcessEnvironment noRuntime = QProcessEnvironment::systemEnvironment();
        noRuntime.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        QProcessEnvironment withRuntime = QProcessEnvironment::systemEnvironment();
        const QString runtime = TestEnv::freshDir(QDir::tempPath() + QStringLiteral("/zelkora-test-runtime"));
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        withRuntime.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        for (int round = 0; round < 6; ++round) {
            QProcess copies[2];
            for (int i = 0; i < 2; ++i) {
                copies[i].setProcessEnvironment(round % 2 && i == 1 ? noRuntime : withRuntime);
                copies[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
                copies[i].start(program(), { QStringLiteral("/quiet") });
            }
            QVERIFY(copies[0].waitForStarted(5000) && copies[1].waitForStarted(5000));
            // The one that waits for the other gives up after five seconds at the most.
            QTRY_VERIFY_WITH_TIMEOUT(copies[0].state() != copies[1].state(), 15000);
            QTest::qWait(500);
            QCOMPARE(int(copies[0].state() == QProcess::Running) + int(copies[1].state() == QProcess::Running), 1);
            for (QProcess& copy : copies)
                stop(copy);
        }
    }

    void aLinkTooLongIsRefused()
    {
        QProcess copy;
        copy.start(program(), { QStringLiteral("sms:0521234567?body=") + QString(20000, QLatin1Char('x')) });
        QVERIFY(copy.waitForFinished(15000));
        QCOMPARE(copy.exitCode(), 1);
        QVERIFY(!SingleInstance::toggleRunningCopy(300));
    }

    void staleSocketDoesNotBlockAStart()
    {
        QVERIFY(leaveStaleSocket(SingleInstance::serverName()));
        QVERIFY(!SingleInstance::toggleRunningCopy(500));
        QProcess first;
        QVERIFY(startFirstCopy(first, { QStringLiteral("/quiet") }));
        QVERIFY(SingleInstance::toggleRunningCopy());
        stop(first);
    }

    // The desktop session ends by a signal (a logout that only sends signals, systemd stopping the user's
    // session, Ctrl+C in a terminal): the program runs its orderly exit, which keeps the banner statistics
    // and refreshes the autostart entry, and ends normally.
    void endingSignalRunsTheOrderlyExit_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void endingSignalRunsTheOrderlyExit()
    {
        QFETCH(int, signal);
        // Written as no exit of the program writes it, so that a rewrite shows.
        const QString banners = AppPaths::appDir() + QStringLiteral("adcache.dat");
        TestEnv::writeFile(banners, "A,gif,http://127.0.0.1:9/a.gif,,15000, 3\n");
        // The entry of the program file, not of this test.
        const QString entry = QFileInfo(AutoStart::entryPath()).absolutePath() + QStringLiteral("/zelkora.desktop");
        QFile::remove(entry);
        QProcess first;
        QVERIFY(startFirstCopy(first, { QStringLiteral("/quiet") }));
        ::kill(pid_t(first.processId()), signal);
        QVERIFY(first.waitForFinished(15000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(TestEnv::readFile(banners), QByteArray("A,gif,http://127.0.0.1:9/a.gif,,15000,3\r\n"));
        QVERIFY(TestEnv::readFile(entry).contains(program().toUtf8() + " /quiet"));
    }

    // The socket's folder is one that only this user can enter; one that others can enter or own is passed
    // over, and the user's own folder in the temporary folder, or under the cache folder, is used instead.
    void socketFolderIsPrivate_data()
    {
        QTest::addColumn<QString>("runtime"); // how $XDG_RUNTIME_DIR is set up
        QTest::addColumn<QString>("temporary"); // how <temp>/zelkora-<uid> is set up beforehand
        QTest::addColumn<QString>("chosen"); // "runtime", "temporary" or "cache"
        QTest::newRow("private runtime folder") << "private"
                                                << "missing"
                                                << "runtime";
        QTest::newRow("runtime folder others may enter") << "open"
                                                         << "missing"
                                                         << "temporary";
        QTest::newRow("runtime folder of another user") << "foreign"
                                                        << "missing"
                                                        << "temporary";
        QTest::newRow("runtime folder through a link") << "link"
                                                       << "missing"
                                                       << "temporary";
        QTest::newRow("no runtime folder") << "unset"
                                           << "missing"
                                           << "temporary";
        QTest::newRow("own temporary folder left open") << "unset"
                                                        << "open"
                                                        << "temporary";
        QTest::newRow("temporary name taken by another user") << "unset"
                                                              << "foreign"
                                                              << "cache";
        QTest::newRow("temporary name taken by a file") << "unset"
                                                        << "file"
                                                        << "cache";
    }
    void socketFolderIsPrivate()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, temporary);
        QFETCH(QString, chosen);
        if ((runtime == QLatin1String("foreign") || temporary == QLatin1String("foreign")) && ::getuid() != 0)
            QSKIP("a folder of another user can only be made by root");
        const QString base = TestEnv::freshDir(qEnvironmentVariable("HOME") + QStringLiteral("/socket-folders"));
        const QString tmp = base + QStringLiteral("tmp");
        QDir().mkpath(tmp);
        const QString runtimeDir = base + QStringLiteral("runtime");
        const QString own = tmp + QStringLiteral("/zelkora-%1").arg(::getuid());
        auto makeFolder = [](const QString& path, const QString& kind) {
            const QByteArray native = QFile::encodeName(path);
            if (kind == QLatin1String("file"))
                return QFile(path).open(QIODevice::WriteOnly);
            if (kind == QLatin1String("link")) {
                QDir().mkpath(path + QStringLiteral("-target"));
                ::chmod(QFile::encodeName(path + QStringLiteral("-target")).constData(), 0700);
                return QFile::link(path + QStringLiteral("-target"), path);
            }
            if (!QDir().mkpath(path))
                return false;
            ::chmod(native.constData(), kind == QLatin1String("open") ? 0755 : 0700);
            return kind != QLatin1String("foreign") || ::chown(native.constData(), 4242, 4242) == 0;
        };
        if (runtime != QLatin1String("unset"))
            QVERIFY(makeFolder(runtimeDir, runtime));
        if (temporary != QLatin1String("missing"))
            QVERIFY(makeFolder(own, temporary));

        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray savedTmp = qgetenv("TMPDIR");
        if (runtime == QLatin1String("unset"))
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir));
        qputenv("TMPDIR", QFile::encodeName(tmp));
        const QString folder = SingleInstance::socketFolder();
        const QString name = SingleInstance::serverName();
        qputenv("TMPDIR", savedTmp);
        if (savedRuntime.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", savedRuntime);

        const QString expected = chosen == QLatin1String("runtime") ? runtimeDir
            : chosen == QLatin1String("temporary")                  ? own
                                                                    : AppPaths::cacheDir() + QStringLiteral("run");
        QCOMPARE(folder, expected);
        QVERIFY(SingleInstance::isPrivateFolder(folder));
        QVERIFY(name.startsWith(folder + QLatin1Char('/')));
    }

    // Each request reaches its own handler, and a running copy without a main window lets another start.
    void requestsReachTheirHandler_data()
    {
        QTest::addColumn<bool>("teach");
        QTest::addColumn<bool>("hasMainWindow");
        QTest::newRow("toggle") << false << true;
        QTest::newRow("teach") << true << true;
        QTest::newRow("toggle, no main window") << false << false;
        QTest::newRow("teach, no main window") << true << false;
    }
    void requestsReachTheirHandler()
    {
        QFETCH(bool, teach);
        QFETCH(bool, hasMainWindow);
        SingleInstance running;
        QVERIFY(running.listen());
        QStringList handled;
        running.setToggleHandler([&] {
            handled << QStringLiteral("toggle");
            return hasMainWindow;
        });
        running.setTeachHandler([&] {
            handled << QStringLiteral("teach");
            return hasMainWindow;
        });
        // The request is answered from this event loop, so it is made from a worker.
        bool taken = !hasMainWindow;
        QThread* asker = QThread::create([&] {
            taken = teach ? SingleInstance::teachInRunningCopy(5000) : SingleInstance::toggleRunningCopy(5000);
        });
        asker->start();
        QTRY_VERIFY(asker->isFinished());
        delete asker;
        QCOMPARE(taken, hasMainWindow);
        QCOMPARE(handled, QStringList { teach ? QStringLiteral("teach") : QStringLiteral("toggle") });
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
