// The main window offscreen: creation, showing and hiding, closing, exit, outline and caret.

#include "app/HandsetSkin.h"
#include "app/StatusDisplay.h"
#include "AppWindowTest.h"
#include "TestEnv.h"
#include "widgets/TTrayIcon.h"

#include "app/EditCaret.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "common/Messages.h"
#include "history/HistoryStore.h"
#include "net/TAdvHttp.h"
#include "service/ServiceState.h"
#include "widgets/SkinColors.h"
#include "settings/AutoStart.h"
#include "teach/TTeachForm.h"
#include "widgets/TFormShaper.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using namespace AppWindowTest;

namespace {
// Whether the history file existed when the window it watches was first painted.
class FirstPaintProbe : public QObject
{
public:
    bool painted = false;
    bool historyAtFirstPaint = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            historyAtFirstPaint = QFileInfo::exists(HistoryStore::defaultPath());
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

class TestMsgForm : public QObject
{
    Q_OBJECT

private slots:
    // These tests run where the desktop has a notification area; the tests of a desktop without one say so.
    void initTestCase() { TTrayIcon::setSystemTrayAvailableForTesting(true); }

    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
        AutoStart::removeEntry();
    }

    void createdWithTheDefaultsWithoutSettings()
    {
        auto form = makeForm();
        QVERIFY(!form->isVisible());
        QCOMPARE(form->ui().senderEdit->text(), QString());
        QCOMPARE(form->ui().numberEdit->text(), QString());
        // No provider serves "03": nothing is offered.
        QCOMPARE(form->ui().areaCodeEdit->text(), QString());
        QCOMPARE(form->ui().recipientLabel->text(), QString());
        QCOMPARE(form->session().engine().TimeOut, 60);
        QCOMPARE(form->session().service().HTTP.ConnectTimeout(), 60000);
        QCOMPARE(form->session().usePopupStatus(), false);
        // The desktop's language: LANG=C.UTF-8 gives Hebrew.
        QCOMPARE(form->session().languageCode(), QStringLiteral("HEB"));
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("פעיל"));
        QCOMPARE(form->statusDisplay().colour(), SkinColors::StatusColorNormal);
        QCOMPARE(form->session().connectionState(), ConnectionState::NoDefinitions);
        QCOMPARE(form->ui().connectionLamp->colour(), TImgLed::Colour::Red);
        QVERIFY(form->session().service().initTimer().isActive());
        QCOMPARE(form->session().service().initTimer().interval(), 1000);
        QVERIFY(!form->session().banners().BannerTimer.isActive());
        QVERIFY(!form->session().service().statsTimer().isActive());
        QCOMPARE(form->session().banners().BannerIndex, 1);
        QCOMPARE(form->session().banners().ClickURL, QStringLiteral("http://127.0.0.1:9"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Zelkora"));
        QCOMPARE(form->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(form->size(), QSize(287, 446));
        QVERIFY(form->session().engine().OnStatus);
    }

    void settingsFillTheFieldsAndTheRecipientLast()
    {
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"),
            "[General]\r\nLastFrom=Dana\r\nLastPhone=1234567\r\nLastAreaCode=054\r\n"
            "LastRecipient=Avi\r\nTimeOut=0x1E\r\nUsePopupStatus=0\r\n");
        auto form = makeForm();
        QCOMPARE(form->ui().senderEdit->text(), QStringLiteral("Dana"));
        QCOMPARE(form->ui().numberEdit->text(), QStringLiteral("1234567"));
        QCOMPARE(form->ui().areaCodeEdit->text(), QStringLiteral("054"));
        // Setting the two fields empties the label; it is read after them.
        QCOMPARE(form->ui().recipientLabel->text(), QStringLiteral("Avi"));
        QCOMPARE(form->session().engine().TimeOut, 30);
        QCOMPARE(form->session().service().HTTP.ConnectTimeout(), 30000);
    }

    void componentsCarryTheirNames_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : { "devicePicture", "bannerImage", "senderEdit", "recipientLabel", "phoneBookButton", "messageEdit", "counterLabel",
                 "areaCodeEdit", "areaMenuButton", "numberEdit", "sendButton", "statusLine", "connectionLamp", "menuButton", "closeButton", "senderFrame",
                 "separatorLine", "areaCodeFrame", "numberFrame", "messageFrame", "trayIcon", "mainMenu", "areaMenu",
                 "shaper96", "shaper120" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void componentsCarryTheirNames()
    {
        QFETCH(QString, name);
        auto form = makeForm();
        QVERIFY(form->findChild<QObject*>(name));
        // The engine and the banner timer are the session's.
        QVERIFY(form->session().findChild<QObject*>(QStringLiteral("SMSBase")));
        QVERIFY(form->session().findChild<QObject*>(QStringLiteral("BannerTimer")));
    }

    void popupMenuHasItsItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("openAction") << "openAction"
                               << "הודעה חדשה" << true;
        QTest::newRow("phoneBookAction") << "phoneBookAction"
                                    << "ספר טלפונים" << true;
        QTest::newRow("preferencesAction") << "preferencesAction"
                                      << "הגדרות" << true;
        QTest::newRow("teachAction") << "teachAction"
                                << "לימוד ספק חדש..." << true;
        QTest::newRow("tellFriendsAction") << "tellFriendsAction"
                                      << "ספר לחברים!" << true;
        QTest::newRow("homePageAction") << "homePageAction"
                                   << "אתר הבית" << true;
        QTest::newRow("helpMenuAction") << "helpMenuAction"
                            << "עזרה" << true;
        QTest::newRow("localHelpAction") << "localHelpAction"
                            << "עזרה מקומית" << true;
        QTest::newRow("onlineHelpAction") << "onlineHelpAction"
                                        << "עזרה מקוונת" << false;
        QTest::newRow("aboutAction") << "aboutAction"
                            << "אודות" << true;
        QTest::newRow("languagesAction") << "languagesAction"
                                   << "Languages" << true;
        QTest::newRow("exitAction") << "exitAction"
                               << "סיום" << true;
    }

    void popupMenuHasItsItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        auto form = makeForm();
        auto* action = form->ui().mainMenu->findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->isEnabled(), enabled);
    }

