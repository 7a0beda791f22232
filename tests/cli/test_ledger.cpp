// Each message at most once, through zelkora-cli's real processes and the sandbox's sites on 127.0.0.1, which
// record every message submission they receive: a list killed in the middle, a message whose verdict never
// came, and a list queued on a disk that fills up.
#include "SandboxServer.h"
#include "TestEnv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <csignal>

class TestLedger : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

    QString cliPath() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"); }
    QStringList withService(const QStringList& args) const
    {
        return QStringList { QStringLiteral("--service-url"), m_sandbox.baseUrl() } + args;
    }
    TestEnv::ProgramRun cli(const QStringList& args) { return TestEnv::runProgram(cliPath(), withService(args)); }

    // The numbers whose message reached a site's /send, in order.
    QStringList sentNumbers() const
    {
        QStringList numbers;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.path.endsWith(QLatin1String("/send")))
                numbers << s.fields.value(QStringLiteral("number"), s.fields.value(QStringLiteral("phone")));
        }
        return numbers;
    }

    // The history's entries by number, each with its outcome.
    QMap<QString, QString> outcomes()
    {
        const TestEnv::ProgramRun run = cli({ QStringLiteral("history"), QStringLiteral("--json") });
        QMap<QString, QString> byNumber;
        for (const QJsonValue& entry : QJsonDocument::fromJson(run.out.toUtf8()).array())
            byNumber.insert(entry[QStringLiteral("phone")].toString(), entry[QStringLiteral("outcome")].toString());
        return byNumber;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sandbox.listen());
        TestEnv::noProxy();
    }

    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), "[General]\r\nTimeOut=30\r\n");
        QCOMPARE(cli({ QStringLiteral("refresh") }).exitCode, 0);
        m_sandbox.clearSubmissions();
    }

    // Killed while the second of four recipients is under way: every recipient has its row, the one under way
    // may have been sent, and retry sends only the two never started.
    void killedInTheMiddleOfAList()
    {
        m_sandbox.setGalimDelay(3000);
        QProcess send;
        send.setProgram(cliPath());
        send.setArguments(withService({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("051-1000001"), QStringLiteral("--to"),
            QStringLiteral("051-1000002"), QStringLiteral("--to"), QStringLiteral("051-1000003"),
            QStringLiteral("--to"), QStringLiteral("051-1000004"), QStringLiteral("--text"), QStringLiteral("hi") }));
        const auto killer
            = connect(&m_sandbox, &SandboxServer::submissionReceived, this, [&send](const SandboxSubmission& s) {
                  if (s.fields.value(QStringLiteral("number")) == QLatin1String("1000002"))
                      ::kill(pid_t(send.processId()), SIGKILL);
              });
        send.start();
        QVERIFY(send.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(send.state(), QProcess::NotRunning, 60000);
        disconnect(killer);
        m_sandbox.setGalimDelay(0);
        QCOMPARE(send.exitStatus(), QProcess::CrashExit);

        const QMap<QString, QString> expected { { QStringLiteral("1000001"), QStringLiteral("sent") },
            { QStringLiteral("1000002"), QStringLiteral("unknown") },
            { QStringLiteral("1000003"), QStringLiteral("pending") },
            { QStringLiteral("1000004"), QStringLiteral("pending") } };
        QCOMPARE(outcomes(), expected);

        m_sandbox.clearSubmissions();
        const TestEnv::ProgramRun retry = cli({ QStringLiteral("retry") });
        QVERIFY2(retry.exitCode == 0, qPrintable(retry.out + retry.err));
        QCOMPARE(sentNumbers(), (QStringList { QStringLiteral("1000003"), QStringLiteral("1000004") }));
        QVERIFY2(retry.err.contains(QStringLiteral("1 recipient(s) left out")), qPrintable(retry.err));
    }

    // A message submitted without a verdict is never sent again unless the user says so.
    void noVerdictIsNotSentAgainWithoutTheUsersWord()
    {
        const TestEnv::ProgramRun send = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("062-8000001"), QStringLiteral("--to"),
            QStringLiteral("054-1000001"), QStringLiteral("--text"), QStringLiteral("hi") });
        QCOMPARE(send.exitCode, 3);
        QCOMPARE(outcomes().value(QStringLiteral("8000001")), QStringLiteral("unknown"));

        m_sandbox.clearSubmissions();
        const TestEnv::ProgramRun retry = cli({ QStringLiteral("retry") });
        QCOMPARE(retry.exitCode, 0);
        QVERIFY(sentNumbers().isEmpty());
        QVERIFY2(retry.err.contains(QStringLiteral("062-8000001")), qPrintable(retry.err));

        const TestEnv::ProgramRun again = cli({ QStringLiteral("retry"), QStringLiteral("--include-unknown") });
        QCOMPARE(again.exitCode, 3);
        QCOMPARE(sentNumbers(), QStringList { QStringLiteral("8000001") });
    }

    // Credentials used with one login page never reach another without the user's word: the site logs no
    // login at all until --accept-login-origin says so.
    void credentialsStayWithTheirLoginPage()
    {
        TestEnv::writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"),
            "[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n"
            "LoginOrigin=https://sahar.example:443\r\n");
        const QStringList send { QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("052-1234567"), QStringLiteral("--text"), QStringLiteral("hi") };
        const TestEnv::ProgramRun refused = cli(send);
        QCOMPARE(refused.exitCode, 1); // nothing reached a site
        QVERIFY2(refused.err.contains(QStringLiteral("--accept-login-origin")), qPrintable(refused.err));
        QVERIFY(m_sandbox.submissions().isEmpty());

        const TestEnv::ProgramRun accepted = cli(send + QStringList { QStringLiteral("--accept-login-origin") });
        QVERIFY2(accepted.exitCode == 0, qPrintable(accepted.err));
        QCOMPARE(m_sandbox.submissions().size(), 2); // the login, then the message
    }

    // A list queued on a disk that fills up goes into the queue whole or not at all.
    void aListQueuedOnAFullDiskIsAllOrNothing()
    {
        QCOMPARE(cli({ QStringLiteral("history") }).exitCode, 0); // the history exists, small
        QStringList args { QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--text"), QString(60, QLatin1Char('x')), QStringLiteral("--at"),
            QDateTime::currentDateTime().addDays(1).toString(QStringLiteral("yyyy-MM-dd HH:mm")) };
        for (int i = 0; i < 300; ++i)
            args << QStringLiteral("--to") << QStringLiteral("054-%1").arg(2000000 + i);
        // Writes past 64 KiB fail (and do not kill the program), as on a disk that is full.
        QProcess full;
        const QStringList shell { QStringLiteral("-c"),
            QStringLiteral("trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$@\""), cliPath() };
        full.start(QStringLiteral("bash"), shell + withService(args));
        QVERIFY(full.waitForFinished(60000));
        QVERIFY2(full.exitCode() != 0, full.readAllStandardOutput().constData());
        QCOMPARE(outcomes().size(), 0);

        const TestEnv::ProgramRun queued = cli(args);
        QVERIFY2(queued.exitCode == 0, qPrintable(queued.err));
        const QMap<QString, QString> all = outcomes();
        QCOMPARE(all.size(), 300);
        QCOMPARE(all.values().count(QStringLiteral("scheduled")), 300);
    }
};

QTEST_GUILESS_MAIN(TestLedger)
#include "test_ledger.moc"
