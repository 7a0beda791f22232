// The verdict of a message wherever the site shows it: the sandbox's verdict sites, each answering in one of
// the shapes sites use today, through the real browser library on 127.0.0.1. Their definitions come from the
// sandbox's own service document, read by the program's reader.
#include "EngineWait.h"
#include "SandboxServer.h"
#include "SandboxService.h"
#include "engine/TSMSBaseForm.h"
#include "service/ServiceState.h"

#include <QGuiApplication>
#include <QtTest>

class TestBrowserVerdicts : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<TSMSBaseForm> m_engine;

private slots:
    void initTestCase()
    {
        QVERIFY(m_sandbox.listen());
        m_engine = std::make_unique<TSMSBaseForm>();
        ServiceState state(m_engine->Providers, m_engine->AreaDefs);
        QVERIFY(state.ProcessDocument(SandboxService::initDocument(m_sandbox.baseUrl())).ok);
        for (TProvider& provider : m_engine->Providers) {
            provider.UserName = SandboxServer::demoUserName();
            provider.Password = SandboxServer::demoPassword();
        }
        m_engine->TimeOut = 30;
        m_engine->SettleTime = 2500;
    }

    void verdictWhereverTheSiteShowsIt_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("site"); // whose /send received the message
        QTest::addColumn<QString>("outcome"); // as that site recorded it
        QTest::newRow("please wait, accepted") << "061"
                                               << "1234567" << int(ssSent) << "tamar"
                                               << "accepted";
        // The refusal goes back to the form a third of a second after it shows.
        QTest::newRow("please wait, rejected") << "061"
                                               << "9234567" << int(ssRejected) << "tamar"
                                               << "rejected";
        QTest::newRow("late verdict, accepted") << "062"
                                                << "1234567" << int(ssSent) << "yarden"
                                                << "accepted";
        QTest::newRow("late verdict, rejected") << "062"
                                                << "9234567" << int(ssRejected) << "yarden"
                                                << "rejected";
        QTest::newRow("a page that stays silent") << "062"
                                                  << "8234567" << int(ssTimedOut) << "yarden"
                                                  << "silent";
        QTest::newRow("background post, accepted") << "063"
                                                   << "1234567" << int(ssSent) << "carmel"
                                                   << "accepted";
        QTest::newRow("background post, rejected") << "063"
                                                   << "9234567" << int(ssRejected) << "carmel"
                                                   << "rejected";
        QTest::newRow("target _blank") << "064"
                                       << "1234567" << int(ssSent) << "negev"
                                       << "accepted";
        QTest::newRow("window.open, rejected") << "069"
                                               << "9234567" << int(ssRejected) << "negev"
                                               << "rejected";
        QTest::newRow("frameset of the site") << "065"
                                              << "9234567" << int(ssRejected) << "golan"
                                              << "rejected";
        QTest::newRow("frame of another origin") << "066"
                                                 << "1234567" << int(ssSent) << "hermon"
                                                 << "accepted";
        QTest::newRow("alert, accepted") << "067"
                                         << "1234567" << int(ssSent) << "sharon"
                                         << "accepted";
        QTest::newRow("alert, rejected") << "067"
                                         << "9234567" << int(ssRejected) << "sharon"
                                         << "rejected";
        QTest::newRow("session ended") << "068"
                                       << "1234567" << int(ssFailed) << "arava"
                                       << "expired";
    }
    void verdictWhereverTheSiteShowsIt()
    {
        QFETCH(QString, area);
        QFETCH(QString, phone);
        QFETCH(int, status);
        QFETCH(QString, site);
        QFETCH(QString, outcome);
        m_sandbox.clearSubmissions();
        m_engine->Send(QStringLiteral("Dana"), area, phone, QStringLiteral("hi"), SandboxServer::demoUserName(),
            SandboxServer::demoPassword());
        QVERIFY(waitForAttemptEnd(*m_engine, 40000));
        QVERIFY2(int(m_engine->Status) == status, qPrintable(m_engine->Diagnostic));
        QVERIFY(m_engine->Submitted);
        QCOMPARE(m_engine->Confirmed, status == ssSent || status == ssRejected);
        QCOMPARE(m_engine->Outcome() == SendOutcome::Unknown, status == ssTimedOut);

        QStringList sends;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.path.endsWith(QLatin1String("/send")))
                sends << s.site + QLatin1Char(' ') + s.outcome;
        }
        QCOMPARE(sends, QStringList { site + QLatin1Char(' ') + outcome });
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    TestBrowserVerdicts test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browserverdicts.moc"
