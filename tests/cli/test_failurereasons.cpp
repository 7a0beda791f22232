// Every failure says why, through the real engine against the sandbox's sites: on zelkora-cli's standard error,
// in its JSON line, and in the history, worded in the interface language when it is read.

#include "SandboxServer.h"
#include "TestEnv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestFailureReasons : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

    TestEnv::ProgramRun cli(const QStringList& args)
    {
        return TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
            QStringList { QStringLiteral("--service-url"), m_sandbox.baseUrl() } + args);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sandbox.listen());
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        QCOMPARE(cli({ QStringLiteral("refresh") }).exitCode, 0);
    }

    void eachFailureSaysWhy_data()
    {
        QTest::addColumn<QString>("to");
        QTest::addColumn<QByteArray>("definition"); // of the user's own, in providers.d; empty: the service's
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("words");
        const QByteArray base = "<#PROVIDER Name=Own AreaCodes=051 MsgForm=sms PhoneField=phone MsgField=msg "
                                "MsgSubmit=1 MsgSubmitLookup=javascript:document.sms.submit() ResAccepted=ok MsgUrl=";
        QTest::newRow("HTTP 500") << "056-1234567" << QByteArray() << QByteArray("demo1234") << "http-error"
                                  << "האתר השיב בשגיאה (HTTP 500)";
        QTest::newRow("unreachable page") << "051-1234567" << base + "%UNREACHABLE%/sms>" << QByteArray("demo1234")
                                          << "unreachable" << "לא ניתן להגיע לאתר";
        QTest::newRow("refused login") << "052-1234567" << QByteArray() << QByteArray("wrong") << "login-refused"
                                       << "האתר דחה את הכניסה";
        QTest::newRow("missing form") << "051-1234567" << QByteArray(base + "%BASE%/kesher/sms>").replace("=sms ", "=none ")
                                      << QByteArray("demo1234") << "form-missing" << "אין הטופס \"none\"";
        QTest::newRow("time-out") << "051-1234567" << base + "%BASE%/slow/sms>" << QByteArray("demo1234")
                                  << "timed-out" << "האתר לא ענה תוך 3 שניות";
        QTest::newRow("ended session") << "068-1234567" << QByteArray() << QByteArray("demo1234") << "login-again"
                                       << "האתר ביקש להתחבר מחדש";
    }
    void eachFailureSaysWhy()
    {
        QFETCH(QString, to);
        QFETCH(QByteArray, definition);
        QFETCH(QByteArray, password);
        QFETCH(QString, reason);
        QFETCH(QString, words);
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/");
        TestEnv::writeFile(config + QStringLiteral("SMS.INI"),
            "[General]\r\nTimeOut=3\r\n[Sahar]\r\nUserName=demo\r\nPassword=" + password
                + "\r\n[Arava]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        const QString folder = TestEnv::freshDir(config + QStringLiteral("providers.d"));
        if (!definition.isEmpty())
            TestEnv::writeFile(folder + QStringLiteral("own.def"),
                QByteArray(definition)
                    .replace("%BASE%", m_sandbox.baseUrl().toUtf8())
                    .replace("%UNREACHABLE%", m_sandbox.unreachableUrl().toUtf8()));

        const TestEnv::ProgramRun run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), to, QStringLiteral("--text"), QStringLiteral("hi"), QStringLiteral("--json") });
        QVERIFY2(run.exitCode == 2, qPrintable(run.out + run.err));
        QVERIFY2(run.err.contains(to + QStringLiteral(": ")) && run.err.contains(words), qPrintable(run.err));
        const QJsonObject last
            = QJsonDocument::fromJson(run.out.trimmed().split(QLatin1Char('\n')).last().toUtf8()).object();
        QCOMPARE(last.value(QStringLiteral("reason")).toString(), reason);

        const TestEnv::ProgramRun history = cli({ QStringLiteral("history"), QStringLiteral("--json") });
        const QJsonObject entry = QJsonDocument::fromJson(history.out.toUtf8()).array().first().toObject();
        QCOMPARE(entry.value(QStringLiteral("reason")).toString(), reason);
        QVERIFY2(entry.value(QStringLiteral("statusText")).toString().contains(words),
            qPrintable(entry.value(QStringLiteral("statusText")).toString()));
    }
};

QTEST_GUILESS_MAIN(TestFailureReasons)
#include "test_failurereasons.moc"
