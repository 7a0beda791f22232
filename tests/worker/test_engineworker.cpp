// The engine worker: what crosses its pipe, and the real worker sending through the sandbox's sites.
#include "SandboxProviders.h"
#include "SandboxServer.h"
#include "../engine/EngineWait.h"
#include "engine/AttemptWire.h"
#include "engine/WorkerClient.h"

#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

#include <csignal>

class TestEngineWorker : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

    static AttemptWire::Request sendTo(const TProvider& provider, const QString& area)
    {
        AttemptWire::Request request;
        request.provider = provider;
        request.areaDefs = { QStringLiteral("052=052"), QStringLiteral("054=054") };
        request.from = QStringLiteral("Dana");
        request.areaCode = area;
        request.phone = QStringLiteral("1234567");
        request.message = QStringLiteral("שלום\r\nמה נשמע");
        request.userName = QStringLiteral("demo");
        request.password = QStringLiteral("demo1234");
        request.timeOut = 20;
        return request;
    }

    // The worker's reports until the attempt ends, or none when it did not end in time. The events run
    // meanwhile: the sandbox answers in this process.
    static QList<AttemptWire::Report> untilTheEnd(QProcess& worker)
    {
        QList<AttemptWire::Report> reports;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
            while (worker.canReadLine()) {
                const std::optional<AttemptWire::Report> report = AttemptWire::decodeReport(worker.readLine());
                if (!report)
                    continue;
                reports << *report;
                if (report->kind == AttemptWire::Report::Kind::Status && !isBusyStatus(report->status))
                    return reports;
            }
        }
        return {};
    }

    static QList<int> statuses(const QList<AttemptWire::Report>& reports)
    {
        QList<int> list;
        for (const AttemptWire::Report& report : reports)
            list << report.status;
        return list;
    }

