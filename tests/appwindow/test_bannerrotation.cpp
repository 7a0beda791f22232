// The banner rotation with the real service connection and its HTTP component against a loopback server:
// choosing, downloading, caching and showing pictures, counting impressions, clicks, and sharing the one HTTP
// component with the statistics report.

#include "AppWindowTest.h"
#include "BannerPictures.h"
#include "LoopbackHttpServer.h"
#include "RecordingView.h"
#include "TestEnv.h"

#include "common/AppPaths.h"
#include "common/Messages.h"
#include "service/ServiceState.h"
#include "session/BannerRotation.h"
#include "session/MainSession.h"
#include "session/MainView.h"
#include "session/ServiceConnection.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QtTest>

namespace {
using Request = LoopbackHttpServer::Request;
using Reply = LoopbackHttpServer::Reply;

// The desktop that opens addresses.
class RecordingSession : public MainSession
{
public:
    RecordingSession()
        : MainSession(AppWindowTest::fakeBrowserMaker())
    {
    }
    bool openUrl(const QUrl& url) override
    {
        opened << url;
        return true;
    }
    QList<QUrl> opened;
};

Reply reply(int status, const QByteArray& body, int delayMs = 0)
{
    Reply r;
    r.status = status;
    r.reason = status == 200 ? "OK" : "Not Found";
    r.body = body;
    r.pieceDelayMs = delayMs;
    r.pieceSize = 16;
    return r;
}

TCacheEntry banner(const QString& name, const QString& type, const QString& url)
{
    return TCacheEntry { name, type, url, QStringLiteral("http://127.0.0.1:9/") + name, 15000, 0 };
}
} // namespace

class TestBannerRotation : public QObject
{
    Q_OBJECT

    // The session's own parts: its messages go where the program's go.
    std::unique_ptr<RecordingSession> m_session;
    RecordingView m_view;
    ServiceState* m_state = nullptr;
    ServiceConnection* m_service = nullptr;
    BannerRotation* m_rotation = nullptr;

    // One tick of the banner timer, and what it posts handled.
    void tick()
    {
        m_rotation->BannerTimerTimer();
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        TestEnv::freshDir(ServiceConnectionHost::bannerCacheFolder());
        m_view = RecordingView();
        m_session = std::make_unique<RecordingSession>();
        m_session->setView(&m_view);
        m_state = &m_session->state();
        m_service = &m_session->service();
        m_rotation = &m_session->banners();
    }

    void cleanup() { m_session.reset(); }

    // With three banners, the first one chosen after start-up is the second entry; shown from its cached
    // picture, it counts one impression and becomes what a click opens.
    void firstChoiceIsTheSecondEntry()
    {
        for (const QString& name : { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") }) {
            m_state->Adverts.Append(banner(name, QStringLiteral("gif"), QStringLiteral("http://127.0.0.1:9/x.gif")));
            TestEnv::writeFile(BannerRotation::cacheFileFor(name, QStringLiteral("gif")), BannerPictures::bannerA());
        }
        QSignalSpy shown(m_rotation, &BannerRotation::bannerShown);
        tick();
        QVERIFY(shown.wait(5000));
        QCOMPARE(m_rotation->BannerName, QStringLiteral("B"));
        QCOMPARE(m_rotation->BannerIndex, 2);
        QCOMPARE(m_rotation->BannerTimer.interval(), 15000);
        QCOMPARE(m_view.displayed.size(), 1);
        QCOMPARE(m_view.displayed.first().size(), QSize(195, 56));
        QCOMPARE(m_state->Adverts.HitsText(), QStringLiteral("B=1,"));
        QCOMPARE(m_rotation->ClickURL, QStringLiteral("http://127.0.0.1:9/B"));
    }

    // Ticks pass without effect while the window is hidden or minimised, its banner is hidden behind other
    // windows, or a request is in flight.
    void rotationPauses_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("window hidden") << "hidden";
        QTest::newRow("banner covered") << "covered";
        QTest::newRow("a request in flight") << "busy";
    }
    void rotationPauses()
    {
        QFETCH(QString, why);
        m_state->Adverts.Append(
            banner(QStringLiteral("A"), QStringLiteral("gif"), QStringLiteral("http://127.0.0.1:9/a.gif")));
        m_view.shown = why != QLatin1String("hidden");
        m_view.covered = why == QLatin1String("covered");
        // A download that stalls keeps the component busy.
        LoopbackHttpServer stalling([](const Request&) {
            Reply r;
            r.noReply = true;
            return r;
        });
        if (why == QLatin1String("busy")) {
            QVERIFY(stalling.start());
            QVERIFY(m_service->StartBannerDownload(stalling.url(QStringLiteral("/stall"))));
        }
        tick();
        QCOMPARE(m_rotation->BannerIndex, 1);
        QVERIFY(m_rotation->BannerName.isEmpty());
        m_service->HTTP.AbortRequest();
    }

