// zelkora-cli as a user runs it, against the sandbox network in this process.
#include "SandboxServer.h"
#include "TestEnv.h"

#include <QProcess>
#include <QtTest>

class TestCli : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // Runs the program while this process goes on serving the sandbox.
    Run cli(const QStringList& args)
    {
        QProcess process;
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
                      QStringList{QStringLiteral("--service-url"), m_sandbox.baseUrl()} + args);
        Run run;
        if (!process.waitForStarted(10000))
            return run;
        QElapsedTimer timer;
        timer.start();
        while (process.state() != QProcess::NotRunning && timer.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

private slots:
    void initTestCase() { QVERIFY(m_sandbox.listen()); }

    void init()
    {
        const QString config = TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
        TestEnv::writeFile(config + QStringLiteral("SMS.INI"),
                           "[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        m_sandbox.clearSubmissions();
    }

    void refreshThenSendToTwoRecipients()
    {
        const Run refresh = cli({QStringLiteral("refresh")});
        QVERIFY2(refresh.exitCode == 0, qPrintable(refresh.err));
        QVERIFY(QFile::exists(qEnvironmentVariable("ZELKORA_APPDIR") + QStringLiteral("/providers.dat")));

        const Run send = cli({QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("דנה"), QStringLiteral("--to"),
                              QStringLiteral("052-1234567"), QStringLiteral("--to"), QStringLiteral("057-7654321"),
                              QStringLiteral("--text"), QStringLiteral("שלום")});
        QVERIFY2(send.exitCode == 0, qPrintable(send.out + send.err));
        QVERIFY(send.out.contains(QStringLiteral("052-1234567\t6\tssSent\tההודעה נשלחה")));
        QVERIFY(send.out.contains(QStringLiteral("057-7654321\t6\tssSent\tההודעה נשלחה")));

        QStringList sent;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.outcome == QLatin1String("accepted"))
                sent << s.path;
        }
        QCOMPARE(sent, (QStringList{QStringLiteral("/sahar/send"), QStringLiteral("/kesher/send")}));
    }

    void refusedInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("text");
        const QString to = QStringLiteral("052-1234567");
        QTest::newRow("empty message") << QStringList{"--from", "Dana", "--to", to, "--text", ""} << 1 << "ההודעה ריקה";
        QTest::newRow("106 characters") << QStringList{"--from", "Dana1", "--to", to, "--text", QString(101, 'x')} << 1
                                        << "סה\"כ תוים למשלוח גדול מ 105.";
        QTest::newRow("empty sender") << QStringList{"--from", "", "--to", to, "--text", "hi"} << 1 << "שם השולח חסר";
        QTest::newRow("incomplete number") << QStringList{"--from", "Dana", "--to", "052-", "--text", "hi"} << 1
                                           << "מספר הטלפון אינו שלם";
        QTest::newRow("unknown provider") << QStringList{"--from", "Dana", "--to", "099-1234567", "--text", "hi"} << 1
                                          << "099-1234567\t-\terror\tספק תקשורת לא מוכר";
    }
    void refusedInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, text);
        QVERIFY(cli({QStringLiteral("refresh")}).exitCode == 0);
        const Run run = cli(QStringList{QStringLiteral("send")} + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((run.out + run.err).contains(text), qPrintable(run.out + run.err));
        QVERIFY(m_sandbox.submissions().isEmpty());
    }

    void missingCredentialsNameTheProvider()
    {
        TestEnv::writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"), "[General]\r\n");
        QVERIFY(cli({QStringLiteral("refresh")}).exitCode == 0);
        const Run run = cli({QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"), QStringLiteral("--to"),
                             QStringLiteral("050-1234567"), QStringLiteral("--text"), QStringLiteral("hi")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.contains(QStringLiteral("050-1234567\t-\terror\tחסרים נתוני זיהוי עבור Sahar")));
    }

    // Several recipients are a list: one that cannot be sent to gets its own error line, the others are sent.
    void listGoesOnPastARecipientWithAProblem()
    {
        QVERIFY(cli({QStringLiteral("refresh")}).exitCode == 0);
        const Run run = cli({QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
                             QStringLiteral("--to"), QStringLiteral("052-1234567"), QStringLiteral("--to"),
                             QStringLiteral("0547654321"), QStringLiteral("--to"), QStringLiteral("055-1234567"),
                             QStringLiteral("--to"), QStringLiteral("057-7654321"), QStringLiteral("--text"),
                             QStringLiteral("שלום 😀")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.contains(QStringLiteral("052-1234567\t6\tssSent\tההודעה נשלחה")), qPrintable(run.out));
        QVERIFY(run.out.contains(QStringLiteral("0547654321\t-\terror\tספק תקשורת לא מוכר")));
        QVERIFY(run.out.contains(QStringLiteral("055-1234567\t-\terror\tחסרים נתוני זיהוי עבור Ofek")));
        QVERIFY(run.out.contains(QStringLiteral("057-7654321\t6\tssSent\tההודעה נשלחה")));
        QCOMPARE(m_sandbox.submissions().size(), 3); // the sahar login, its message and kesher's
    }

    void refreshWithoutFinishedLeavesTheCache()
    {
        m_sandbox.setInitDocument("<#PROVIDERS>\r\n<#PROVIDER Name=X AreaCodes=099>\r\n");
        const Run run = cli({QStringLiteral("refresh")});
        m_sandbox.resetInitDocument();
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!QFile::exists(qEnvironmentVariable("ZELKORA_APPDIR") + QStringLiteral("/providers.dat")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