private slots:
    void initTestCase() { QVERIFY(m_sandbox.listen()); }

    void aRequestCrossesWhole()
    {
        const TProvider sahar = SandboxProviders::sahar(m_sandbox.baseUrl());
        AttemptWire::Request request = sendTo(sahar, QStringLiteral("052"));
        request.personCanAnswer = true;
        request.personLimit = 1500;
        request.languageModule = QStringLiteral("/usr/share/zelkora/zelkora.ENU");
        request.personNear = QRect(-40, 10, 300, 600);
        const std::optional<AttemptWire::Request> back = AttemptWire::decodeRequest(AttemptWire::encode(request));
        QVERIFY(back);
        QVERIFY(back->personCanAnswer && back->personLimit == 1500);
        QCOMPARE(back->languageModule, request.languageModule);
        QCOMPARE(back->personNear, request.personNear);
        QCOMPARE(back->provider.parameters(), sahar.parameters());
        QCOMPARE(back->message, QStringLiteral("שלום\r\nמה נשמע"));
        QCOMPARE(back->password, QStringLiteral("demo1234"));
        QCOMPARE(back->timeOut, 20);

        AttemptWire::Report report;
        report.status = ssTimedOut;
        report.submitted = true;
        report.failure = { FailureReason::TimedOut, QStringLiteral("20") };
        const std::optional<AttemptWire::Report> read = AttemptWire::decodeReport(AttemptWire::encode(report));
        QVERIFY(read && read->status == ssTimedOut && read->submitted && !read->confirmed);
        QCOMPARE(read->failure.reason, FailureReason::TimedOut);

        AttemptWire::Report saved;
        saved.kind = AttemptWire::Report::Kind::DefinitionSaved;
        saved.address = QStringLiteral("/home/dana/.local/share/zelkora/providers/Magen.ini");
        const std::optional<AttemptWire::Report> heard = AttemptWire::decodeReport(AttemptWire::encode(saved));
        QVERIFY(heard && heard->kind == AttemptWire::Report::Kind::DefinitionSaved);
        QCOMPARE(heard->address, saved.address);
    }

    void linesThatAreNoReportAreRefused_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("not JSON") << QByteArray("status 6\n");
        QTest::newRow("unknown kind") << QByteArray("{\"report\":\"sent\"}\n");
        QTest::newRow("status out of range") << QByteArray("{\"report\":\"status\",\"status\":42}\n");
        QTest::newRow("a request") << QByteArray("{\"request\":\"cancel\"}\n");
    }
    void linesThatAreNoReportAreRefused()
    {
        QFETCH(QByteArray, line);
        QVERIFY(!AttemptWire::decodeReport(line));
    }

    void theWorkerSendsAndEndsWithItsInput()
    {
        QProcess worker;
        worker.setProcessChannelMode(QProcess::SeparateChannels);
        worker.setStandardErrorFile(QProcess::nullDevice());
        worker.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-engine"), QStringList());
        QVERIFY(worker.waitForStarted());

        // A login in a frame, then an operator without a login; a line that is no request between them
        // changes nothing.
        worker.write(AttemptWire::encode(sendTo(SandboxProviders::sahar(m_sandbox.baseUrl()), QStringLiteral("052"))));
        QList<AttemptWire::Report> reports = untilTheEnd(worker);
        QVERIFY2(!reports.isEmpty() && reports.last().status == ssSent, qPrintable(reports.value(reports.size() - 1).diagnostic));
        QCOMPARE(statuses(reports), (QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssSending, ssSent }));
        QVERIFY(reports.last().submitted && reports.last().confirmed);

        worker.write("hello\n");
        worker.write(AttemptWire::encode(sendTo(SandboxProviders::kesher(m_sandbox.baseUrl()), QStringLiteral("054"))));
        reports = untilTheEnd(worker);
        QCOMPARE(statuses(reports), (QList<int> { ssConnecting, ssIdentified, ssSending, ssSent }));
        QCOMPARE(m_sandbox.submissions().size(), 3);

        // The worker's browser keeps sahar's login for a list's next recipient.
        AttemptWire::Request next = sendTo(SandboxProviders::sahar(m_sandbox.baseUrl()), QStringLiteral("052"));
        next.keepSession = true;
        QVERIFY(AttemptWire::decodeRequest(AttemptWire::encode(next))->keepSession);
        worker.write(AttemptWire::encode(next));
        reports = untilTheEnd(worker);
        QCOMPARE(statuses(reports), (QList<int> { ssConnecting, ssIdentified, ssSending, ssSent }));
        QVERIFY(reports.last().keptSession);
        QCOMPARE(m_sandbox.submissions().size(), 4);

        worker.closeWriteChannel();
        QVERIFY(worker.waitForFinished(15000));
        QCOMPARE(worker.exitStatus(), QProcess::NormalExit);
        QCOMPARE(worker.exitCode(), 0);
    }

    // The engine as the desktop program drives it, its attempts in the worker: a worker killed in the middle
    // of a send or stopped dead ends that attempt as "the browser stopped", and the next send has a new one;
    // an idle worker is let go and started again.
    void aWorkerThatDiesOrHangsIsReplaced_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("killed") << int(SIGKILL);
        QTest::newRow("hung") << int(SIGSTOP);
    }
    void aWorkerThatDiesOrHangsIsReplaced()
    {
        QFETCH(int, signal);
        WorkerClient worker;
        worker.setIdleTime(500);
        TSMSBaseForm engine;
        engine.useWorker(&worker);
        TProvider slow = SandboxProviders::named(QStringLiteral("Slow"), m_sandbox.baseUrl());
        slow.AreaCodes = QStringLiteral("059");
        slow.LoginUrl.clear();
        slow.MsgUrl = m_sandbox.baseUrl() + QStringLiteral("/slow/sms");
        engine.Providers = { slow, SandboxProviders::kesher(m_sandbox.baseUrl()) };
        engine.AreaDefs = { QStringLiteral("054=054"), QStringLiteral("059=059") };
        engine.TimeOut = 1;

        engine.Send(QStringLiteral("Dana"), QStringLiteral("059"), QStringLiteral("1234567"), QStringLiteral("hi"), {}, {});
        QTRY_COMPARE_WITH_TIMEOUT(engine.Status, ssConnecting, 15000);
        const qint64 first = worker.processId();
        QVERIFY(first > 0);
        ::kill(pid_t(first), signal);
        QVERIFY(waitForAttemptEnd(engine, 30000));
        QCOMPARE(engine.Status, ssFailed);
        QCOMPARE(engine.Failure.reason, FailureReason::BrowserStopped);

        engine.TimeOut = 20;
        engine.Send(QStringLiteral("Dana"), QStringLiteral("054"), QStringLiteral("1234567"), QStringLiteral("hi"), {}, {});
        QVERIFY(waitForAttemptEnd(engine, 30000));
        QVERIFY2(engine.Status == ssSent, qPrintable(engine.Diagnostic));
        QVERIFY(engine.Submitted && engine.Confirmed);
        QVERIFY(worker.processId() != first);
        // Nothing more to do: the worker goes.
        QTRY_VERIFY_WITH_TIMEOUT(!worker.running(), 15000);
    }

    // The end of an attempt cancelled just before is no news of the next one.
    void aCancelledAttemptsEndDoesNotEndTheNextOne()
    {
        WorkerClient worker;
        TSMSBaseForm engine;
        engine.useWorker(&worker);
        TProvider slow = SandboxProviders::kesher(m_sandbox.baseUrl());
        slow.Name = QStringLiteral("Slow");
        slow.AreaCodes = QStringLiteral("059");
        slow.MsgUrl = m_sandbox.baseUrl() + QStringLiteral("/slow/sms");
        engine.Providers = { slow, SandboxProviders::kesher(m_sandbox.baseUrl()) };
        engine.AreaDefs = { QStringLiteral("054=054"), QStringLiteral("059=059") };
        engine.TimeOut = 20;
        engine.Send(QStringLiteral("Dana"), QStringLiteral("059"), QStringLiteral("1234567"), QStringLiteral("hi"), {}, {});
        QTRY_VERIFY_WITH_TIMEOUT(worker.running(), 15000);
        QTest::qWait(500);
        engine.Cancel();
        engine.Send(QStringLiteral("Dana"), QStringLiteral("054"), QStringLiteral("1234567"), QStringLiteral("hi"), {}, {});
        QVERIFY(waitForAttemptEnd(engine, 30000));
        QVERIFY2(engine.Status == ssSent, qPrintable(engine.Diagnostic));
    }

    // A send that comes while the idle worker is being let go goes to a new one.
    void aSendWhileTheWorkerIsLetGoIsSent()
    {
        WorkerClient worker;
        worker.setIdleTime(1);
        TSMSBaseForm engine;
        engine.useWorker(&worker);
        engine.Providers = { SandboxProviders::kesher(m_sandbox.baseUrl()) };
        engine.AreaDefs = { QStringLiteral("054=054") };
        engine.TimeOut = 20;
        for (int i = 0; i < 2; ++i) {
            engine.Send(QStringLiteral("Dana"), QStringLiteral("054"), QStringLiteral("1234567"), QStringLiteral("hi"), {}, {});
            QVERIFY(waitForAttemptEnd(engine, 30000));
            QVERIFY2(engine.Status == ssSent, qPrintable(engine.Diagnostic));
            // The idle time runs out; the worker's input is closed and it has not ended yet.
            QTest::qWait(20);
        }
    }

    // A worker that dies after the message left for the site leaves an attempt of unknown outcome, never one
    // not sent.
    void aSubmittedMessageIsNeverCalledNotSent()
    {
        WorkerClient worker;
        TSMSBaseForm engine;
        engine.useWorker(&worker);
        const TProvider yarden = SandboxProviders::named(QStringLiteral("Yarden"), m_sandbox.baseUrl());
        QVERIFY(!yarden.Name.isEmpty());
        engine.Providers = { yarden };
        engine.AreaDefs = { yarden.AreaCodes + QLatin1Char('=') + yarden.AreaCodes };
        engine.TimeOut = 30;
        engine.SettleTime = 20000;
        // A number the site answers with silence: the attempt waits for a verdict after the submission.
        engine.Send(QStringLiteral("Dana"), yarden.AreaCodes, QStringLiteral("8123456"), QStringLiteral("hi"), {}, {});
        QTRY_VERIFY_WITH_TIMEOUT(engine.Submitted, 20000);
        ::kill(pid_t(worker.processId()), SIGKILL);
        QVERIFY(waitForAttemptEnd(engine, 15000));
        QCOMPARE(engine.Failure.reason, FailureReason::BrowserStopped);
        QCOMPARE(engine.Outcome(), SendOutcome::Unknown);
    }
};

QTEST_MAIN(TestEngineWorker)
#include "test_engineworker.moc"
