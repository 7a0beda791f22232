// Send attempts through the real browser library against the sandbox's operator sites on 127.0.0.1.
#include "EngineWait.h"
#include "SandboxProviders.h"
#include "SandboxServer.h"
#include "common/ErrorReport.h"
#include "engine/TSMSBaseForm.h"

#include <QGuiApplication>
#include <QtTest>

class TestBrowserAttempt : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<TSMSBaseForm> m_engine;
    QList<int> m_statuses;

    QString url(const QString& path) const { return m_sandbox.baseUrl() + path; }

    TProvider sahar() const { return SandboxProviders::sahar(m_sandbox.baseUrl()); }
    TProvider kesher() const { return SandboxProviders::kesher(m_sandbox.baseUrl()); }

    void send(const QString& area, const QString& phone, const QString& text,
        const QString& password = QStringLiteral("demo1234"))
    {
        m_statuses.clear();
        m_engine->Send(QStringLiteral("Dana"), area, phone, text, QStringLiteral("demo"), password);
    }

    bool waitForEnd(int ms = 20000) { return waitForAttemptEnd(*m_engine, ms); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sandbox.listen());
        m_engine = std::make_unique<TSMSBaseForm>();
        m_engine->OnStatus = [this](TSMSStatus s) { m_statuses << s; };
        m_engine->TimeOut = 20;
        m_engine->AreaDefs = QStringList { QStringLiteral("050=050"), QStringLiteral("052=052"),
            QStringLiteral("053=053"), QStringLiteral("054=054"), QStringLiteral("057=7"), QStringLiteral("051=051"),
            QStringLiteral("056=056") };
    }

    void init()
    {
        m_engine->Providers = { sahar(), kesher() };
        m_engine->TimeOut = 20;
        m_sandbox.clearSubmissions();
    }

    void loginInFrameIsSent()
    {
        send(QStringLiteral("052"), QStringLiteral("1234567"), QStringLiteral("שלום\r\nמה נשמע"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssSending, ssSent }));

        const QList<SandboxSubmission> got = m_sandbox.submissions();
        QCOMPARE(got.size(), 2);
        QCOMPARE(got[0].path, QStringLiteral("/sahar/login"));
        QCOMPARE(got[0].fields.value(QStringLiteral("user")), QStringLiteral("demo"));
        QCOMPARE(got[0].fields.value(QStringLiteral("pass")), QStringLiteral("demo1234"));
        QCOMPARE(got[1].path, QStringLiteral("/sahar/send"));
        // The drop-down is chosen by its displayed text 052; the site receives that option's own value.
        const QMap<QString, QString> expected { { QStringLiteral("sender"), QStringLiteral("Dana") },
            { QStringLiteral("prefix"), QStringLiteral("52") }, { QStringLiteral("number"), QStringLiteral("1234567") },
            { QStringLiteral("text"), QStringLiteral("שלוםמה נשמע") },
            { QStringLiteral("Submit"), QStringLiteral("שלח") } };
        QCOMPARE(got[1].fields, expected);
    }

    void withoutLoginIsSent()
    {
        send(QStringLiteral("057"), QStringLiteral("1234567"), QStringLiteral("hi\r\nthere"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssSent }));
        const QList<SandboxSubmission> got = m_sandbox.submissions();
        QCOMPARE(got.size(), 1);
        // No area field: the area value goes before the number. No sender field: the name ends the text.
        const QMap<QString, QString> expected { { QStringLiteral("phone"), QStringLiteral("71234567") },
            { QStringLiteral("msg"), QStringLiteral("hi\r\nthere (Dana)") } };
        QCOMPARE(got[0].fields, expected);
    }

    void rejectingPage()
    {
        send(QStringLiteral("054"), QStringLiteral("9000000"), QStringLiteral("hi"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssRejected }));
    }

    void wrongPagesFail_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<int>>("statuses");
        QTest::newRow("message address with a trailing slash")
            << "msgslash" << QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssFailed };
        QTest::newRow("login frame the page lacks") << "frame" << QList<int> { ssConnecting, ssFailed };
        QTest::newRow("wrong password lands on another page")
            << "password" << QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssFailed };
    }
    void wrongPagesFail()
    {
        QFETCH(QString, change);
        QFETCH(QList<int>, statuses);
        QString password = QStringLiteral("demo1234");
        if (change == QLatin1String("msgslash"))
            m_engine->Providers[0].MsgUrl += QLatin1Char('/');
        else if (change == QLatin1String("frame"))
            m_engine->Providers[0].LoginFrame = 5;
        else
            password = QStringLiteral("wrong");
        send(QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("hi"), password);
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, statuses);
    }

    void missingSubmitControlTimesOutThenNextAttemptSucceeds()
    {
        m_engine->TimeOut = 2;
        m_engine->Providers[1].MsgSubmitLookup = url(QStringLiteral("/kesher/nowhere"));
        send(QStringLiteral("054"), QStringLiteral("1234567"), QStringLiteral("hi"));
        QVERIFY(waitForEnd(10000));
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssFailed }));
        QCOMPARE(m_engine->Failure.reason, FailureReason::NothingToSend);
        QVERIFY(m_sandbox.submissions().isEmpty());

        m_engine->Providers = { sahar(), kesher() };
        send(QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("again"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses.last(), int(ssSent));
    }

    void frameOfAnotherOriginRaisesAnError()
    {
        QStringList reported;
        const auto previous = ErrorReport::setHandler([&](const QString& text) { reported << text; });
        m_engine->TimeOut = 2;
        m_engine->Providers[0].LoginUrl = url(QStringLiteral("/partner/"));
        send(QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("hi"));
        const bool ended = waitForEnd(10000);
        ErrorReport::setHandler(previous);
        QVERIFY(ended);
        QCOMPARE(reported.size(), 0);
        // The step stopped where the browser refused; the attempt ends by its time-out, with the refusal as why.
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssFailed }));
        QCOMPARE(m_engine->Failure.reason, FailureReason::PageUnreadable);
        QVERIFY2(m_engine->Failure.detail.contains(QStringLiteral("denied")), qPrintable(m_engine->Failure.detail));
    }

    // While the site takes its time to answer, an advert frame of another site loads one advert after another:
    // the result is read from the window the form went to, and the site gets the message once.
    void reloadingAdvertFrameDoesNotEndTheWait_data()
    {
        QTest::addColumn<bool>("framed");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<int>("outcome");
        QTest::newRow("accepting page") << false << "1234567" << int(ssSent);
        QTest::newRow("rejecting page") << false << "9123456" << int(ssRejected);
        QTest::newRow("form in a frame, accepting") << true << "1234567" << int(ssSent);
        QTest::newRow("form in a frame, rejecting") << true << "9123456" << int(ssRejected);
    }
    void reloadingAdvertFrameDoesNotEndTheWait()
    {
        QFETCH(bool, framed);
        QFETCH(QString, phone);
        QFETCH(int, outcome);
        const QString base = m_sandbox.baseUrl();
        m_engine->Providers = { framed ? SandboxProviders::galimFramed(base) : SandboxProviders::galim(base) };
        m_sandbox.clearHits();
        send(QStringLiteral("051"), phone, QStringLiteral("hi"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, outcome }));
        QVERIFY(m_engine->Confirmed);
        const QList<SandboxSubmission> got = m_sandbox.submissions();
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].fields.value(QStringLiteral("number")), phone);
        QVERIFY2(m_sandbox.hits(QStringLiteral("/galim/ad")) >= 2, "the advert did not reload while the site answered");
    }

    void errorPageResultFails()
    {
        m_engine->Providers = { SandboxProviders::shefa(m_sandbox.baseUrl()) };
        send(QStringLiteral("056"), QStringLiteral("1234567"), QStringLiteral("hi"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssFailed }));
        QVERIFY(!m_engine->Confirmed);
        QCOMPARE(m_sandbox.submissions().size(), 1);
    }

    void resultThatNeverArrivesTimesOut()
    {
        m_engine->Providers = { SandboxProviders::galim(m_sandbox.baseUrl()) };
        m_engine->TimeOut = 2;
        m_sandbox.setGalimDelay(30000);
        send(QStringLiteral("051"), QStringLiteral("1234567"), QStringLiteral("hi"));
        const bool ended = waitForEnd(10000);
        m_sandbox.setGalimDelay(2000);
        QVERIFY(ended);
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssTimedOut }));
        QCOMPARE(m_sandbox.submissions().size(), 1);
    }

    void cancelReportsZero()
    {
        send(QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("hi"));
        QTRY_VERIFY_WITH_TIMEOUT(m_statuses.contains(ssIdentifying), 20000);
        m_engine->Cancel();
        QCOMPARE(m_statuses.last(), int(ssCancelled));
        const int reported = m_statuses.size();
        QTest::qWait(1500);
        QCOMPARE(m_statuses.size(), reported);
    }

    void abortReportsNothing()
    {
        send(QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("hi"));
        QTRY_VERIFY_WITH_TIMEOUT(m_statuses.contains(ssIdentifying), 20000);
        m_engine->Abort();
        const QList<int> before = m_statuses;
        QTest::qWait(1500);
        QCOMPARE(m_statuses, before);
        QVERIFY(isBusyStatus(m_engine->Status));
        m_engine->Cancel(); // leave the engine idle for the next test
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    TestBrowserAttempt test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browserattempt.moc"
