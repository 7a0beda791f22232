// The service connection against a service that misbehaves: the real connection and HTTP component (libcurl)
// against loopback servers that answer 500, garbage, cut documents, endless replies, a reset connection and a
// line of 10 MB. After each: the window never froze, the lamp shows what the cache allows, and providers.dat
// still holds the last complete document.
#include "GuiResponsiveness.h"
#include "LoopbackHttpServer.h"
#include "SandboxService.h"
#include "ServiceConnectionWindow.h"
#include "TestEnv.h"

#include "common/AppPaths.h"
#include "service/ServiceDocument.h"
#include "service/ServiceState.h"

#include <QHostAddress>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <sys/socket.h>

namespace {
using Request = LoopbackHttpServer::Request;
using Reply = LoopbackHttpServer::Reply;
constexpr int Patience = 20000;

// What the main window holds, its timers stopped when it goes.
struct Window : ServiceConnectionTest::Window
{
    ~Window() { connection.stop(); }

    // Runs the event loop as the program does (QTest::qWaitFor would sleep between turns, and the HTTP
    // component's worker waits for the GUI thread at every chunk of a body).
    bool initialise()
    {
        const int before = int(initDone.count());
        QEventLoop loop;
        QObject::connect(&connection, &ServiceConnection::initDone, &loop, &QEventLoop::quit);
        QTimer::singleShot(Patience, &loop, &QEventLoop::quit);
        connection.InitTimerTimer();
        if (initDone.count() == before)
            loop.exec();
        return initDone.count() > before;
    }
};

QString cachePath()
{
    return AppPaths::appDir() + QStringLiteral("providers.dat");
}

// The service document a healthy service gives; a second one serves as the older cache.
QByteArray liveDocument()
{
    return SandboxService::initDocument(QStringLiteral("http://127.0.0.1:1"));
}
QByteArray oldCache()
{
    return SandboxService::initDocument(QStringLiteral("http://127.0.0.1:2"));
}
// Made at first use: the sandbox's own tables are statics of another file, not yet made while this file's are.
const QStringList& sandboxProviders()
{
    static const QStringList names = SandboxService::providerNames();
    return names;
}

// A raw loopback server for what an HTTP server would never do on purpose: reset the connection in the
// middle of a reply, or stream a body that never ends. It runs on a thread of its own.
class RawFaultServer
{
public:
    enum class Mode
    {
        Reset,
        Endless,
    };

    explicit RawFaultServer(Mode mode)
        : m_mode(mode)
    {
        m_thread.start();
        m_server = new QTcpServer;
        m_server->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_server,
            [this] {
                QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] { accept(); });
                m_server->listen(QHostAddress::LocalHost, 0);
                m_port = m_server->serverPort();
            },
            Qt::BlockingQueuedConnection);
    }
    ~RawFaultServer()
    {
        QMetaObject::invokeMethod(
            m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            auto* input = new QByteArray;
            QObject::connect(socket, &QObject::destroyed, [input] { delete input; });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, input] {
                *input += socket->readAll();
                if (!input->contains("\r\n\r\n") || input->isEmpty())
                    return;
                input->clear();
                answer(socket);
            });
        }
    }

    void answer(QTcpSocket* socket)
    {
        if (m_mode == Mode::Reset) {
            // Half a reply, then a reset: with a zero linger time the close sends RST, not FIN.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<#PROVIDERS>\r\n<#PROVIDER Name=Half");
            socket->flush();
            socket->waitForBytesWritten(1000);
            const linger hard { 1, 0 };
            ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            socket->abort();
            return;
        }
        // A body without a length that goes on for as long as the client reads it.
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
        QByteArray piece;
        while (piece.size() < 64 * 1024)
            piece += "<#PROVIDER Name=Again AreaCodes=050>\r\n";
        const auto feed = [socket, piece] {
            while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024)
                socket->write(piece);
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, feed);
        feed();
    }

    Mode m_mode;
    QThread m_thread;
    QTcpServer* m_server = nullptr;
    quint16 m_port = 0;
};

Reply reply(int status, const QByteArray& body)
{
    Reply r;
    r.status = status;
    r.reason = status == 200 ? "OK" : "Internal Server Error";
    r.body = body;
    return r;
}

