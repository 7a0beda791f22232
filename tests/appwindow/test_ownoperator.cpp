// An operator the user defined alone in providers.d, with no service to answer: the send command opens the
// preferences on it, the credentials typed there reach SMS.INI, and the next send reaches its site.

#include "AppWindowTest.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "settings/SmsIni.h"
#include "settings/TPreferencesForm.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace AppWindowTest;

class TestOwnOperator : public QObject
{
    Q_OBJECT

private slots:
    void credentialsFromThePreferencesReachTheSite()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        SandboxServer sandbox;
        QVERIFY(sandbox.listen());
        AppPaths::setServiceUrlOverride(sandbox.unreachableUrl());
        TestEnv::freshAppDir();
        const QString config = TestEnv::freshConfigDir();
        TestEnv::writeFile(config + QStringLiteral("SMS.INI"), "[General]\r\nTimeOut=30\r\n");
        // The sandbox's own Ofek definition, written by hand into providers.d.
        const QByteArray document = sandbox.serviceDocument();
        const int start = document.indexOf("<#PROVIDER Name=Ofek");
        QVERIFY(start >= 0);
        TestEnv::writeFile(TestEnv::freshDir(config + QStringLiteral("providers.d")) + QStringLiteral("ofek.def"),
            "<#AREAS DEFS=055=055>\n" + document.mid(start, document.indexOf('>', start) + 1 - start));

        ScriptedPrompt prompt;
        THiddenForm hiddenForm;
        const QPointer<TMsgForm> form = ProgramEntry::start(ProgramEntry::parse({}), hiddenForm, {});
        QTRY_VERIFY(form->isShown());
        form->ui().areaCodeEdit->setText(QStringLiteral("055"));
        form->ui().numberEdit->setText(QStringLiteral("1234567"));
        form->ui().senderEdit->setText(QStringLiteral("Dana"));
        form->ui().messageEdit->setPlainText(QStringLiteral("hi"));

        // The preferences, opened by the send command, are answered as a user does.
        QString chosen;
        bool tabShown = false;
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, poll, [&, poll] {
            auto* dialog = qobject_cast<TPreferencesForm*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            chosen = dialog->providerBox->currentText();
            tabShown = dialog->tabs->isTabVisible(dialog->tabs->indexOf(dialog->providerPage));
            dialog->userNameEdit->setText(SandboxServer::demoUserName());
            dialog->passwordEdit->setText(SandboxServer::demoPassword());
            dialog->okButton->click();
        });
        poll->start(10);
        form->sendClicked();
        QCOMPARE(chosen, QStringLiteral("Ofek"));
        QVERIFY(tabShown);
        QCOMPARE(SmsIni().userName(QStringLiteral("Ofek")), SandboxServer::demoUserName());
        QCOMPARE(SmsIni().password(QStringLiteral("Ofek")), SandboxServer::demoPassword());
        QVERIFY(sandbox.submissions().isEmpty());

        form->sendClicked();
        QTRY_COMPARE_WITH_TIMEOUT(form->ui().statusLine->text(), QStringLiteral("ההודעה נשלחה"), 30000);
        QCOMPARE(sandbox.submissions().size(), 2);
        QCOMPARE(sandbox.submissions().last().outcome, QStringLiteral("accepted"));
        delete form.data();
        AppPaths::setServiceUrlOverride(QString());
    }
};

QTEST_MAIN(TestOwnOperator)
#include "test_ownoperator.moc"
