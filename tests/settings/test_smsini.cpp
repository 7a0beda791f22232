#include "TestEnv.h"
#include "common/AppPaths.h"
#include "common/ErrorReport.h"
#include "settings/Credentials.h"
#include "settings/SmsIni.h"

#include <QtTest>

namespace {
TProvider provider(const QString& name, const QString& user = QString(), const QString& password = QString())
{
    TProvider p;
    p.Name = name;
    p.UserName = user;
    p.Password = password;
    return p;
}
} // namespace

class TestSmsIni : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnv::freshConfigDir(); }

    void defaultsWithoutFile()
    {
        const SmsIni ini;
        QCOMPARE(ini.fileName(), qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"));
        QCOMPARE(ini.lastFrom(), QString());
        QCOMPARE(ini.lastRecipient(), QString());
        QCOMPARE(ini.lastPhone(), QString());
        QCOMPARE(ini.lastAreaCode(), QStringLiteral("03"));
        QCOMPARE(ini.timeOut(), 60);
        QCOMPARE(ini.usePopupStatus(), false);
        QCOMPARE(ini.autoStart(), true);
        QCOMPARE(ini.useOutlook(), false);
        QCOMPARE(ini.userName(QStringLiteral("Cellcom")), QString());
        QCOMPARE(ini.password(QStringLiteral("Cellcom")), QString());
        QVERIFY(!QFileInfo::exists(ini.fileName()));
    }

    void writesUnderTheirKeys()
    {
        SmsIni ini;
        ini.setLastFrom(QStringLiteral("דני"));
        ini.setLastRecipient(QStringLiteral("Ruth"));
        ini.setLastPhone(QStringLiteral("1234567"));
        ini.setLastAreaCode(QStringLiteral("052"));
        ini.setTimeOut(30);
        ini.setUsePopupStatus(true);
        ini.setAutoStart(false);
        ini.setUseOutlook(true);
        ini.setUserName(QStringLiteral("Orange"), QStringLiteral("user"));
        ini.setPassword(QStringLiteral("Orange"), QStringLiteral("pw"));
        QCOMPARE(TestEnv::readFile(SmsIni::defaultPath()),
            QStringLiteral("[General]\nLastFrom=דני\nLastRecipient=Ruth\nLastPhone=1234567\nLastAreaCode=052\n"
                           "TimeOut=30\nUsePopupStatus=1\nAutoStart=0\nUseOutlook=1\n\n"
                           "[Orange]\nUserName=user\nPassword=pw\n")
                .toUtf8());
        QCOMPARE(ini.lastFrom(), QStringLiteral("דני"));
        QCOMPARE(ini.timeOut(), 30);
        QCOMPARE(ini.autoStart(), false);
    }

    void loadCredentials()
    {
        TestEnv::writeFile(SmsIni::defaultPath(),
            "[CELLCOM]\nusername=c-user\nPASSWORD=c-pw\n"
            "[Old Orange]\nUserName=o-user\nPassword=o-pw\n");
        // Orange was renamed by the service: its credentials stay under the old name and it gets none.
        TProviders providers { provider(QStringLiteral("Cellcom")),
            provider(QStringLiteral("Orange"), QStringLiteral("stale"), QStringLiteral("stale")),
            provider(QStringLiteral("Pelephone")) };
        LoadCredentials(providers);
        QCOMPARE(providers[0].UserName, QStringLiteral("c-user"));
        QCOMPARE(providers[0].Password, QStringLiteral("c-pw"));
        QCOMPARE(providers[1].UserName, QString());
        QCOMPARE(providers[1].Password, QString());
        QCOMPARE(providers[2].UserName, QString());
        QVERIFY(SmsIni().SectionExists(QStringLiteral("Old Orange")));
    }

    void refusedWriteReportsTheFileName()
    {
        // A file where the settings folder should be: nothing can be written, whoever runs the test.
        const QString dir = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora");
        QDir(dir).removeRecursively();
        TestEnv::writeFile(dir, "in the way");
        SmsIni ini;
        QCOMPARE(ini.timeOut(), 60);
        QVERIFY_THROWS_EXCEPTION(ZelkoraError, ini.setTimeOut(5));
        try {
            ini.setLastFrom(QStringLiteral("x"));
            QFAIL("the write was not refused");
        } catch (const ZelkoraError& e) {
            QCOMPARE(ErrorReport::displayText(e.message()), QStringLiteral("Unable to write to SMS.INI."));
        }
        QFile::remove(dir);
    }

    // ServiceURL: an http or https address is stored as typed and comes into force; anything else is refused
    // and, found in the file, not used.
    void serviceUrlReadWrittenRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("stored");
        QTest::newRow("https") << "https://sms.example.org/defs/" << true;
        QTest::newRow("http, spaces around") << "  http://10.0.0.5:8080  " << true;
        QTest::newRow("empty clears") << "" << true;
        QTest::newRow("ftp") << "ftp://example.org/" << false;
        QTest::newRow("no scheme") << "example.org" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
    }
    void serviceUrlReadWrittenRefused()
    {
        QFETCH(QString, typed);
        QFETCH(bool, stored);
        qunsetenv("ZELKORA_SERVICE_URL");
        SmsIni ini;
        QVERIFY(ini.setServiceUrl(QStringLiteral("https://before.example/")));
        QCOMPARE(ini.setServiceUrl(typed), stored);
        const QString expected = stored ? typed.trimmed() : QStringLiteral("https://before.example/");
        QCOMPARE(SmsIni().serviceUrl(), expected);
        QCOMPARE(ini.ReadString(SmsIni::General, SmsIni::ServiceUrlKey, QString()), expected);

        // Written by hand: not used, and the address in force is not taken from it.
        ini.WriteString(SmsIni::General, SmsIni::ServiceUrlKey, typed);
        QCOMPARE(SmsIni().serviceUrl(), stored ? typed.trimmed() : QString());
        if (!stored)
            QCOMPARE(AppPaths::serviceUrl(), QStringLiteral(ZELKORA_SERVICE_URL_DEFAULT));
        qputenv("ZELKORA_SERVICE_URL", "http://127.0.0.1:9");
    }

    // The option over the environment over the settings over the build; the environment set to nothing
    // means no service.
    void serviceUrlPrecedence()
    {
        SmsIni ini;
        QVERIFY(ini.setServiceUrl(QStringLiteral("https://settings.example")));
        qunsetenv("ZELKORA_SERVICE_URL");
        QCOMPARE(AppPaths::serviceUrl(), QStringLiteral("https://settings.example"));
        qputenv("ZELKORA_SERVICE_URL", "http://env.example/");
        QCOMPARE(AppPaths::serviceUrl(), QStringLiteral("http://env.example"));
        AppPaths::setServiceUrlOverride(QStringLiteral("http://option.example"));
        QCOMPARE(AppPaths::serviceUrl(), QStringLiteral("http://option.example"));
        AppPaths::setServiceUrlOverride(QString());
        qputenv("ZELKORA_SERVICE_URL", QByteArray());
        QCOMPARE(AppPaths::serviceUrl(), QString());
        QVERIFY(ini.setServiceUrl(QString()));
        qunsetenv("ZELKORA_SERVICE_URL");
        QCOMPARE(AppPaths::serviceUrl(), QStringLiteral(ZELKORA_SERVICE_URL_DEFAULT));
        qputenv("ZELKORA_SERVICE_URL", "http://127.0.0.1:9");
    }
};

QTEST_GUILESS_MAIN(TestSmsIni)
#include "test_smsini.moc"
