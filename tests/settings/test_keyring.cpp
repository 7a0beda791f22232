// Passwords in the desktop keyring, against a real Secret Service (gnome-keyring-daemon) on a private bus.
#include "PrivateSecretService.h"
#include "ScriptedPrompt.h"
#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "settings/Credentials.h"
#include "settings/Keyring.h"
#include "settings/PreferencesHost.h"
#include "settings/SmsIni.h"
#include "settings/TPreferencesForm.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
TProvider provider(const QString& name)
{
    TProvider p;
    p.Name = name;
    p.LoginUrl = QStringLiteral("https://login.example/");
    return p;
}

class FakeHost : public PreferencesHost
{
public:
    TProviders list;
    TProviders& providers() override { return list; }
    bool definitionsAvailable() const override { return true; }
    void setUsePopupStatus(bool) override { }
    void setSendTimeOut(int) override { }
};

QByteArray iniBytes()
{
    return TestEnv::readFile(SmsIni::defaultPath());
}

void writeIni(const QByteArray& text)
{
    TestEnv::writeFile(SmsIni::defaultPath(), text);
}

// A keyring that cannot be reached must not hold anything up: the bus answers at once that nobody owns the
// name.
constexpr qint64 FailsFastMs = 2000;
} // namespace

class TestKeyring : public QObject
{
    Q_OBJECT

    PrivateSecretService m_service;

private slots:
    void initTestCase()
    {
        const QString problem = m_service.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void init()
    {
        TestEnv::freshConfigDir();
        const Keyring::Contents left = Keyring::read();
        QVERIFY2(left.result.ok(), qPrintable(left.result.text()));
        for (auto it = left.passwords.cbegin(); it != left.passwords.cend(); ++it)
            QVERIFY(Keyring::remove(it.key()).ok());
    }

    void storeAndRead_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("latin") << QStringLiteral("s3cret");
        QTest::newRow("hebrew and blanks at the ends") << QStringLiteral(" סוד גדול ");
        QTest::newRow("profile-file characters") << QStringLiteral("a=\"b\";[c]");
        QTest::newRow("outside the basic plane") << QStringLiteral("key\U0001F511");
    }
    void storeAndRead()
    {
        QFETCH(QString, password);
        const QString name = QStringLiteral("Store %1").arg(QTest::currentDataTag());
        ScriptedPrompt prompt(false);
        SmsIni ini;
        ini.setUserName(name, QStringLiteral("user"));
        QVERIFY(setUseKeyring(true));

        storePassword(name, password);
        QCOMPARE(Keyring::read().passwords.value(name), password);
        QCOMPARE(SmsIni().password(name), QString());
        QVERIFY(!iniBytes().contains(password.toUtf8()));

        TProviders providers { provider(name) };
        LoadCredentials(providers);
        QCOMPARE(providers[0].UserName, QStringLiteral("user"));
        QCOMPARE(providers[0].Password, password);
        // Clearing the field clears the stored password.
        storePassword(name, QString());
        QVERIFY(!Keyring::read().passwords.contains(name));
        QVERIFY(prompt.asked.isEmpty() && prompt.told.isEmpty());
    }

    // Every section's password moves, also of a provider the definitions no longer name; switching off puts
    // them back and empties the keyring, and on again moves them once more.
    void switchOffAndOnAgain()
    {
        ScriptedPrompt prompt(false);
        writeIni("[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=pw-sahar\r\n"
                 "[Ofek]\r\nPassword=pw-ofek\r\n[Gone]\r\nPassword=pw-gone\r\n[Kesher]\r\nUserName=k\r\n");
        const QHash<QString, QString> passwords { { QStringLiteral("Sahar"), QStringLiteral("pw-sahar") },
            { QStringLiteral("Ofek"), QStringLiteral("pw-ofek") },
            { QStringLiteral("Gone"), QStringLiteral("pw-gone") } };

        for (int round = 0; round < 2; ++round) {
            QVERIFY(setUseKeyring(true));
            QVERIFY(SmsIni().useKeyring());
            QCOMPARE(Keyring::read().passwords, passwords);
            QVERIFY2(!iniBytes().contains("pw-"), iniBytes().constData());
            TProviders providers { provider(QStringLiteral("Sahar")), provider(QStringLiteral("Ofek")) };
            LoadCredentials(providers);
            QCOMPARE(providers[0].Password, QStringLiteral("pw-sahar"));
            QCOMPARE(providers[1].Password, QStringLiteral("pw-ofek"));

            QVERIFY(setUseKeyring(false));
            const SmsIni ini;
            QVERIFY(!ini.useKeyring());
            for (auto it = passwords.cbegin(); it != passwords.cend(); ++it)
                QCOMPARE(ini.password(it.key()), it.value());
            QVERIFY(Keyring::read().passwords.isEmpty());
            QCOMPARE(ini.userName(QStringLiteral("Sahar")), QStringLiteral("demo"));
        }
        QVERIFY(prompt.asked.isEmpty() && prompt.told.isEmpty());
    }

