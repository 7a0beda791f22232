// The engine worker: what crosses its pipe, and the real worker sending through the sandbox's sites.
#include "SandboxProviders.h"
#include "SandboxServer.h"
#include "engine/AttemptWire.h"

#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

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
        const std::optional<AttemptWire::Request> back = AttemptWire::decodeRequest(AttemptWire::encode(sendTo(sahar, QStringLiteral("052"))));
        QVERIFY(back);
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

        worker.closeWriteChannel();
        QVERIFY(worker.waitForFinished(15000));
        QCOMPARE(worker.exitStatus(), QProcess::NormalExit);
        QCOMPARE(worker.exitCode(), 0);
    }
};

QTEST_MAIN(TestEngineWorker)
#include "test_engineworker.moc"