QByteArray garbage()
{
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(1234);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

// A line far beyond the 4094 characters the processor takes, before or after FINISHED.
QByteArray withLongLine(bool afterFinished)
{
    const QByteArray line = "<#MESSAGE Text=" + QByteArray(10 * 1024 * 1024, 'x') + ">\r\n";
    QByteArray document = liveDocument();
    if (afterFinished)
        return document + line;
    return line + document;
}
} // namespace

class TestServiceFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnv::noProxy(); }

    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
    }

    void cleanup() { AppPaths::setServiceUrlOverride(QString()); }

    // Every fault of the service ends the attempt as a failed one: the window keeps ticking, the lamp shows
    // the cache's definitions (or none), and providers.dat is never replaced.
    void faultyServiceLeavesTheCache_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("cached");

        for (const char* fault : { "500", "garbage", "truncated", "cut document", "endless", "reset",
                 "10 MB line before FINISHED", "10 MB line after FINISHED" }) {
            QTest::addRow("%s, cache", fault) << QString::fromLatin1(fault) << true;
            QTest::addRow("%s, no cache", fault) << QString::fromLatin1(fault) << false;
        }
    }
    void faultyServiceLeavesTheCache()
    {
        QFETCH(QString, fault);
        QFETCH(bool, cached);

        const QByteArray live = liveDocument();
        LoopbackHttpServer server([&](const Request&) {
            if (fault == QLatin1String("500"))
                return reply(500, "<#PROVIDERS>\r\n<#FINISHED>\r\n");
            if (fault == QLatin1String("garbage"))
                return reply(200, garbage());
            if (fault == QLatin1String("truncated")) {
                // The connection closes before the promised length arrived.
                Reply cut = reply(200, live.left(live.size() / 2));
                cut.declaredLength = live.size();
                cut.closeAfterBody = true;
                return cut;
            }
            if (fault == QLatin1String("cut document"))
                return reply(200, live.left(live.indexOf("<#FINISHED")));
            return reply(200, withLongLine(fault.endsWith(QLatin1String("after FINISHED"))));
        });
        std::unique_ptr<RawFaultServer> raw;
        if (fault == QLatin1String("reset") || fault == QLatin1String("endless")) {
            raw = std::make_unique<RawFaultServer>(
                fault == QLatin1String("reset") ? RawFaultServer::Mode::Reset : RawFaultServer::Mode::Endless);
            AppPaths::setServiceUrlOverride(raw->baseUrl());
        } else {
            QVERIFY(server.start());
            AppPaths::setServiceUrlOverride(server.url(QString()));
        }
        if (cached)
            TestEnv::writeFile(cachePath(), oldCache());

        Window w;
        w.connection.startUp();
        GuiResponsiveness gui;
        QVERIFY(w.initialise());
        QVERIFY2(gui.largestGapMs() < GuiResponsiveness::MaxGapMs,
            qPrintable(QStringLiteral("the window stood still for %1 ms").arg(gui.largestGapMs())));

        QCOMPARE(int(w.state.connection), cached ? 1 : 0);
        QVERIFY(!w.connection.initialised());
        QCOMPARE(w.state.CacheLoaded, cached);
        QVERIFY(w.connection.isHttpIdle());
        QVERIFY(w.connection.initTimer().isActive());
        QCOMPARE(TestEnv::readFile(cachePath()), cached ? oldCache() : QByteArray());
        if (cached)
            QCOMPARE(w.providerNames(), sandboxProviders());
    }

    // After a fault the next healthy reply is taken whole: nothing of the fault lingers in the connection.
    void healthyReplyAfterAFaultIsTaken()
    {
        std::atomic<int> calls { 0 };
        const QByteArray live = liveDocument();
        LoopbackHttpServer server([&](const Request&) {
            if (calls++ == 0) {
                Reply stalled = reply(200, live);
                stalled.declaredLength = live.size();
                stalled.stallAfter = 100;
                return stalled;
            }
            return reply(200, live);
        });
        QVERIFY(server.start());
        AppPaths::setServiceUrlOverride(server.url(QString()));
        TestEnv::writeFile(cachePath(), oldCache());

        Window w;
        w.connection.startUp();
        // A reply that stops half-way and stays silent: the receive time-out ends it, the window ticks on.
        w.connection.HTTP.setReceiveTimeout(1500);
        GuiResponsiveness gui;
        QVERIFY(w.initialise());
        QVERIFY(gui.largestGapMs() < GuiResponsiveness::MaxGapMs);
        QCOMPARE(w.state.connection, ConnectionState::Stored);
        QCOMPARE(TestEnv::readFile(cachePath()), oldCache());

        QVERIFY(w.initialise());
        QCOMPARE(w.state.connection, ConnectionState::Service);
        QVERIFY(w.connection.initialised());
        QCOMPARE(TestEnv::readFile(cachePath()), ServiceDocument::fromText(live).text());
    }

    // The document cut at every byte position, through the reply handling the component's completion calls:
    // only a cut that still holds FINISHED counts as complete and becomes providers.dat; any other leaves the
    // last complete document in the file and its definitions in force.
    void documentCutAtEveryByte_data()
    {
        QTest::addColumn<bool>("cached");
        QTest::newRow("cache") << true;
        QTest::newRow("no cache") << false;
    }
    void documentCutAtEveryByte()
    {
        QFETCH(bool, cached);
        const QByteArray live = liveDocument();
        if (cached)
            TestEnv::writeFile(cachePath(), oldCache());

        Window w;
        w.connection.startUp();
        // Each broken cut is reported; thousands of the same line say nothing.
        QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
        const auto restoreWarnings = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        QByteArray lastComplete = cached ? oldCache() : QByteArray();
        for (qsizetype n = 0; n <= live.size(); ++n) {
            const QByteArray cut = live.left(n);
            // The tag's ">" is optional at the end of a document: "<#FINISHED" alone is FINISHED.
            const bool complete = cut.contains("<#FINISHED");
            w.connection.HTTP.Tag = 0;
            w.connection.HTTPSuccess(ServiceConnection::rkInit, cut);
            w.connection.finishInit();
            if (complete)
                lastComplete = ServiceDocument::fromText(cut).text();

            const QByteArray where = "cut at byte " + QByteArray::number(n);
            QVERIFY2(TestEnv::readFile(cachePath()) == lastComplete, where.constData());
            const int state = complete ? 2 : lastComplete.isEmpty() ? 0 : 1;
            QVERIFY2(int(w.state.connection) == state, where.constData());
            QVERIFY2(w.connection.initialised() == complete, where.constData());
            if (state != 0)
                QVERIFY2(w.providerNames() == sandboxProviders(), where.constData());
        }
    }

    // A handful of the same cuts served over HTTP with a correct Content-Length: the server is well behaved,
    // only the document stops early.
    void documentCutOverHttp_data()
    {
        QTest::addColumn<int>("length"); // bytes of the live document; -1: up to FINISHED's "<#FINISHED"
        QTest::newRow("empty") << 0;
        QTest::newRow("one byte") << 1;
        QTest::newRow("inside the first tag") << 7;
        QTest::newRow("half") << -2;
        QTest::newRow("just before FINISHED ends") << -1;
        QTest::newRow("whole") << -3;
    }
    void documentCutOverHttp()
    {
        QFETCH(int, length);
        const QByteArray live = liveDocument();
        const qsizetype finished = live.indexOf("<#FINISHED");
        const qsizetype n = length >= 0 ? length
            : length == -1              ? finished + 9
            : length == -2              ? live.size() / 2
                                        : live.size();
        const QByteArray cut = live.left(n);
        LoopbackHttpServer server([&](const Request&) { return reply(200, cut); });
        QVERIFY(server.start());
        AppPaths::setServiceUrlOverride(server.url(QString()));
        TestEnv::writeFile(cachePath(), oldCache());

        Window w;
        w.connection.startUp();
        QVERIFY(w.initialise());
        const bool complete = n == live.size();
        QCOMPARE(int(w.state.connection), complete ? 2 : 1);
        QCOMPARE(TestEnv::readFile(cachePath()), complete ? ServiceDocument::fromText(live).text() : oldCache());
        QCOMPARE(w.providerNames(), sandboxProviders());
    }
};

QTEST_GUILESS_MAIN(TestServiceFaults)
#include "test_servicefaults.moc"