    // The preferences' OK moves the passwords before it stores the one typed, so that goes where the new
    // setting keeps passwords.
    void preferencesOkSwitches()
    {
        ScriptedPrompt prompt(false);
        writeIni("[Cellcom]\r\nUserName=c-user\r\nPassword=c-old\r\n");
        FakeHost host;
        host.list = { provider(QStringLiteral("Cellcom")) };
        LoadCredentials(host.list);
        {
            TPreferencesForm form(host);
            QVERIFY(!form.keyringBox->isChecked());
            form.keyringBox->setChecked(true);
            form.passwordEdit->setText(QStringLiteral("c-new"));
            QTest::mouseClick(form.okButton, Qt::LeftButton);
            QCOMPARE(form.result(), int(QDialog::Accepted));
        }
        QCOMPARE(Keyring::read().passwords.value(QStringLiteral("Cellcom")), QStringLiteral("c-new"));
        QVERIFY(!iniBytes().contains("c-old") && !iniBytes().contains("c-new"));
        QCOMPARE(host.list[0].Password, QStringLiteral("c-new"));
        {
            TPreferencesForm form(host);
            QVERIFY(form.keyringBox->isChecked());
            QCOMPARE(form.passwordEdit->text(), QStringLiteral("c-new"));
            form.keyringBox->setChecked(false);
            QTest::mouseClick(form.okButton, Qt::LeftButton);
            QCOMPARE(form.result(), int(QDialog::Accepted));
        }
        QCOMPARE(SmsIni().password(QStringLiteral("Cellcom")), QStringLiteral("c-new"));
        QVERIFY(!Keyring::read().passwords.contains(QStringLiteral("Cellcom")));
        QVERIFY(prompt.asked.isEmpty() && prompt.told.isEmpty());
    }

    // A locked keyring is told once, names the provider whose password it holds, and a password typed then is
    // written to SMS.INI only with the user's word; otherwise it lasts for this run.
    void lockedKeyring()
    {
        ScriptedPrompt prompt(false);
        writeIni("[General]\r\nUseKeyring=1\r\n[Held]\r\nUserName=h\r\n[Other]\r\nUserName=o\r\n");
        QVERIFY(Keyring::store(QStringLiteral("Held"), QStringLiteral("held-pw")).ok());
        const QString locked = m_service.lockDefaultCollection();
        QVERIFY2(locked.isEmpty(), qPrintable(locked));

        TProviders providers { provider(QStringLiteral("Held")), provider(QStringLiteral("Other")) };
        LoadCredentials(providers);
        QCOMPARE(providers[0].Password, QString());
        QCOMPARE(prompt.told.size(), 1);
        QVERIFY2(prompt.told[0].contains(QStringLiteral("Held")), qPrintable(prompt.told[0]));
        QVERIFY(prompt.told[0].contains(Keyring::Result { Keyring::Status::Locked, QString() }.text()));
        // Other has no password in the keyring at all.
        QVERIFY(!prompt.told[0].contains(QStringLiteral("Other")));
        LoadCredentials(providers);
        QCOMPARE(prompt.told.size(), 1);

        // The desktop cannot ask here, which is the user refusing to unlock.
        storePassword(QStringLiteral("Held"), QStringLiteral("typed-pw"));
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked[0].contains(QStringLiteral("Held")));
        QVERIFY(!iniBytes().contains("typed-pw"));
        LoadCredentials(providers);
        QCOMPARE(providers[0].Password, QStringLiteral("typed-pw"));
        // Stored again unchanged: nothing to ask.
        storePassword(QStringLiteral("Held"), QStringLiteral("typed-pw"));
        QCOMPARE(prompt.asked.size(), 1);

        prompt.answer = true;
        storePassword(QStringLiteral("Other"), QStringLiteral("other-pw"));
        QCOMPARE(prompt.asked.size(), 2);
        QCOMPARE(SmsIni().password(QStringLiteral("Other")), QStringLiteral("other-pw"));

        // Turning the option on or off needs the keyring's passwords: refused, nothing changes.
        prompt.answer = false;
        QVERIFY(!setUseKeyring(false));
        QVERIFY(SmsIni().useKeyring());
        QCOMPARE(prompt.asked.size(), 3);

        m_service.stopKeyring();
        const QString restarted = m_service.startKeyring();
        QVERIFY2(restarted.isEmpty(), qPrintable(restarted));
    }

    // Without a Secret Service on the bus every call fails at once, with the same care for SMS.INI.
    void noSecretService()
    {
        m_service.stopKeyring();
        ScriptedPrompt prompt(false);
        writeIni("[General]\r\nUseKeyring=1\r\n[Absent]\r\nUserName=a\r\n");
        QElapsedTimer timer;
        timer.start();
        TProviders providers { provider(QStringLiteral("Absent")) };
        LoadCredentials(providers);
        QVERIFY(timer.elapsed() < FailsFastMs);
        QCOMPARE(providers[0].Password, QString());
        QCOMPARE(prompt.told.size(), 1);
        QVERIFY2(prompt.told[0].contains(QStringLiteral("Absent")), qPrintable(prompt.told[0]));

        timer.restart();
        storePassword(QStringLiteral("Absent"), QStringLiteral("absent-pw"));
        QVERIFY(timer.elapsed() < FailsFastMs);
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(!iniBytes().contains("absent-pw"));

        writeIni("[General]\r\nUseKeyring=0\r\n[Kept]\r\nPassword=kept-pw\r\n");
        timer.restart();
        QVERIFY(!setUseKeyring(true));
        QVERIFY(timer.elapsed() < FailsFastMs);
        QVERIFY(!SmsIni().useKeyring());
        QCOMPARE(SmsIni().password(QStringLiteral("Kept")), QStringLiteral("kept-pw"));
        QCOMPARE(prompt.told.size(), 2);
        QVERIFY(prompt.told[1].contains(Keyring::read().result.text()));

        // The preferences' OK: the box goes back and the dialog stays open.
        FakeHost host;
        TPreferencesForm form(host);
        form.keyringBox->setChecked(true);
        QTest::mouseClick(form.okButton, Qt::LeftButton);
        QCOMPARE(prompt.told.size(), 3);
        QCOMPARE(form.result(), 0);
        QVERIFY(!form.keyringBox->isChecked());
        QVERIFY(!SmsIni().useKeyring());
        QCOMPARE(SmsIni().password(QStringLiteral("Kept")), QStringLiteral("kept-pw"));
    }
};

QTEST_MAIN(TestKeyring)
#include "test_keyring.moc"
