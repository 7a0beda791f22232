#include "SandboxServer.h"
#include "SandboxService.h"
#include "ServiceConnectionWindow.h"
#include "TestEnv.h"

#include "common/AppPaths.h"
#include "settings/ProgramSettings.h"

#include <QUrl>
#include <QtTest>

#include <atomic>

namespace {
using Request = LoopbackHttpServer::Request;
using Reply = LoopbackHttpServer::Reply;
using namespace ServiceConnectionTest;

QByteArray lastTarget(const LoopbackHttpServer& server)
{
    return server.requests().isEmpty() ? QByteArray() : server.requests().last().target;
}

const QByteArray Unfinished = "<#PROVIDERS>\r\n<#PROVIDER Name=Partial AreaCodes=058>\r\n";
const QByteArray Session = "<#SESSION ID=S1>\r\n<#PARAMS RefreshCount=7>\r\n<#PROVIDERS>\r\n"
                           "<#PROVIDER Name=Solo AreaCodes=050>\r\n<#FINISHED>\r\n";

QString cachePath()
{
    return AppPaths::appDir() + QStringLiteral("providers.dat");
}
} // namespace

class TestServiceConnection : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

private slots:
    void initTestCase()
    {
        TestEnv::noProxy();
        // The machine's registry key, with the installation type the statistics carry.
        const QString machine = TestEnv::freshDir(qEnvironmentVariable("HOME") + QStringLiteral("/xdg/zelkora"));
        TestEnv::writeFile(
            machine + QStringLiteral("registry.ini"), "[Software\\Halvern Systems\\Corvalent]\r\nType=Pro\r\n");
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(qEnvironmentVariable("HOME") + QStringLiteral("/xdg")));
        QVERIFY(m_sandbox.listen());
    }

    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), "[Sahar]\r\nUserName=dana\r\n");
        m_sandbox.clearHits();
    }

    void initialisation_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("reply"); // empty: the sandbox's complete document
        QTest::addColumn<bool>("cached");
        QTest::addColumn<int>("state");

        QTest::newRow("complete reply") << 200 << QByteArray() << false << 2;
        QTest::newRow("complete reply over an old cache") << 200 << QByteArray() << true << 2;
        QTest::newRow("service error, cache") << 500 << QByteArray() << true << 1;
        QTest::newRow("service error, no cache") << 500 << QByteArray() << false << 0;
        QTest::newRow("reply without FINISHED") << 200 << Unfinished << false << 0;
        QTest::newRow("reply without FINISHED, cache") << 200 << Unfinished << true << 1;
    }

    void initialisation()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, reply);
        QFETCH(bool, cached);
        QFETCH(int, state);

        const QByteArray oldCache = SandboxService::initDocument(QStringLiteral("http://127.0.0.1:1"));
        if (cached)
            TestEnv::writeFile(cachePath(), oldCache);
        m_sandbox.setInitStatus(status);
        reply.isEmpty() ? m_sandbox.resetInitDocument() : m_sandbox.setInitDocument(reply);
        AppPaths::setServiceUrlOverride(m_sandbox.baseUrl());

        Window w;
        w.connection.startUp();
        QCOMPARE(w.state.connection, ConnectionState::NoDefinitions);
        w.host.states.clear();
        QVERIFY(w.initialise());
        QCOMPARE(m_sandbox.hits(QStringLiteral("/smsinit")), 1);
        QCOMPARE(w.host.states.value(0), 1); // the request under way
        QCOMPARE(int(w.state.connection), state);
        QCOMPARE(w.connection.initialised(), state == 2);
        QCOMPARE(w.connection.HTTP.Tag, state == 2 ? 1 : 0);
        QCOMPARE(w.host.bannerCacheClears, state == 2 ? 1 : 0);
        QVERIFY(w.connection.isHttpIdle());
        QVERIFY(w.connection.initTimer().isActive());
        // Only a complete reply becomes the cache.
        QCOMPARE(TestEnv::readFile(cachePath()),
            state == 2   ? m_sandbox.serviceDocument()
                : cached ? oldCache
                         : QByteArray());
        if (state != 0) {
            // The definitions in force are whole, live or cached, and carry their credentials.
            QCOMPARE(w.providerNames(), SandboxService::providerNames());
            QCOMPARE(w.providers.first().UserName, QStringLiteral("dana"));
        }
    }

    // An interval of 0 or below from the service never runs a timer, not even after a send command held the
    // requests and let them go: the event loop stays idle.
    void intervalsOfZeroNeverSpin_data()
    {
        QTest::addColumn<QByteArray>("params");
        QTest::newRow("InitInterval 0") << QByteArray("<#PARAMS InitInterval=0>");
        QTest::newRow("InitInterval below 0") << QByteArray("<#PARAMS InitInterval=-5 StatisticsInterval=-1>");
    }
    void intervalsOfZeroNeverSpin()
    {
        QFETCH(QByteArray, params);
        LoopbackHttpServer server([&](const Request&) { return ok(params + "\r\n" + Session); });
        QVERIFY(serve(server));

        Window w;
        // As an earlier document left it: the interval is taken when a request starts.
        w.state.InitInterval = params.contains("-5") ? -5 : 0;
        QVERIFY(w.initialise());
        QVERIFY(!w.connection.initTimer().isActive());
        w.connection.hold(true);
        w.connection.hold(false);
        QVERIFY(!w.connection.initTimer().isActive());
        QSignalSpy ticks(&w.connection.initTimer(), &QTimer::timeout);
        QTest::qWait(300);
        QCOMPARE(ticks.count(), 0);
        QCOMPARE(server.requestCount(), 1);
    }

    // While held, nothing starts the initialisation timer, not even the end of a request under way.
    void holdKeepsTheTimerOff()
    {
        LoopbackHttpServer server([](const Request&) { return ok(Session); });
        QVERIFY(serve(server));
        Window w;
        w.connection.startUp();
        QVERIFY(w.connection.initTimer().isActive());
        w.connection.hold(true);
        QVERIFY(!w.connection.initTimer().isActive());
        w.connection.InitTimerTimer();
        QTRY_COMPARE_WITH_TIMEOUT(w.initDone.count(), 1, Patience);
        QVERIFY(!w.connection.initTimer().isActive());
        w.connection.hold(false);
        QVERIFY(w.connection.initTimer().isActive());
    }

    void truncatedReplyFinishesOnce()
    {
        LoopbackHttpServer server([](const Request&) {
            Reply cut = ok(Session.left(30));
            cut.declaredLength = Session.size();
            cut.closeAfterBody = true;
            return cut;
        });
        QVERIFY(serve(server));

        Window w;
        QVERIFY(w.initialise());
        QTest::qWait(300);
        QCOMPARE(w.initDone.count(), 1);
        QVERIFY(w.connection.isHttpIdle());
        QCOMPARE(w.state.connection, ConnectionState::NoDefinitions);
        QVERIFY(!QFile::exists(cachePath()));
    }

    void newAddressFetchesAgain()
    {
        std::atomic<bool> failing { false };
        LoopbackHttpServer server([&failing](const Request&) {
            Reply reply = ok(Session);
            reply.status = failing ? 500 : 200;
            return reply;
        });
        QVERIFY(serve(server));

        Window w;
        QVERIFY(w.initialise());
        w.connection.InitTimerTimer();
        QTest::qWait(200);
        QCOMPARE(server.requestCount(), 1);

        // When fetching for the new address fails, the cache the last complete reply left takes over.
        failing = true;
        w.host.address = QStringLiteral("10.9.9.9");
        QVERIFY(w.initialise(2));
        QCOMPARE(lastTarget(server), QByteArray("/smsinit?IP=10.9.9.9&Version=1.11"));
        QCOMPARE(w.state.connection, ConnectionState::Stored);
        QVERIFY(w.state.CacheLoaded);
    }

    void statistics_data()
    {
        QTest::addColumn<QString>("banners"); // name:impressions, comma-separated
        QTest::addColumn<QByteArray>("hits");
        QTest::addColumn<bool>("updated");

        QTest::newRow("three banners") << "A:3,B:0,C:2" << QByteArray("A%3D3%2CC%3D2") << true;
        QTest::newRow("last banner not shown") << "A:3,B:0" << QByteArray("A%3D3%2C") << true;
        QTest::newRow("no banners") << "" << QByteArray() << true;
        QTest::newRow("space and Hebrew") << "my ad:1,באנר:2" << QByteArray("my+ad%3D1%2C%E1%E0%F0%F8%3D2") << true;
        QTest::newRow("reply without UPDATED") << "A:3,C:2" << QByteArray("A%3D3%2CC%3D2") << false;
    }

    void statistics()
    {
        QFETCH(QString, banners);
        QFETCH(QByteArray, hits);
        QFETCH(bool, updated);
        LoopbackHttpServer server([updated](const Request& request) {
            if (request.target.startsWith("/smsinit"))
                return ok(Session);
            return ok(updated ? "<#UPDATED>\r\n<#FINISHED>\r\n" : "<#FINISHED>\r\n");
        });
        QVERIFY(serve(server));

        Window w;
        QVERIFY(w.initialise());
        QCOMPARE(lastTarget(server), QByteArray("/smsinit?IP=10.1.2.3&Version=1.11"));
        const QStringList entries = banners.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString& entry : entries) {
            TCacheEntry banner;
            banner.Name = entry.section(QLatin1Char(':'), 0, 0);
            banner.Hits = entry.section(QLatin1Char(':'), 1).toUInt();
            w.state.Adverts.Append(banner);
        }
        const QString reported = w.state.Adverts.HitsText();

        QVERIFY(w.reportStatistics(1));
        QCOMPARE(lastTarget(server), "/smsupdate?ID=S1&Type=Pro&RefreshCount=7&SendParams=yes&Hits=" + hits);
        QVERIFY(w.connection.statsTimer().isActive());
        // UPDATED settles the counts; without it they are reported again, and so are the parameters.
        QCOMPARE(w.state.Adverts.HitsText(), updated ? QString() : reported);
        if (!entries.isEmpty())
            w.state.Adverts.AddHit(w.state.Adverts[0].Name);
        QVERIFY(w.reportStatistics(2));
        QVERIFY(lastTarget(server).contains(updated ? "&SendParams=no&" : "&SendParams=yes&"));
    }

    void tickWhileUnable_data()
    {
        QTest::addColumn<bool>("initTimer"); // else the statistics timer
        QTest::addColumn<QString>("obstacle");

        QTest::newRow("init, engine sending") << true << "busy";
        QTest::newRow("init, request in flight") << true << "flight";
        QTest::newRow("init, offline") << true << "offline";
        QTest::newRow("stats, request in flight") << false << "flight";
        QTest::newRow("stats, offline") << false << "offline";
        QTest::newRow("stats, banners never shown") << false << "unshown";
    }

    void tickWhileUnable()
    {
        QFETCH(bool, initTimer);
        QFETCH(QString, obstacle);
        LoopbackHttpServer server([](const Request& request) {
            Reply reply = ok(Session);
            reply.noReply = request.target == "/stall";
            return reply;
        });
        QVERIFY(serve(server));

        Window w;
        w.host.setBusy(obstacle == QLatin1String("busy"));
        w.host.online = obstacle != QLatin1String("offline");
        if (obstacle == QLatin1String("unshown"))
            w.state.Adverts.Append(TCacheEntry { QStringLiteral("A"), QStringLiteral("gif"), {}, {}, 10000, 0 });
        const bool inFlight = obstacle == QLatin1String("flight");
        if (inFlight) {
            QVERIFY(w.connection.StartBannerDownload(server.url(QStringLiteral("/stall"))));
            QVERIFY(!w.connection.StartBannerDownload(server.url(QStringLiteral("/other"))));
            QVERIFY(QTest::qWaitFor([&] { return server.requestCount() == 1; }, Patience));
        }
        const int requests = server.requestCount();

        const QTimer& timer = initTimer ? w.connection.initTimer() : w.connection.statsTimer();
        initTimer ? w.connection.InitTimerTimer() : w.connection.StatsTimerTimer();
        QTest::qWait(300);
        QCOMPARE(server.requestCount(), requests);
        if (initTimer && !w.host.online) {
            QCOMPARE(w.host.states, QList<int>({ 0 }));
        } else {
            QVERIFY(timer.isActive());
            QCOMPARE(timer.interval(), 5000);
        }
        if (inFlight) {
            w.connection.HTTP.AbortRequest();
            QVERIFY(QTest::qWaitFor([&] { return w.connection.isHttpIdle(); }, Patience));
        }
    }

    void replyKindDecidesItsReading_data()
    {
        QTest::addColumn<bool>("banner"); // else a statistics reply after a failed re-initialisation
        QTest::newRow("banner picture") << true;
        QTest::newRow("statistics reply") << false;
    }

    void replyKindDecidesItsReading()
    {
        QFETCH(bool, banner);
        const QByteArray stray = "<#PROVIDERS>\r\n<#FINISHED>\r\n";
        LoopbackHttpServer server(
            [stray](const Request& request) { return ok(request.target.startsWith("/smsinit") ? Session : stray); });
        QVERIFY(serve(server));

        Window w;
        QVERIFY(w.initialise());
        if (banner) {
            // Banner addresses are the advertisers'; their bytes never define providers.
            QVERIFY(w.connection.StartBannerDownload(server.url(QStringLiteral("/a.gif"))));
            QVERIFY(QTest::qWaitFor([&] { return w.connection.isHttpIdle(); }, Patience));
            QCOMPARE(w.connection.bannerReply(), stray);
            QCOMPARE(w.providerNames(), QStringList({ QStringLiteral("Solo") }));
        } else {
            w.connection.HTTP.Tag = 0;
            QVERIFY(w.reportStatistics(1));
        }
        QCOMPARE(TestEnv::readFile(cachePath()), Session);
    }

    void certificates_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("valid") << "localhost" << true;
        QTest::newRow("self-signed") << "selfsigned" << false;
        QTest::newRow("issued for another name") << "wronghost" << false;
        QTest::newRow("expired") << "expired" << false;
    }

    void certificates()
    {
        QFETCH(QString, certificate);
        QFETCH(bool, accepted);
        const QString fixtures = QStringLiteral(NET_FIXTURES "/");
        LoopbackHttpServer server([](const Request&) { return ok(Session); });
        QVERIFY(server.startTls(
            fixtures + certificate + QStringLiteral(".crt"), fixtures + certificate + QStringLiteral(".key")));
        AppPaths::setServiceUrlOverride(QStringLiteral("https://127.0.0.1:%1").arg(server.port()));

        Window w;
        w.connection.HTTP.setCaCertificates(fixtures + QStringLiteral("ca.crt"));
        QVERIFY(w.initialise());
        QCOMPARE(int(w.state.connection), accepted ? 2 : 0);
        QCOMPARE(QFile::exists(cachePath()), accepted);
    }

    void openAddresses_data()
    {
        QTest::addColumn<bool>("homePage"); // else the online help
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");

        QTest::newRow("home page") << true << "http://127.0.0.1:9/home"
                                   << "http://127.0.0.1:9/home";
        QTest::newRow("online help") << false << "https://127.0.0.1:9/help"
                                     << "https://127.0.0.1:9/help";
        QTest::newRow("online help not given") << false << ""
                                               << "http://127.0.0.1:9";
        QTest::newRow("home page on a file share") << true << "file://127.0.0.1/usr/bin/xterm"
                                                   << "";
        QTest::newRow("help through a script") << false << "javascript:alert(1)"
                                               << "";
    }

    void openAddresses()
    {
        QFETCH(bool, homePage);
        QFETCH(QString, address);
        QFETCH(QString, opened);
        AppPaths::setServiceUrlOverride(QStringLiteral("http://127.0.0.1:9"));

        Window w;
        (homePage ? w.state.HomePage : w.state.OnlineHelpURL) = address;
        homePage ? w.connection.openHomePage() : w.connection.openOnlineHelp();
        QCOMPARE(w.host.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>({ QUrl(opened) }));
    }
};

QTEST_MAIN(TestServiceConnection)
#include "test_serviceconnection.moc"
