// The local definitions in the main window's service connection: read at start-up, kept first through every
// live document, and their problems shown to the user once.
#include "ServiceConnectionWindow.h"
#include "TestEnv.h"

#include "common/AppPaths.h"
#include "service/LocalDefinitions.h"
#include "service/ProviderCache.h"
#include "service/ServiceState.h"

#include <QtTest>

#include <atomic>

namespace {
using Request = LoopbackHttpServer::Request;
using Reply = LoopbackHttpServer::Reply;

const QByteArray Session = "<#SESSION ID=S1>\r\n<#PROVIDERS>\r\n<#PROVIDER Name=Solo AreaCodes=050 MsgUrl=s>\r\n"
                           "<#FINISHED>\r\n";
const QByteArray Updated = "<#UPDATED>\r\n<#FINISHED>\r\n";
const QByteArray Acme = "<#AREAS DEFS=059=59>\n<#PROVIDER Name=Acme AreaCodes=052,059 MsgUrl=http://acme/>";

using namespace ServiceConnectionTest;
} // namespace

class TestLocalDefinitionsConnection : public QObject
{
    Q_OBJECT

    QString folder;

    void writeDef(const QString& name, const QByteArray& text) { TestEnv::writeFile(folder + name, text); }

private slots:
    void initTestCase() { TestEnv::noProxy(); }

    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        folder = TestEnv::freshDir(LocalDefinitions::folder());
    }

    void keptFirstThroughLiveDocuments()
    {
        writeDef(QStringLiteral("acme.def"), Acme);
        std::atomic<int> reports { 0 };
        LoopbackHttpServer server([&reports](const Request& request) {
            if (request.target.startsWith("/smsinit"))
                return ok(Session);
            // Statistics replies may define providers too: first one appended, then a new list.
            return ok(++reports == 1 ? "<#PROVIDER Name=Extra AreaCodes=051 MsgUrl=e>\r\n" + Updated
                                     : "<#AREAS DEFS=056=056>\r\n<#PROVIDERS>\r\n"
                                       "<#PROVIDER Name=Other AreaCodes=056 MsgUrl=o>\r\n"
                        + Updated);
        });
        QVERIFY(serve(server));

        Window w;
        w.connection.startUp();
        QCOMPARE(w.providerNames(), QStringList({ "Acme" }));
        QVERIFY(w.initialise());
        QCOMPARE(w.state.connection, ConnectionState::Service);
        QCOMPARE(w.providerNames(), QStringList({ "Acme", "Solo" }));
        QCOMPARE(TestEnv::readFile(ProviderCache::path()), Session);

        QVERIFY(w.reportStatistics(1));
        QCOMPARE(w.providerNames(), QStringList({ "Acme", "Solo", "Extra" }));
        QVERIFY(w.reportStatistics(2));
        QCOMPARE(w.providerNames(), QStringList({ "Acme", "Other" }));
        QCOMPARE(w.areaDefs, QStringList({ "059=59", "056=056" }));
        QVERIFY(w.host.messages.isEmpty());
    }

    // A reply that breaks off leaves the cache's definitions in force, and what is applied later starts
    // from them, not from the broken reply's.
    void brokenReplyLeavesTheCache()
    {
        writeDef(QStringLiteral("acme.def"), Acme);
        TestEnv::writeFile(ProviderCache::path(),
            "<#AREAS DEFS=050=050>\r\n<#PROVIDERS>\r\n<#PROVIDER Name=Sahar AreaCodes=050 "
            "MsgUrl=s>\r\n<#FINISHED>\r\n");
        LoopbackHttpServer server([](const Request& request) {
            if (request.target.startsWith("/smsinit"))
                return ok(
                    "<#AREAS DEFS=058=058>\r\n<#PROVIDERS>\r\n<#PROVIDER Name=Partial AreaCodes=058 MsgUrl=p>\r\n");
            return ok(Updated);
        });
        QVERIFY(serve(server));

        Window w;
        w.connection.startUp();
        QVERIFY(w.initialise());
        QCOMPARE(w.state.connection, ConnectionState::Stored);
        QCOMPARE(w.providerNames(), QStringList({ "Acme", "Sahar" }));
        QCOMPARE(w.areaDefs, QStringList({ "059=59", "050=050" }));

        QVERIFY(QFile::remove(folder + QStringLiteral("acme.def")));
        QVERIFY(w.reportStatistics(1));
        QCOMPARE(w.providerNames(), QStringList({ "Sahar" }));
        QCOMPARE(w.providers[0].Origin, ProviderOrigin::Cache);
        QCOMPARE(w.areaDefs, QStringList({ "050=050" }));
    }

    void problemsShownOnce()
    {
        const QString brokenA
            = QStringLiteral("providers.d/broken-a.def, line 1: PROVIDER without MsgUrl; the file was skipped");
        writeDef(QStringLiteral("broken-a.def"), "<#PROVIDER Name=A AreaCodes=1>");
        LoopbackHttpServer server(
            [](const Request& request) { return ok(request.target.startsWith("/smsinit") ? Session : Updated); });
        QVERIFY(serve(server));

        Window w;
        w.connection.startUp();
        // Posted: start-up goes on without waiting for the user.
        QVERIFY(w.host.messages.isEmpty());
        QTRY_COMPARE(w.host.messages.size(), 1);
        QVERIFY2(w.host.messages[0].contains(brokenA), qPrintable(w.host.messages[0]));

        QVERIFY(w.initialise());
        QTest::qWait(50);
        QCOMPARE(w.host.messages.size(), 1);

        // Another problem makes a new set, shown whole.
        writeDef(QStringLiteral("broken-b.def"), "<#PROVIDER Name=B MsgUrl=u>");
        QVERIFY(w.reportStatistics(1));
        QTRY_COMPARE(w.host.messages.size(), 2);
        QVERIFY(w.host.messages[1].contains(brokenA));
        QVERIFY(w.host.messages[1].contains(QStringLiteral("broken-b.def, line 1: PROVIDER without AreaCodes")));

        // A window made again in the same run does not repeat it.
        {
            Window again;
            again.connection.startUp();
            QTest::qWait(50);
            QVERIFY(again.host.messages.isEmpty());
        }

        // Mended, then broken again the first way: that is news again.
        QFile::remove(folder + QStringLiteral("broken-a.def"));
        QFile::remove(folder + QStringLiteral("broken-b.def"));
        QVERIFY(w.reportStatistics(2));
        writeDef(QStringLiteral("broken-a.def"), "<#PROVIDER Name=A AreaCodes=1>");
        QVERIFY(w.reportStatistics(3));
        QTRY_COMPARE(w.host.messages.size(), 3);
    }

    // The lamp says what can be used: green with the service's document, yellow with stored or own
    // definitions when the service gives none (no address, or nobody answers), red only with no provider.
    void lampForEachMixOfDefinitions_data()
    {
        QTest::addColumn<QString>("service"); // "" none, "dead" nobody answers, "up" a complete document
        QTest::addColumn<bool>("cached");
        QTest::addColumn<bool>("own");
        QTest::addColumn<int>("lamp");
        QTest::newRow("no service, nothing") << "" << false << false << 0;
        QTest::newRow("no service, stored") << "" << true << false << 1;
        QTest::newRow("no service, own") << "" << false << true << 1;
        QTest::newRow("service down, nothing") << "dead" << false << false << 0;
        QTest::newRow("service down, stored") << "dead" << true << false << 1;
        QTest::newRow("service down, own") << "dead" << false << true << 1;
        QTest::newRow("service up, own") << "up" << false << true << 2;
    }
    void lampForEachMixOfDefinitions()
    {
        QFETCH(QString, service);
        QFETCH(bool, cached);
        QFETCH(bool, own);
        QFETCH(int, lamp);
        if (own)
            writeDef(QStringLiteral("acme.def"), Acme);
        if (cached)
            TestEnv::writeFile(ProviderCache::path(), Session);
        LoopbackHttpServer server([](const Request&) { return ok(Session); });
        QVERIFY(server.start());
        if (service == QLatin1String("up"))
            AppPaths::setServiceUrlOverride(server.url(QString()));
        else if (service == QLatin1String("dead"))
            AppPaths::setServiceUrlOverride(QStringLiteral("http://127.0.0.1:9"));
        else
            qputenv("ZELKORA_SERVICE_URL", QByteArray());

        Window w;
        w.connection.startUp();
        if (service.isEmpty())
            w.connection.InitTimerTimer();
        else
            QVERIFY(w.initialise());
        QCOMPARE(int(w.state.connection), lamp);

        // Without an address nothing is asked of anybody: not the definitions, statistics or a banner.
        if (service.isEmpty()) {
            w.connection.StatsTimerTimer();
            QVERIFY(!w.connection.StartBannerDownload(server.url(QStringLiteral("/banner.gif"))));
            QTest::qWait(100);
            QCOMPARE(server.requests().size(), 0);
        }
    }
    void cleanup()
    {
        AppPaths::setServiceUrlOverride(QString());
        qputenv("ZELKORA_SERVICE_URL", "http://127.0.0.1:9");
    }
};

QTEST_MAIN(TestLocalDefinitionsConnection)
#include "test_local_definitions_connection.moc"
