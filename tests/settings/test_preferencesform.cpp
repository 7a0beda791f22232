#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "settings/PreferencesHost.h"
#include "settings/SmsIni.h"
#include "settings/TPreferencesForm.h"
#include "widgets/TURLLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <optional>

namespace {
const QString Login = QStringLiteral("https://login.example/");

TProvider provider(const QString& name, const QString& loginUrl, const QString& user = QString(),
    const QString& password = QString(), const QString& signup = QString())
{
    TProvider p;
    p.Name = name;
    p.LoginUrl = loginUrl;
    p.UserName = user;
    p.Password = password;
    p.SignupURL = signup;
    p.MsgLimit = name + QStringLiteral(" limit");
    return p;
}

class FakeHost : public PreferencesHost
{
public:
    TProviders list;
    bool definitions = true;
    std::optional<bool> usePopupStatus;
    std::optional<int> timeOut;

    TProviders& providers() override { return list; }
    bool definitionsAvailable() const override { return definitions; }
    void setUsePopupStatus(bool on) override { usePopupStatus = on; }
    void setSendTimeOut(int seconds) override { timeOut = seconds; }
    void serviceUrlChanged() override { ++serviceChanges; }
    int serviceChanges = 0;
};

// Cellcom and Orange need a login, Pelephone does not; the credentials are also in SMS.INI.
FakeHost threeProviders()
{
    FakeHost host;
    host.list = { provider(QStringLiteral("Pelephone"), QString()),
        provider(QStringLiteral("Cellcom"), Login, QStringLiteral("c-user"), QStringLiteral("c-old"),
            QStringLiteral("https://cellcom.example/join")),
        provider(QStringLiteral("Orange"), Login, QStringLiteral("o-user"), QStringLiteral("o-old")) };
    SmsIni ini;
    for (const TProvider& p : host.list) {
        ini.setUserName(p.Name, p.UserName);
        ini.setPassword(p.Name, p.Password);
    }
    return host;
}
} // namespace

