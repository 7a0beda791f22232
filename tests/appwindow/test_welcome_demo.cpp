// "Try it with the demo operators" from the first start's welcome box: the real zelkora-sandbox started for
// the run, its definitions arriving, and a message sent from the window through the real browser library to
// its operator without a login. Nothing of the demo stays for the next start.

#include "AppWindowTest.h"
#include "TestEnv.h"

#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "app/Welcome.h"
#include "app/WelcomeBox.h"
#include "common/AppPaths.h"
#include "session/DemoOperators.h"
#include "session/MainSession.h"
#include "widgets/TImgButton.h"
#include "widgets/TTrayIcon.h"

#include <QCommandLinkButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTcpSocket>
#include <QUrl>
#include <QtTest>

using namespace AppWindowTest;

namespace {
constexpr int Patience = 60000;
}

class TestWelcomeDemo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        TestEnv::noProxy();
        Welcome::guideWindows(true);
        Welcome::setFirstStart(true);
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        QVERIFY2(!DemoOperators::programFile().isEmpty(), "zelkora-sandbox is built beside the tests");
    }

    void demoOperatorsSendAMessage()
    {
        THiddenForm hiddenForm;
        QPointer<TMsgForm> form = ProgramEntry::start(ProgramEntry::parse({}), hiddenForm, {});
        QTRY_VERIFY(form->isShown());
        QTRY_VERIFY(form->welcomeBox());
        QVERIFY(!form->session().providersKnown());

        QTest::mouseClick(form->welcomeBox()->DemoButton, Qt::LeftButton);
        QTRY_VERIFY(!form->welcomeBox());
        QTRY_COMPARE_WITH_TIMEOUT(form->session().connectionState(), ConnectionState::Service, Patience);
        auto* demo = form->session().findChild<DemoOperators*>();
        QVERIFY(demo && demo->running());
        const QUrl sandbox(demo->url());
        QCOMPARE(sandbox.host(), QStringLiteral("127.0.0.1"));
        QVERIFY(form->session().providersKnown());
        QTRY_COMPARE(form->ui().statusLine->text(), QStringLiteral("מפעילי הדגמה: שום הודעה לא יוצאת מהמחשב"));
        // The first message is set up for the operator without a login; only the sender is the user's.
        QCOMPARE(form->ui().areaCodeEdit->text(), QStringLiteral("054"));
        QVERIFY(!form->ui().numberEdit->text().isEmpty());
        QVERIFY(!form->ui().messageEdit->toPlainText().isEmpty());
        QCOMPARE(form->ui().senderEdit->text(), QString());
        // The sandbox's definitions are not kept for the next start, nor in the settings.
        QVERIFY(!QFile::exists(AppPaths::providerCacheFile()));

        form->ui().senderEdit->setText(QStringLiteral("דנה"));
        QTest::mouseClick(form->ui().sendButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(form->ui().statusLine->text(), QStringLiteral("ההודעה נשלחה"), Patience);
        QVERIFY(!TestEnv::readFile(AppPaths::configDir() + QStringLiteral("SMS.INI")).contains("127.0.0.1"));

        // The sandbox ends with the program.
        form->exitClicked();
        delete form.data();
        QTcpSocket probe;
        probe.connectToHost(sandbox.host(), quint16(sandbox.port()));
        QVERIFY(!probe.waitForConnected(2000));
        QVERIFY(!QFile::exists(AppPaths::providerCacheFile()));
        AppPaths::setServiceUrlOverride(QString());
    }
};

QTEST_MAIN(TestWelcomeDemo)
#include "test_welcome_demo.moc"
