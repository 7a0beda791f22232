// zelkora-cli with its passwords in the desktop keyring: a private Secret Service, the sandbox network on
// loopback.
#include "PrivateSecretService.h"
#include "SandboxServer.h"
#include "TestEnv.h"
#include "settings/Keyring.h"

#include <QtTest>

class TestKeyringCli : public QObject
{
    Q_OBJECT

    PrivateSecretService m_service;
    SandboxServer m_sandbox;

    TestEnv::ProgramRun cli(const QStringList& args)
    {
        return TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
            QStringList { QStringLiteral("--service-url"), m_sandbox.baseUrl() } + args);
    }

    TestEnv::ProgramRun sendToSahar()
    {
        return cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"), QStringLiteral("--to"),
            QStringLiteral("052-1234567"), QStringLiteral("--text"), QStringLiteral("hi") });
    }

private slots:
    void initTestCase()
    {
        const QString problem = m_service.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(m_sandbox.listen());
        const QString config = TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
        TestEnv::writeFile(config + QStringLiteral("SMS.INI"),
            "[General]\r\nTimeOut=30\r\nUseKeyring=1\r\n[Sahar]\r\nUserName=demo\r\nPassword=\r\n");
        const TestEnv::ProgramRun refresh = cli({ QStringLiteral("refresh") });
        QVERIFY2(refresh.exitCode == 0, qPrintable(refresh.err));
    }

    void sendsWithThePasswordFromTheKeyring()
    {
        QVERIFY(Keyring::store(QStringLiteral("Sahar"), QStringLiteral("demo1234")).ok());
        const TestEnv::ProgramRun run = sendToSahar();
        QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
        QVERIFY(run.out.contains(QStringLiteral("052-1234567\t6\tssSent\t")));
    }

    // Refused as without credentials, with a line that names the provider and why.
    void lockedKeyringRefusesTheRecipient()
    {
        const QString locked = m_service.lockDefaultCollection();
        QVERIFY2(locked.isEmpty(), qPrintable(locked));
        const TestEnv::ProgramRun run = sendToSahar();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.contains(QStringLiteral("052-1234567\t-\terror\tחסרים נתוני זיהוי עבור Sahar")),
            qPrintable(run.out));
        const QString line = QStringLiteral("לא ניתן לקרוא את הסיסמה של Sahar: %1.")
                                 .arg(Keyring::Result { Keyring::Status::Locked, QString() }.text());
        QVERIFY2(run.err.contains(line), qPrintable(run.err));
        QVERIFY(!TestEnv::readFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"))
                     .contains("demo1234"));
    }

    // No keyring daemon on the bus, and no session bus at all.
    void missingKeyringRefusesTheRecipient_data()
    {
        QTest::addColumn<QString>("busAddress");
        QTest::newRow("nobody owns the name") << qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
        QTest::newRow("no bus") << QStringLiteral("unix:path=%1/no-bus").arg(QDir::tempPath());
    }
    void missingKeyringRefusesTheRecipient()
    {
        QFETCH(QString, busAddress);
        m_service.stopKeyring();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        const TestEnv::ProgramRun run
            = TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
                { QStringLiteral("--service-url"), m_sandbox.baseUrl(), QStringLiteral("send"),
                    QStringLiteral("--from"), QStringLiteral("Dana"), QStringLiteral("--to"),
                    QStringLiteral("052-1234567"), QStringLiteral("--text"), QStringLiteral("hi") },
                environment);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.contains(QStringLiteral("052-1234567\t-\terror\t")));
        QVERIFY2(run.err.contains(QStringLiteral("לא ניתן לקרוא את הסיסמה של Sahar: ")), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestKeyringCli)
#include "test_keyring_cli.moc"
