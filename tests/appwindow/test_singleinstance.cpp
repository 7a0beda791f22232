// One running copy: the real program started twice, and a socket left behind by a crash.

#include "TestEnv.h"

#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <sys/socket.h>
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

    void staleSocketDoesNotBlockAStart()
    {
        QVERIFY(leaveStaleSocket(SingleInstance::serverName()));
        QVERIFY(!SingleInstance::toggleRunningCopy(500));
        QProcess first;
        QVERIFY(startFirstCopy(first, { QStringLiteral("/quiet") }));
        QVERIFY(SingleInstance::toggleRunningCopy());
        stop(first);
    }

    void aRunningCopyWithoutMainWindowLetsAnotherStart()
    {
        SingleInstance running;
        QVERIFY(running.listen());
        running.setToggleHandler([] { return false; });
        // The request is answered from this event loop, so it is made from a worker.
        bool taken = true;
        QThread* asker = QThread::create([&] { taken = SingleInstance::toggleRunningCopy(5000); });
        asker->start();
        QTRY_VERIFY(asker->isFinished());
        delete asker;
        QVERIFY(!taken);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