    // One teach window at a time; while it is open the window is not rebuilt in another language, and a
    // definition it saves is used for the next send at once.
    void teachItemOpensOneWindowWhoseDefinitionsAreUsed()
    {
        auto form = makeForm();
        form->ui().teachAction->trigger();
        form->ui().teachAction->trigger();
        const auto open = form->findChildren<TTeachForm*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(open.size(), 1);
        QVERIFY(open.first()->isVisible());
        QVERIFY(!form->ui().languagesAction->isEnabled());

        const QString folder = TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + "/zelkora/providers.d");
        TestEnv::writeFile(folder + "acme.def",
            "<#AREAS DEFS=059=59>\n<#PROVIDER Name=Acme AreaCodes=059 "
            "MsgUrl=http://127.0.0.1:9/acme LoginUrl=http://127.0.0.1:9/login>");
        TestEnv::writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/zelkora/SMS.INI",
            "[Acme]\r\nUserName=dana\r\nPassword=secret\r\n");
        QCOMPARE(form->session().engine().FindProviderByArea("059"), -1);
        emit open.first()->definitionSaved(folder + "acme.def");
        const int index = form->session().engine().FindProviderByArea("059");
        QVERIFY(index >= 0);
        QCOMPARE(form->session().engine().Providers[index].UserName, QStringLiteral("dana"));
        QVERIFY(form->session().engine().AreaDefs.contains(QStringLiteral("059=59")));

        // The About box held and let go in between does not free the item while the teach window is open.
        form->holdLanguages(true);
        form->holdLanguages(false);
        QVERIFY(!form->ui().languagesAction->isEnabled());
        open.first()->close();
        QTRY_VERIFY(form->findChildren<TTeachForm*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
        QVERIFY(form->ui().languagesAction->isEnabled());

        // The program ends while the teach window is open.
        form->ui().teachAction->trigger();
        form.reset();
    }

    void quietArgumentKeepsTheWindowHidden_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("shown");
        QTest::newRow("none") << QStringList() << true;
        QTest::newRow("/quiet") << QStringList { "/quiet" } << false;
        QTest::newRow("/QUIET") << QStringList { "/QUIET" } << true;
        QTest::newRow("/quiet second") << QStringList { "x", "/quiet" } << true;
        QTest::newRow("with an address") << QStringList { "--service-url", "http://127.0.0.1:9", "/quiet" } << false;
    }

    void quietArgumentKeepsTheWindowHidden()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, shown);
        THiddenForm hiddenForm;
        QPointer<TMsgForm> form = ProgramEntry::start(ProgramEntry::parse(arguments), hiddenForm, fakeBrowserMaker());
        QVERIFY(!form->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(form->isVisible(), shown);
        QCOMPARE(hiddenForm.mainWindow(), form.data());
        delete form.data();
    }

    // The history and its queue wait for the first frame of the window the start shows; a quiet start opens them
    // without a window.
    void theHistoryOpensAfterTheFirstFrame_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("shown") << QStringList();
        QTest::newRow("/quiet") << QStringList { "/quiet" };
    }

    void theHistoryOpensAfterTheFirstFrame()
    {
        QFETCH(QStringList, arguments);
        const bool quiet = !arguments.isEmpty();
        THiddenForm hiddenForm;
        QPointer<TMsgForm> form = ProgramEntry::start(ProgramEntry::parse(arguments), hiddenForm, fakeBrowserMaker());
        FirstPaintProbe probe;
        form->installEventFilter(&probe);
        QTRY_VERIFY(QFileInfo::exists(HistoryStore::defaultPath()));
        QCOMPARE(form->isVisible(), !quiet);
        QCOMPARE(probe.painted, !quiet);
        QVERIFY(!probe.historyAtFirstPaint);
        delete form.data();
    }

    void toggleShowsAndHides()
    {
        auto form = makeForm();
        QSignalSpy toggled(form.get(), &TMsgForm::toggled);
        postUserMessage(form.get(), UM_TOGGLEWINDOW);
        QTRY_VERIFY(form->isVisible());
        QCOMPARE(form->ui().openAction->text(), QStringLiteral("ביטול הודעה"));
        // Showing clears the status line and counts the characters.
        QCOMPARE(form->ui().statusLine->text(), QString());
        QCOMPARE(form->ui().counterLabel->text(), QStringLiteral("105 / 0 תוים)"));
        postUserMessage(form.get(), UM_TOGGLEWINDOW);
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(form->ui().openAction->text(), QStringLiteral("הודעה חדשה"));
        QCOMPARE(toggled.count(), 2);
    }

    void showingFocusesTheFirstFieldToFill_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<bool>("list");
        QTest::addColumn<QString>("focused");
        QTest::newRow("no sender") << ""
                                   << "" << false << "senderEdit";
        QTest::newRow("no phone") << "Dana"
                                  << "" << false << "numberEdit";
        QTest::newRow("both") << "Dana"
                              << "1234567" << false << "messageEdit";
        QTest::newRow("a list") << "Dana"
                                << "" << true << "messageEdit";
    }

    void showingFocusesTheFirstFieldToFill()
    {
        QFETCH(QString, sender);
        QFETCH(QString, phone);
        QFETCH(bool, list);
        QFETCH(QString, focused);
        auto form = makeForm();
        form->ui().senderEdit->setText(sender);
        form->ui().numberEdit->setText(phone);
        if (list) {
            form->ui().numberEdit->setEnabled(false);
            form->ui().areaCodeEdit->setEnabled(false);
            form->ui().recipientLabel->setList({ QStringLiteral("Avi=052-1234567") });
            form->ui().recipientLabel->setIsList(true);
        }
        form->toggleShown();
        QCOMPARE(form->focusWidget()->objectName(), focused);
        // A chosen list survives showing: its fields stay disabled.
        QCOMPARE(form->ui().numberEdit->isEnabled(), !list);
        QCOMPARE(form->ui().areaCodeEdit->isEnabled(), !list);
    }

    void closeHidesAndCancelsTheAttempt()
    {
        auto form = makeForm();
        TProvider provider;
        provider.Name = QStringLiteral("Kesher");
        provider.AreaCodes = QStringLiteral("054");
        provider.MsgUrl = QStringLiteral("http://127.0.0.1:9/send");
        form->session().engine().Providers.append(provider);
        form->toggleShown();
        form->session().engine().Send(QStringLiteral("Dana"), QStringLiteral("054"), QStringLiteral("1234567"),
            QStringLiteral("hi"), QString(), QString());
        QCOMPARE(form->session().engine().Status, ssConnecting);
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("מתחבר..."));

        QVERIFY(!form->close());
        QVERIFY(!form->isVisible());
        QCOMPARE(form->session().engine().Status, ssCancelled);
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("ביטול"));
    }

    void exitMaintainsTheAutostartEntry_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("entryBefore");
        QTest::addColumn<bool>("entryAfter");
        QTest::newRow("AutoStart missing") << QByteArray() << false << true;
        QTest::newRow("AutoStart 2") << QByteArray("[General]\r\nAutoStart=2\r\n") << false << true;
        QTest::newRow("AutoStart 0") << QByteArray("[General]\r\nAutoStart=0\r\n") << true << false;
    }

    void exitMaintainsTheAutostartEntry()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, entryBefore);
        QFETCH(bool, entryAfter);
        if (!settings.isEmpty())
            TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), settings);
        if (entryBefore)
            QVERIFY(AutoStart::writeEntry());

        THiddenForm hiddenForm;
        QPointer<TMsgForm> form = makeForm(&hiddenForm).release();
        form->session().state().Adverts.Append(TCacheEntry { QStringLiteral("A"), QStringLiteral("gif"),
            QStringLiteral("http://127.0.0.1:9/a.gif"), QString(), 15000, 3 });
        form->ui().exitAction->trigger();
        QCOMPARE(AutoStart::entryExists(), entryAfter);
        if (entryAfter)
            QVERIFY(TestEnv::readFile(AutoStart::entryPath()).contains(AutoStart::execLine().toUtf8()));
        // The hidden root window destroys the main window once UM_SHUTDOWN is handled.
        QTRY_VERIFY(form.isNull());
    }

    void exitSavesTheBannerTable()
    {
        const QString appDir = TestEnv::freshAppDir();
        auto form = makeForm();
        form->session().state().Adverts.Append(TCacheEntry { QStringLiteral("A"), QStringLiteral("gif"),
            QStringLiteral("http://127.0.0.1:9/a.gif"), QString(), 15000, 3 });
        form->exitClicked();
        QCOMPARE(TestEnv::readFile(appDir + QStringLiteral("adcache.dat")),
            QByteArray("A,gif,http://127.0.0.1:9/a.gif,,15000,3\r\n"));
    }

    void outlineFollowsTheScreenDensity_data()
    {
        QTest::addColumn<int>("dotsPerInch");
        QTest::addColumn<bool>("shaped");
        QTest::newRow("96") << 96 << true;
        QTest::newRow("120") << 120 << true;
        QTest::newRow("144") << 144 << false;
        QTest::newRow("72") << 72 << false;
    }

    void outlineFollowsTheScreenDensity()
    {
        QFETCH(int, dotsPerInch);
        QFETCH(bool, shaped);
        auto form = makeForm();
        form->skin().chooseOutline(dotsPerInch);
        QCOMPARE(form->skin().isShaped(), shaped);
        QCOMPARE(form->windowFlags().testFlag(Qt::FramelessWindowHint), shaped);
        QCOMPARE(form->mask().isEmpty(), !shaped);
        QCOMPARE(form->size(), QSize(287, 446));
        if (shaped) {
            // The device's body, cut at the picture's edges: its top corners are gone, its middle is not.
            const QRect bounds = form->mask().boundingRect();
            QVERIFY2(qAbs(bounds.left() - 10) <= 1 && qAbs(bounds.right() - 265) <= 1,
                qPrintable(QStringLiteral("%1..%2").arg(bounds.left()).arg(bounds.right())));
            QVERIFY(!form->mask().contains(QPoint(11, 8)));
            QVERIFY(form->mask().contains(QPoint(140, 200)));
        }
        // Where the window system cannot cut windows, the window is drawn transparent outside the outline: the
        // whole window as it paints itself, its pictures and fields together.
        QCOMPARE(form->skin().isCutOut(), shaped && !HandsetSkin::platformShapesWindows());
        const QImage shot = form->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        QCOMPARE(qAlpha(shot.pixel((QPointF(140, 200) * ratio).toPoint())), 255);
        QCOMPARE(qAlpha(shot.pixel((QPointF(11, 8) * ratio).toPoint())), form->skin().isCutOut() ? 0 : 255);
    }

    // Only X11 tells a program which windows lie above its own. Elsewhere a window over the handset is not known
    // of: the handset counts as uncovered, and is not minimised for it.
    void coverUnknownWithoutAStackingOrder()
    {
        if (HandsetSkin::platformShapesWindows())
            QSKIP("X11 tells the stacking order: there the windows above are known");
        auto form = makeForm();
        form->toggleShown();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWidget over;
        over.setGeometry(form->frameGeometry().adjusted(-20, -20, 20, 20));
        over.show();
        QVERIFY(QTest::qWaitForWindowExposed(&over));
        over.raise();
        QVERIFY(!form->isWindowCovered());
        QVERIFY(!form->bannerCovered());
        form->minimiseIfCovered();
        QVERIFY(form->isShown());
    }

    void caretFollowsTheFocus()
    {
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QSKIP("Keyboard focus is the compositor's to give, and a compositor without a keyboard (headless weston) "
                  "gives it to no window");
        auto form = makeForm();
        form->toggleShown();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        EditCaret* caret = form->caret();
        const QFontMetrics metrics(form->ui().numberEdit->font());
        QCOMPARE(caret->size().width(), metrics.horizontalAdvance(QLatin1Char('_')));
        QCOMPARE(caret->color(), SkinColors::toColor(SkinColors::StatusColorNormal));

        form->ui().senderEdit->setFocus();
        QTRY_COMPARE(caret->activeField(), form->ui().senderEdit);
        // The block is drawn over the field's background by exclusive-or.
        const QRect block = caret->caretRect(form->ui().senderEdit);
        QVERIFY(!block.isEmpty());
        const QImage shot = form->ui().senderEdit->grab().toImage();
        const QRgb expected = SkinColors::toRgb(SkinColors::SkinBackColor ^ SkinColors::StatusColorNormal);
        QCOMPARE(shot.pixel(block.center()) & 0xFFFFFF, expected & 0xFFFFFF);

        form->ui().messageEdit->setFocus();
        QTRY_COMPARE(caret->activeField(), form->ui().messageEdit);
        form->ui().statusLine->setFocus();
        QTRY_COMPARE(caret->activeField(), nullptr);
        QVERIFY(form->ui().statusLine->isReadOnly());
    }
};

QTEST_MAIN(TestMsgForm)
#include "test_msgform.moc"