class TestPreferencesForm : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TestEnv::freshConfigDir();
        m_reports.clear();
        m_previousHandler = ErrorReport::setHandler([this](const QString& text) { m_reports << text; });
    }
    void cleanup() { ErrorReport::setHandler(m_previousHandler); }

    void switchThenCancelKeepsTheFirstProvidersPassword()
    {
        FakeHost host = threeProviders();
        TPreferencesForm form(host);
        form.show();
        // Pelephone has no login page.
        QCOMPARE(form.providerBox->count(), 2);
        QCOMPARE(form.ShownProvider(), QStringLiteral("Cellcom"));
        QCOMPARE(form.passwordEdit->echoMode(), QLineEdit::Password);
        form.passwordEdit->setText(QStringLiteral("c-new"));
        QTest::keyClick(form.providerBox, Qt::Key_Down);
        QCOMPARE(form.ShownProvider(), QStringLiteral("Orange"));
        QCOMPARE(form.passwordEdit->text(), QStringLiteral("o-old"));
        form.passwordEdit->setText(QStringLiteral("o-new"));
        QTest::mouseClick(form.cancelButton, Qt::LeftButton);

        QCOMPARE(form.result(), int(QDialog::Rejected));
        const SmsIni ini;
        QCOMPARE(ini.password(QStringLiteral("Cellcom")), QStringLiteral("c-new"));
        QCOMPARE(ini.password(QStringLiteral("Orange")), QStringLiteral("o-old"));
        QCOMPARE(host.list[1].Password, QStringLiteral("c-new"));
        QCOMPARE(host.list[2].Password, QStringLiteral("o-old"));
    }

    // The identification tab shows with the service's or the cache's definitions, and with any operator
    // that needs a login, such as one the user defined alone in providers.d.
    void identificationTab_data()
    {
        QTest::addColumn<bool>("definitions");
        QTest::addColumn<QString>("loginUrl");
        QTest::addColumn<bool>("shown");
        QTest::newRow("service or cache") << true << QString() << true;
        QTest::newRow("only a local operator with a login") << false << Login << true;
        QTest::newRow("only a local operator without one") << false << QString() << false;
    }
    void identificationTab()
    {
        QFETCH(bool, definitions);
        QFETCH(QString, loginUrl);
        QFETCH(bool, shown);
        FakeHost host;
        host.definitions = definitions;
        host.list = { provider(QStringLiteral("Acme"), loginUrl) };
        host.list[0].Origin = ProviderOrigin::Local;
        TPreferencesForm form(host);
        QCOMPARE(form.tabs->isTabVisible(form.tabs->indexOf(form.providerPage)), shown);
        QCOMPARE(form.providerBox->count(), loginUrl.isEmpty() ? 0 : 1);
    }

    void chooseProviderShowsItsRecord()
    {
        FakeHost host = threeProviders();
        TPreferencesForm form(host);
        QCOMPARE(form.signupLink->url(), QStringLiteral("https://cellcom.example/join"));
        form.chooseProvider(QStringLiteral("Orange"));
        QCOMPARE(form.tabs->currentWidget(), form.providerPage);
        QCOMPARE(form.providerBox->currentText(), QStringLiteral("Orange"));
        QCOMPARE(form.userNameEdit->text(), QStringLiteral("o-user"));
        QCOMPARE(form.passwordEdit->text(), QStringLiteral("o-old"));
        QCOMPARE(form.limitText->text(), QStringLiteral("Orange limit"));
        // Orange has no sign-up page: neither Cellcom's caption nor its target stays.
        QCOMPARE(form.signupLink->text(), QString());
        QCOMPARE(form.signupLink->url(), QString());

        form.chooseProvider(QStringLiteral("Pelephone")); // not offered: nothing changes
        QCOMPARE(form.ShownProvider(), QStringLiteral("Orange"));
    }

    void timeOutField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<int>("expected");
        QTest::newRow("above, leaving the field") << QStringLiteral("5000") << QStringLiteral("leave") << 3600;
        QTest::newRow("above, Enter") << QStringLiteral("5000") << QStringLiteral("enter") << 3600;
        QTest::newRow("above, OK keeps the focus") << QStringLiteral("5000") << QStringLiteral("ok") << 3600;
        QTest::newRow("too long for any integer") << QStringLiteral("99999999999") << QStringLiteral("leave") << 3600;
        QTest::newRow("not a number") << QStringLiteral("abc") << QStringLiteral("leave") << 0;
        QTest::newRow("empty") << QString() << QStringLiteral("enter") << 0;
    }

    void timeOutField()
    {
        QFETCH(QString, typed);
        QFETCH(QString, confirm);
        QFETCH(int, expected);
        FakeHost host;
        TPreferencesForm form(host);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.tabs->setCurrentWidget(form.generalPage);
        form.timeOutEdit->setFocus();
        form.timeOutEdit->selectAll();
        QTest::keyClick(form.timeOutEdit, Qt::Key_Backspace);
        QTest::keyClicks(form.timeOutEdit, typed);

        if (confirm == QLatin1String("leave")) {
            form.autoStartBox->setFocus();
            QCOMPARE(form.timeOutEdit->value(), expected);
            form.okButton->click();
        } else if (confirm == QLatin1String("enter")) {
            QTest::keyClick(form.timeOutEdit, Qt::Key_Return);
        } else {
            form.okButton->click();
        }
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(SmsIni().timeOut(), expected);
        QCOMPARE(host.timeOut, std::optional<int>(expected));
    }

    // The service address: an http or https one is stored and the program told; anything else keeps the
    // dialog open on the field, with a message, and stores nothing.
    void serviceAddressField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("https") << "https://defs.example/sms" << true;
        QTest::newRow("not a web address") << "defs.example" << false;
    }
    void serviceAddressField()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        TestEnv::writeFile(SmsIni::defaultPath(), "[General]\nServiceURL=http://old.example\n");
        // The settings' address is the one in force only without the environment's.
        const QByteArray environment = qgetenv("ZELKORA_SERVICE_URL");
        qunsetenv("ZELKORA_SERVICE_URL");
        auto restore = qScopeGuard([&] { qputenv("ZELKORA_SERVICE_URL", environment); });
        FakeHost host;
        TPreferencesForm form(host);
        form.show();
        QCOMPARE(form.serviceUrlEdit->text(), QStringLiteral("http://old.example"));
        form.serviceUrlEdit->setText(typed);
        form.okButton->click();
        QCOMPARE(form.isVisible(), !accepted);
        QCOMPARE(m_reports.size(), accepted ? 0 : 1);
        QCOMPARE(SmsIni().serviceUrl(), accepted ? typed : QStringLiteral("http://old.example"));
        QCOMPARE(host.serviceChanges, accepted ? 1 : 0);
        if (!accepted)
            QCOMPARE(form.tabs->currentWidget(), form.generalPage);
    }

    void okStoresTheGeneralOptions_data()
    {
        QTest::addColumn<bool>("definitions");
        QTest::addColumn<bool>("withProviders");
        QTest::newRow("definitions") << true << true;
        QTest::newRow("no definitions") << false << true;
        QTest::newRow("no providers") << false << false;
    }

    void okStoresTheGeneralOptions()
    {
        QFETCH(bool, definitions);
        QFETCH(bool, withProviders);
        FakeHost host = withProviders ? threeProviders() : FakeHost();
        host.definitions = definitions;
        TestEnv::writeFile(SmsIni::defaultPath(), "[General]\nAutoStart=0\nUsePopupStatus=1\nTimeOut=90\n");

        TPreferencesForm form(host);
        form.show();
        // Operators with a login count as definitions, wherever they came from.
        const bool tab = definitions || withProviders;
        QCOMPARE(form.tabs->isTabVisible(form.tabs->indexOf(form.providerPage)), tab);
        if (!tab) {
            QCOMPARE(form.tabs->currentWidget(), form.generalPage);
            // Nor does Ctrl+Tab show the hidden page.
            QTest::keyClick(form.tabs, Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(form.tabs->currentWidget(), form.generalPage);
        }
        QCOMPARE(form.autoStartBox->isChecked(), false);
        QCOMPARE(form.popupStatusBox->isChecked(), true);
        QCOMPARE(form.timeOutEdit->value(), 90);

        form.autoStartBox->setChecked(true);
        form.popupStatusBox->setChecked(false);
        form.timeOutEdit->setValue(45);
        QTest::mouseClick(form.okButton, Qt::LeftButton);

        QCOMPARE(form.result(), int(QDialog::Accepted));
        const SmsIni ini;
        QCOMPARE(ini.autoStart(), true);
        QCOMPARE(ini.usePopupStatus(), false);
        QCOMPARE(ini.timeOut(), 45);
        QCOMPARE(host.usePopupStatus, std::optional<bool>(false));
        QCOMPARE(host.timeOut, std::optional<int>(45));
        if (!withProviders)
            QVERIFY(!TestEnv::readFile(SmsIni::defaultPath()).contains("UserName"));
    }

    void refusedWrite_data()
    {
        QTest::addColumn<bool>("bySwitch");
        QTest::newRow("OK") << false;
        QTest::newRow("provider switch") << true;
    }

    void refusedWrite()
    {
        QFETCH(bool, bySwitch);
        FakeHost host = threeProviders();
        TPreferencesForm form(host);
        form.show();
        form.passwordEdit->setText(QStringLiteral("typed"));
        // A folder where the file should be: every write is refused, whoever runs the test.
        QFile::remove(SmsIni::defaultPath());
        QVERIFY(QDir().mkpath(SmsIni::defaultPath()));

        if (bySwitch)
            QTest::keyClick(form.providerBox, Qt::Key_Down);
        else
            QTest::mouseClick(form.okButton, Qt::LeftButton);

        QCOMPARE(m_reports, QStringList { QStringLiteral("Unable to write to SMS.INI.") });
        QVERIFY(form.isVisible());
        QCOMPARE(form.providerBox->currentText(), QStringLiteral("Cellcom"));
        QCOMPARE(form.ShownProvider(), QStringLiteral("Cellcom"));
        QCOMPARE(form.passwordEdit->text(), QStringLiteral("typed"));
        QVERIFY(!host.usePopupStatus.has_value());
        QVERIFY(!host.timeOut.has_value());
    }

private:
    QStringList m_reports;
    ErrorReport::Handler m_previousHandler;
};

QTEST_MAIN(TestPreferencesForm)
#include "test_preferencesform.moc"
