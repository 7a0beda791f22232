// The main window as desktops run it: the tray icon's activations, a desktop without a notification area,
// outside text that must stay text, and the exit chosen while a modal box of the window's is open.

#include "AppWindowTest.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "SandboxService.h"
#include "app/MessageBoxPrompt.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "common/Messages.h"
#include "settings/AutoStart.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTextDocumentFragment>
#include <QtTest>

using namespace AppWindowTest;

namespace {
// Markup and a link to a local file, as a hostile or careless service could send them.
const QString Hostile = QStringLiteral("<b>חשוב</b> <a href=file:///etc/passwd>לחצו כאן</a>");

// Calls `inspect` with the message box once one is open, then closes it unless told to leave it open.
void whenMessageBoxOpens(const std::function<void(QMessageBox*)>& inspect, bool close = true)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect, close] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        inspect(box);
        if (close)
            box->done(QMessageBox::Ok);
    });
    poll->start(20);
}

QLabel* textLabelOf(QMessageBox* box)
{
    for (QLabel* label : box->findChildren<QLabel*>()) {
        if (label->text() == box->text())
            return label;
    }
    return nullptr;
}
} // namespace

class TestMsgFormDesktop : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
    }

    void cleanupTestCase() { TTrayIcon::setSystemTrayAvailableForTesting(std::nullopt); }

    // One gesture on the icon opens the window, the next one puts it away, whatever the desktop sends for
    // a click: a single activation (Plasma, AppIndicator), a double click, or both (XEmbed trays).
    void trayGestureTogglesOnce_data()
    {
        QTest::addColumn<QList<int>>("gesture");
        QTest::newRow("single activation") << QList<int> { QSystemTrayIcon::Trigger };
        QTest::newRow("double click, both reported")
            << QList<int> { QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick };
        QTest::newRow("double click alone") << QList<int> { QSystemTrayIcon::DoubleClick };
    }
    void trayGestureTogglesOnce()
    {
        QFETCH(QList<int>, gesture);
        auto form = makeForm();
        QSignalSpy toggled(form.get(), &TMsgForm::toggled);
        auto perform = [&] {
            for (const int reason : gesture)
                emit form->ui().trayIcon->systemTrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        };
        perform();
        QVERIFY(form->isShown());
        QCOMPARE(toggled.count(), 1);
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
        perform();
        QVERIFY(!form->isVisible());
        QCOMPARE(toggled.count(), 2);
    }

    void minimisedWindowIsBroughtBackByTheToggle()
    {
        auto form = makeForm();
        form->toggleShown();
        form->showMinimized();
        QVERIFY(!form->isShown());
        postUserMessage(form.get(), UM_TOGGLEWINDOW);
        QTRY_VERIFY(form->isShown());
        QVERIFY(!form->isMinimized());
        QCOMPARE(form->ui().openAction->text(), QStringLiteral("ביטול הודעה"));
    }

    // Two requests in a row (a second start right after the first, a double click that the desktop
    // reports twice): the second arrives while the first is showing the window and does not undo it.
    void toggleWhileShowingDoesNotUndoIt()
    {
        auto form = makeForm();
        postUserMessage(form.get(), UM_TOGGLEWINDOW);
        postUserMessage(form.get(), UM_TOGGLEWINDOW);
        QTest::qWait(100);
        QVERIFY(form->isShown());
    }

    // Without a notification area the window is never hidden, where nobody could reach it: a quiet start,
    // the close button and the toggle minimise it, and the toggle (a second start) brings it back.
    void withoutNotificationAreaTheWindowIsOnlyMinimised()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(false);
        THiddenForm hiddenForm;
        QPointer<TMsgForm> form
            = ProgramEntry::start(ProgramEntry::parse({ QStringLiteral("/quiet") }), hiddenForm, fakeBrowserMaker());
        QCoreApplication::processEvents();
        QVERIFY(form->isVisible());
        QVERIFY(form->isMinimized());

        postUserMessage(form.data(), UM_TOGGLEWINDOW);
        QTRY_VERIFY(form->isShown());
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QTRY_VERIFY(form->isMinimized());
        postUserMessage(form.data(), UM_TOGGLEWINDOW);
        QTRY_VERIFY(form->isShown());
        form->toggleShown();
        QVERIFY(form->isVisible());
        QVERIFY(form->isMinimized());
        delete form.data();
    }

    // Recipient names, status texts and the service's messages are shown as the characters they hold.
    void outsideTextIsShownAsWritten()
    {
        auto form = makeForm();
        form->ui().recipientLabel->setText(Hostile);
        QCOMPARE(form->ui().recipientLabel->textFormat(), Qt::PlainText);
        form->ui().recipientLabel->setList({ Hostile + QStringLiteral("=052-1234567") });
        form->ui().recipientLabel->setIsList(true);
        form->showStatus(Hostile, StatusKind::Info);
        QCOMPARE(form->ui().statusLine->text(), Hostile);
        QCOMPARE(QTextDocumentFragment::fromHtml(form->ui().statusLine->toolTip()).toPlainText(), Hostile);
        for (QLabel* label : form->findChildren<QLabel*>())
            QVERIFY2(label->textFormat() == Qt::PlainText || label->text().isEmpty(), qPrintable(label->objectName()));
    }

    // A MESSAGE in providers.dat is shown at every start: as written, with no link to follow.
    void cachedMessageIsShownAsWritten()
    {
        TestEnv::writeFile(AppPaths::appDir() + QStringLiteral("providers.dat"),
            SandboxService::tag("MESSAGE", { { "Text", Hostile } }) + SandboxService::tag("FINISHED"));
        MessageBoxPrompt::installForDesktop();
        bool inspected = false;
        whenMessageBoxOpens([&](QMessageBox* box) {
            inspected = true;
            QCOMPARE(box->text(), Hostile);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QLabel* label = textLabelOf(box);
            QVERIFY(label);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(!(label->textInteractionFlags() & Qt::LinksAccessibleByMouse));
        });
        auto form = makeForm();
        UserPrompt::install(nullptr);
        ErrorReport::setHandler({});
        QVERIFY(inspected);
    }

    // Exit chosen from the tray menu while the service's MESSAGE box is open: the box's caller, the
    // service connection of the main window, returns into live objects, and the program ends.
    void exitWhileTheMessageBoxIsOpenEndsCleanly()
    {
        SandboxServer sandbox;
        QVERIFY(sandbox.listen());
        sandbox.setInitDocument(SandboxService::tag("MESSAGE", { { "Text", QStringLiteral("עדכון חשוב") } })
            + SandboxService::tag("FINISHED"));
        AppPaths::setServiceUrlOverride(sandbox.baseUrl());
        MessageBoxPrompt::installForDesktop();

        THiddenForm hiddenForm;
        QPointer<TMsgForm> form
            = ProgramEntry::start(ProgramEntry::parse({ QStringLiteral("/quiet") }), hiddenForm, fakeBrowserMaker());
        bool boxSeen = false;
        // The box stays open: the exit ends its loop.
        whenMessageBoxOpens(
            [&](QMessageBox*) {
                boxSeen = true;
                form->ui().exitAction->trigger();
            },
            false);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(15000);
        const int status = QApplication::exec();
        UserPrompt::install(nullptr);
        ErrorReport::setHandler({});
        AppPaths::setServiceUrlOverride(QString());
        QVERIFY(boxSeen);
        QCOMPARE(status, 0);
        QVERIFY(form.isNull());
        QVERIFY(AutoStart::entryExists());
    }
};

QTEST_MAIN(TestMsgFormDesktop)
#include "test_msgform_desktop.moc"
