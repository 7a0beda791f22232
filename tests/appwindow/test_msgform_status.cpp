// The status display of the main window: lamp and tray image, send statuses, the status line and the
// status window.

#include "app/StatusDisplay.h"
#include "AppWindowTest.h"
#include "TestEnv.h"

#include "app/PlainText.h"
#include "app/TPopUpStatusForm.h"
#include "widgets/SkinColors.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"
#include "widgets/TextScroller.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace AppWindowTest;

class TestMsgFormStatus : public QObject
{
    Q_OBJECT

private slots:
    // These tests run where the desktop has a notification area; the tests of a desktop without one say so.
    void initTestCase() { TTrayIcon::setSystemTrayAvailableForTesting(true); }

    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
    }

    void connectionStateSetsLampAndTrayImage_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("colour");
        QTest::addColumn<bool>("providers");
        QTest::addColumn<QString>("tip"); // the tray tip's second line: where the definitions come from
        QTest::newRow("0 red") << 0 << int(TImgLed::Colour::Red) << false << "אין הגדרות ספקים";
        QTest::newRow("1 yellow, request under way") << 1 << int(TImgLed::Colour::Yellow) << false << "מתחבר לשירות...";
        QTest::newRow("1 yellow, stored or own")
            << 1 << int(TImgLed::Colour::Yellow) << true << "עובד מהגדרות שמורות או משלך";
        QTest::newRow("2 green") << 2 << int(TImgLed::Colour::Green) << true << "הגדרות מהשירות";
    }

    void connectionStateSetsLampAndTrayImage()
    {
        QFETCH(int, state);
        QFETCH(int, colour);
        QFETCH(bool, providers);
        QFETCH(QString, tip);
        auto form = makeForm();
        form->session().engine().Providers.clear();
        if (providers)
            form->session().engine().Providers.append(TProvider());
        static_cast<ServiceConnectionHost&>(form->session()).setConnectionState(ConnectionState(state));
        QCOMPARE(int(form->session().connectionState()), state);
        QCOMPARE(int(form->ui().connectionLamp->colour()), colour);
        QCOMPARE(form->ui().trayIcon->icon().cacheKey(), form->ui().trayImages.at(state).cacheKey());
        QCOMPARE(form->ui().trayIcon->hint(), QStringLiteral("Zelkora\n") + tip);
        // A state out of range is stored and shown nowhere.
        static_cast<ServiceConnectionHost&>(form->session()).setConnectionState(ConnectionState(7));
        QCOMPARE(int(form->session().connectionState()), 7);
        QCOMPARE(int(form->ui().connectionLamp->colour()), colour);
    }

    // A status longer than the line is read whole: the line moves through it to its last character and back to
    // its start; a short one stands still.
    void aLongStatusIsReadWhole()
    {
        auto form = makeForm();
        form->toggleShown();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QLineEdit* line = form->ui().statusLine;
        const QString text = QStringLiteral("כשלון: האתר דחה את הכניסה: בדקו את שם המשתמש והסיסמה בהגדרות");
        form->showStatus(text, StatusKind::Info);
        QCOMPARE(line->text(), text);
        QTRY_COMPARE_WITH_TIMEOUT(line->cursorPosition(), int(text.size()), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(line->cursorPosition(), 0, 10000);
        form->showStatus(QStringLiteral("פעיל"), StatusKind::Info);
        QTest::qWait(3 * TextScroller::StepMs);
        QCOMPARE(line->cursorPosition(), 0);
        QVERIFY(!line->findChild<TextScroller*>()->scrolling());
    }

    void sendResultShowsTextAndColour_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("submitted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("colour");
        const quint32 normal = SkinColors::StatusColorNormal;
        const quint32 error = SkinColors::StatusColorError;
        const quint32 unknown = SkinColors::StatusColorUnknown;
        const QString mayHaveBeenSent = QStringLiteral("לא התקבל אישור מהאתר: ייתכן שההודעה נשלחה");
        QTest::newRow("ssCancelled") << 0 << false << "ביטול" << normal;
        QTest::newRow("ssReady") << 1 << false << "פעיל" << normal;
        QTest::newRow("ssConnecting") << 2 << false << "מתחבר..." << normal;
        QTest::newRow("ssIdentifying") << 3 << false << "מזדהה..." << normal;
        QTest::newRow("ssIdentified") << 4 << false << "מזוהה" << normal;
        QTest::newRow("ssSending") << 5 << true << "שולח..." << normal;
        QTest::newRow("ssSent") << 6 << true << "ההודעה נשלחה" << quint32(SkinColors::StatusColorSent);
        QTest::newRow("ssRejected") << 7 << true << "ההודעה נדחתה" << error;
        QTest::newRow("ssFailed") << 8 << true << "כשלון" << error;
        QTest::newRow("ssTimedOut") << 9 << false << "Timed Out" << error;
        QTest::newRow("ssTimedOut after the message left") << 9 << true << mayHaveBeenSent << unknown;
        QTest::newRow("ssCancelled after the message left") << 0 << true << mayHaveBeenSent << unknown;
    }

    void sendResultShowsTextAndColour()
    {
        QFETCH(int, status);
        QFETCH(bool, submitted);
        QFETCH(QString, text);
        QFETCH(quint32, colour);
        auto form = makeForm();
        form->session().engine().Submitted = submitted;
        form->session().engine().Confirmed = submitted && status != ssFailed;
        form->session().SendResult(static_cast<TSMSStatus>(status));
        QCOMPARE(form->ui().statusLine->text(), text);
        QCOMPARE(form->ui().statusLine->toolTip(), PlainText::toolTip(text));
        QCOMPARE(form->statusDisplay().lastText(), text);
        QCOMPARE(form->statusDisplay().colour(), colour);
        QCOMPARE(form->ui().statusLine->palette().color(QPalette::Text), SkinColors::toColor(colour));
    }

    void popupStatusTakesEveryText()
    {
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), "[General]\r\nUsePopupStatus=1\r\n");
        auto form = makeForm();
        // The first status, at creation, already opens the window, though the main window is hidden.
        QPointer<TPopUpStatusForm> popup = form->popUpStatusForm();
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QVERIFY(!form->isVisible());
        QCOMPARE(popup->text(), QStringLiteral("פעיל"));
        QCOMPARE(popup->closeButton->text(), TPopUpStatusForm::closeCaption());
        QCOMPARE(popup->statusText->height(), 100);
        QVERIFY(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        form->session().engine().Confirmed = true;
        form->session().SendResult(ssSent);
        QCOMPARE(popup->text(), QStringLiteral("ההודעה נשלחה"));
        QCOMPARE(form->ui().statusLine->text(), QString());

        // Closing a window of single statuses cancels nothing; the next status opens a new one.
        popup->close();
        QTRY_VERIFY(popup.isNull());
        QVERIFY(!form->popUpStatusForm());
        QVERIFY(!form->session().cancelRequested());
        form->session().SendResult(ssFailed);
        QVERIFY(form->popUpStatusForm());
        QCOMPARE(form->popUpStatusForm()->text(), QStringLiteral("כשלון"));
    }

    void listSendWritesTheRecipientsLine()
    {
        auto form = makeForm();
        const QStringList list { QStringLiteral("Avi=052-1111111"), QStringLiteral("Dana=054-2222222"),
            QStringLiteral("Avi=050-3333333") };
        form->ui().recipientLabel->setList(list);
        form->ui().recipientLabel->setIsList(true);
        form->session().workflow().ListSending = true;
        form->beginList({ QStringLiteral("Avi"), QStringLiteral("Dana"), QStringLiteral("Avi") });
        TPopUpStatusForm* popup = form->popUpStatusForm();
        static_cast<SendWorkflowHost&>(form->session()).setCurrentRecipient(1);
        form->ui().statusLine->setText(QStringLiteral("before"));

        form->session().SendResult(ssConnecting);
        form->session().engine().Confirmed = true;
        form->session().SendResult(ssSent);
        QCOMPARE(popup->line(0), QStringLiteral("Avi: בהמתנה..."));
        QCOMPARE(popup->line(1), QStringLiteral("Dana: ההודעה נשלחה"));
        QCOMPARE(popup->line(2), QStringLiteral("Avi: בהמתנה..."));
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("before"));

        // Closing it while the button still cancels stops the list; later statuses are only kept.
        popup->close();
        QVERIFY(form->session().cancelRequested());
        QVERIFY(!form->popUpStatusForm());
        form->session().SendResult(ssFailed);
        QCOMPARE(form->statusDisplay().lastText(), QStringLiteral("כשלון"));
    }

    void onlyTheCurrentStatusWindowCancels()
    {
        auto form = makeForm();
        auto* old = form->statusDisplay().makeStatusWindow();
        form->beginList({});
        TPopUpStatusForm* current = form->popUpStatusForm();
        old->close();
        QVERIFY(!form->session().cancelRequested());
        QCOMPARE(form->popUpStatusForm(), current);
        current->setCancelButton(false);
        current->close();
        QVERIFY(!form->session().cancelRequested());
        QVERIFY(!form->popUpStatusForm());
    }

    void statusWindowButtonOffersToDropTheList_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void statusWindowButtonOffersToDropTheList()
    {
        QFETCH(bool, answer);
        ScriptedPrompt prompt;
        prompt.answer = answer;
        auto form = makeForm();
        form->ui().recipientLabel->setList({ QStringLiteral("Avi=052-1111111"), QStringLiteral("Dana=054-2222222") });
        form->ui().recipientLabel->setIsList(true);
        form->ui().numberEdit->setEnabled(false);
        form->ui().areaCodeEdit->setEnabled(false);
        QPointer<TPopUpStatusForm> popup = form->statusDisplay().makeStatusWindow();
        popup->setCancelButton(false);
        popup->show();
        popup->closeButton->click();
        QCOMPARE(prompt.asked, QStringList { QStringLiteral("?האם למחוק את רשימת הנמענים") });
        QCOMPARE(form->ui().recipientLabel->isList(), !answer);
        QCOMPARE(form->ui().numberEdit->isEnabled(), answer);
        QCOMPARE(form->ui().areaCodeEdit->isEnabled(), answer);
        QTRY_VERIFY(popup.isNull());
    }

    void closingTheMainWindowDestroysTheStatusWindowWithoutCancelling()
    {
        auto form = makeForm();
        form->toggleShown();
        form->session().workflow().ListSending = true;
        form->beginList({});
        QPointer<TPopUpStatusForm> popup = form->popUpStatusForm();
        form->closeWindow();
        QVERIFY(popup.isNull());
        QVERIFY(!form->popUpStatusForm());
        QVERIFY(!form->session().cancelRequested());
        QVERIFY(!form->isVisible());
    }

    // With the status window option, the cancel of the closing window opens no status window of its own.
    void closingWithTheStatusWindowOptionOpensNone()
    {
        auto form = makeForm();
        form->toggleShown();
        static_cast<PreferencesHost&>(form->session()).setUsePopupStatus(true);
        bool openedByTheCancel = false;
        const auto showStatus = form->session().engine().OnStatus;
        form->session().engine().OnStatus = [&](TSMSStatus status) {
            showStatus(status);
            openedByTheCancel = openedByTheCancel || form->popUpStatusForm();
        };
        form->closeWindow();
        QVERIFY(!openedByTheCancel);
        QVERIFY(!form->popUpStatusForm());
        QCOMPARE(form->statusDisplay().lastText(), QStringLiteral("ביטול"));
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestMsgFormStatus)
#include "test_msgform_status.moc"