    // A picture is downloaded once, kept in the cache folder and shown; a failed download or a reply that does
    // not decode as a picture of its type is not kept, shows nothing new and counts nothing, and the index
    // advances all the same.
    void downloads_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("shown");
        QTest::newRow("gif") << 200 << BannerPictures::bannerA() << "gif" << true;
        QTest::newRow("jpeg") << 200 << BannerPictures::bannerC() << "JPG" << true;
        QTest::newRow("not found") << 404 << QByteArray("missing") << "gif" << false;
        QTest::newRow("not a picture") << 200 << QByteArray("GIF89a and nothing") << "gif" << false;
        QTest::newRow("gif under a jpg name") << 200 << BannerPictures::bannerA() << "jpg" << false;
        QTest::newRow("over the pixel budget")
            << 200 << BannerPictures::gif(4000, 4000, { qRgb(0, 0, 0) }, [](int, int) { return 0; }) << "gif" << false;
    }
    void downloads()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, type);
        QFETCH(bool, shown);
        LoopbackHttpServer server([&](const Request&) { return reply(status, body); });
        QVERIFY(server.start());
        m_state->Adverts.Append(banner(QStringLiteral("X"), type, server.url(QStringLiteral("/x"))));
        m_state->Adverts.Append(banner(QStringLiteral("Y"), type, server.url(QStringLiteral("/x"))));
        tick();
        QTRY_COMPARE_WITH_TIMEOUT(m_rotation->BannerIndex, 3, 10000);
        QVERIFY(m_service->isHttpIdle());
        QCOMPARE(server.requestCount(), 1);
        if (shown)
            QTRY_COMPARE(m_view.displayed.size(), 1);
        else
            QTest::qWait(200);
        QCOMPARE(m_view.displayed.size(), shown ? 1 : 0);
        // Only a reply that decodes as a picture of its type is kept.
        QCOMPARE(QFile::exists(BannerRotation::cacheFileFor(QStringLiteral("Y"), type)), shown);
        QCOMPARE(m_state->Adverts.HitsText(), shown ? QStringLiteral("Y=1") : QString());
    }

    // A download that cannot even start (no web address) gives the component back at once.
    void unstartableDownloadFreesTheComponent_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("a local file") << "file:///etc/passwd";
        QTest::newRow("no address") << "not an address";
    }
    void unstartableDownloadFreesTheComponent()
    {
        QFETCH(QString, address);
        m_state->Adverts.Append(banner(QStringLiteral("A"), QStringLiteral("gif"), address));
        tick();
        QVERIFY(m_service->isHttpIdle());
        QTRY_COMPARE(m_rotation->BannerIndex, 3);
        QVERIFY(m_view.displayed.isEmpty());
        QVERIFY(!QFile::exists(BannerRotation::cacheFileFor(QStringLiteral("A"), QStringLiteral("gif"))));
    }

    // The cache file's name comes from the service: nothing in it leads outside the cache folder.
    void cacheFileStaysInTheFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("plain") << "banner"
                               << "gif";
        QTest::newRow("up and out") << "../../evil"
                                    << "gif";
        QTest::newRow("absolute") << "/etc/passwd"
                                  << "gif";
        QTest::newRow("backslashes") << "..\\..\\evil"
                                     << "gif";
        QTest::newRow("in the type") << "banner"
                                     << "/../../x";
        QTest::newRow("dot dot alone") << ".."
                                       << "";
        QTest::newRow("hidden") << ".profile"
                                << "gif";
        QTest::newRow("control character") << "a\nb"
                                           << "gif";
        QTest::newRow("empty") << ""
                               << "";
    }
    void cacheFileStaysInTheFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QString folder = ServiceConnectionHost::bannerCacheFolder();
        const QString file = BannerRotation::cacheFileFor(name, type);
        QVERIFY2(file.startsWith(folder), qPrintable(file));
        const QString inside = file.mid(folder.size());
        QVERIFY2(!inside.contains(QLatin1Char('/')) && !inside.startsWith(QLatin1Char('.')), qPrintable(inside));
        QCOMPARE(QFileInfo(file).absolutePath() + QLatin1Char('/'), QDir(folder).absolutePath() + QLatin1Char('/'));
    }

    // Two names that clean up alike keep files of their own.
    void cleanedNamesStayApart()
    {
        QVERIFY(BannerRotation::cacheFileFor(QStringLiteral("a/b"), QStringLiteral("gif"))
            != BannerRotation::cacheFileFor(QStringLiteral("a_b"), QStringLiteral("gif")));
        QVERIFY(BannerRotation::cacheFileFor(QStringLiteral("a/b"), QStringLiteral("gif"))
            != BannerRotation::cacheFileFor(QStringLiteral("a\\b"), QStringLiteral("gif")));
    }

    void clickOpensOnlyWebAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("opened");
        QTest::newRow("http") << "http://127.0.0.1:9/offer" << true;
        QTest::newRow("https") << " https://example.invalid/x " << true;
        QTest::newRow("a local file") << "file:///etc/passwd" << false;
        QTest::newRow("another scheme") << "javascript:alert(1)" << false;
        QTest::newRow("nothing") << "" << false;
    }
    void clickOpensOnlyWebAddresses()
    {
        QFETCH(QString, address);
        QFETCH(bool, opened);
        m_rotation->ClickURL = address;
        m_rotation->bannerClicked();
        QCOMPARE(m_session->opened.size(), opened ? 1 : 0);
        if (opened)
            QCOMPARE(m_session->opened.first(), QUrl(address.trimmed()));
    }

    // A banner download and the statistics report fall due together: the one that finds the HTTP component
    // busy waits its turn, and both complete.
    void downloadAndStatisticsShareTheComponent()
    {
        LoopbackHttpServer server([](const Request& request) {
            if (request.target.startsWith("/smsupdate"))
                return reply(200, "<#UPDATED>\r\n<#FINISHED>\r\n", 10);
            return reply(200, BannerPictures::bannerB(), 10);
        });
        QVERIFY(server.start());
        AppPaths::setServiceUrlOverride(server.url(QString()));
        m_state->Adverts.Append(
            banner(QStringLiteral("A"), QStringLiteral("gif"), server.url(QStringLiteral("/a.gif"))));
        m_state->Adverts[0].Hits = 2;
        QSignalSpy statsDone(m_service, &ServiceConnection::statsDone);

        // The report goes first; the banner's tick finds the component busy and passes.
        m_service->StatsTimerTimer();
        tick();
        QCOMPARE(m_rotation->BannerIndex, 1);
        QVERIFY(statsDone.wait(5000));
        // The download goes first; the report finds the component busy and waits its retry.
        tick();
        QVERIFY(!m_service->isHttpIdle());
        m_state->Adverts[0].Hits = 1;
        m_service->StatsTimerTimer();
        QCOMPARE(m_service->statsTimer().interval(), 5000);
        QVERIFY(m_service->statsTimer().isActive());
        QTRY_COMPARE_WITH_TIMEOUT(m_view.displayed.size(), 1, 5000);
        QTRY_VERIFY(m_service->isHttpIdle());
        m_service->StatsTimerTimer();
        QVERIFY(statsDone.wait(5000));
        QStringList paths;
        for (const Request& request : server.requests())
            paths << QString::fromLatin1(request.target.split('?').first());
        QCOMPARE(paths, (QStringList { "/smsupdate", "/a.gif", "/smsupdate" }));
        AppPaths::setServiceUrlOverride(QString());
    }
};

QTEST_MAIN(TestBannerRotation)
#include "test_bannerrotation.moc"
