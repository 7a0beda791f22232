// An sms: link handed to the running program by a second start, as the desktop does when a link is clicked:
// the window in this process answers on the real socket, the real program is the second start.

#include "app/StatusDisplay.h"
#include "AppWindowTest.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "session/SingleInstance.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QtTest>

using namespace AppWindowTest;

class TestSmsLinks : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<THiddenForm> m_hiddenForm;
    std::unique_ptr<SingleInstance> m_instance;
    QPointer<TMsgForm> m_form;

    // The real program started with `link`, while this one answers; its exit status.
    int startSecondCopy(const QString& link)
    {
        QProcess second;
        second.setProcessChannelMode(QProcess::ForwardedChannels);
        second.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora"), { link });
        if (!second.waitForStarted(5000))
            return -1;
        // This process answers it, so its event loop runs while the second one waits.
        if (!QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000))
            return -1;
        return second.exitCode();
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        QVERIFY(m_sandbox.listen());
        AppPaths::setServiceUrlOverride(m_sandbox.baseUrl());
        TestEnv::freshAppDir();
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), "[General]\r\nTimeOut=30\r\n");
        m_hiddenForm = std::make_unique<THiddenForm>();
        m_form = ProgramEntry::start(ProgramEntry::parse({ QStringLiteral("/quiet") }), *m_hiddenForm, {});
        m_instance = std::make_unique<SingleInstance>();
        QVERIFY(m_instance->listen());
        ProgramEntry::answerLaterCopies(*m_instance, *m_hiddenForm);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->session().connectionState(), ConnectionState::Service, 30000);
    }

    void cleanupTestCase()
    {
        m_instance.reset();
        delete m_form.data();
        m_hiddenForm.reset();
        AppPaths::setServiceUrlOverride(QString());
    }

    // The link fills the hidden window and shows it; the send is the user's, and reaches the operator.
    void aLinkFillsTheRunningWindowAndTheUserSends()
    {
        QVERIFY(!m_form->isShown());
        QCOMPARE(startSecondCopy(QStringLiteral("sms:+972541234567?body=Hello")), 0);
        QTRY_VERIFY(m_form->isShown());
        QCOMPARE(m_form->ui().areaCodeEdit->text(), QStringLiteral("054"));
        QCOMPARE(m_form->ui().numberEdit->text(), QStringLiteral("1234567"));
        QCOMPARE(m_form->ui().messageEdit->toPlainText(), QStringLiteral("Hello"));
        QVERIFY(m_sandbox.submissions().isEmpty());

        m_form->ui().senderEdit->setText(QStringLiteral("Dana"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_sandbox.submissions().size(), 1, 30000);
        QCOMPARE(m_sandbox.submissions().first().outcome, QStringLiteral("accepted"));
        QCOMPARE(m_sandbox.submissions().first().fields.value(QStringLiteral("phone")), QStringLiteral("0541234567"));
    }

    // Several numbers make a list; one that is not a number is named, the others are kept.
    void aListWithANumberThatCannotBeRead()
    {
        QCOMPARE(startSecondCopy(QStringLiteral("smsto:0541111111,+44 20 7946 0000,057-2222222:נתראה")), 0);
        QTRY_VERIFY(m_form->ui().recipientLabel->isList());
        QCOMPARE(m_form->ui().recipientLabel->list(),
            (QStringList { QStringLiteral("054-1111111=054-1111111"), QStringLiteral("057-2222222=057-2222222") }));
        QCOMPARE(m_form->ui().messageEdit->toPlainText(), QStringLiteral("נתראה"));
        QVERIFY2(m_form->statusDisplay().lastText().contains(QStringLiteral("+44 20 7946 0000")),
            qPrintable(m_form->statusDisplay().lastText()));
    }
};

QTEST_MAIN(TestSmsLinks)
#include "test_smslinks.moc"
