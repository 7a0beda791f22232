// The interface language switched from the main window: the window taken down and built again in the
// language picked, from the outermost event loop only, also while a send is under way.

#include "app/CompositionFields.h"
#include "AppWindowTest.h"
#include "TestEnv.h"

#include "app/LanguageSwitch.h"
#include "app/THiddenForm.h"
#include "language/LanguageModules.h"
#include "language/THalvernLangInfo.h"
#include "language/THalvernLanguage.h"
#include "language/TLanguagesForm.h"
#include "settings/ProgramSettings.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace AppWindowTest;

namespace {
// The program's own modules, built beside this test.
QString builtModules()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora");
}

// Picks the language in the open language window as the user does.
void pick(TLanguagesForm* window, const QString& code)
{
    THalvernLanguage* list = window->languageList;
    for (int i = 0; i < list->count(); ++i) {
        const THalvernLangInfo* info = list->itemLangInfo(i);
        if (info && info->Abbreviation.compare(code, Qt::CaseInsensitive) == 0) {
            // As the user's choice in the list does.
            list->setCurrentIndex(i);
            emit list->activated(i);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("%1 is not listed").arg(code)));
}
} // namespace

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

    std::unique_ptr<THiddenForm> m_root;

    TMsgForm* mainWindow() const { return qobject_cast<TMsgForm*>(m_root->mainWindow()); }

    TLanguagesForm* openLanguages()
    {
        mainWindow()->ui().languagesAction->trigger();
        return QTest::qWaitFor([] { return LanguageSwitch::window() != nullptr; }) ? LanguageSwitch::window() : nullptr;
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        LanguageSwitch::setModuleBase(builtModules());
    }

    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
        LanguageModules::SetResourceModule(nullptr);
        // The last run's language was Hebrew.
        ProgramSettings::writeLanguage(QStringLiteral("HEB"));
        m_root = std::make_unique<THiddenForm>();
        makeForm(m_root.get()).release();
        mainWindow()->toggleShown();
    }

    void cleanup()
    {
        delete LanguageSwitch::window();
        delete mainWindow();
        m_root.reset();
        LanguageModules::SetResourceModule(nullptr);
    }

    // English picked and the window closed by its title-bar button: the new main window is English and left
    // to right at once; the stored language (the next start's) stays as it was.
    void pickedLanguageShowsAtOnceStoredOnlyByClose_data()
    {
        QTest::addColumn<bool>("closeButton");
        QTest::newRow("title-bar button") << false;
        QTest::newRow("Close") << true;
    }
    void pickedLanguageShowsAtOnceStoredOnlyByClose()
    {
        QFETCH(bool, closeButton);
        const QPointer<TMsgForm> before = mainWindow();
        QCOMPARE(before->session().languageCode(), QStringLiteral("HEB"));
        QCOMPARE(before->layoutDirection(), Qt::RightToLeft);
        TLanguagesForm* window = openLanguages();
        // Until a language is chosen the handset and its tray icon stay.
        QTest::qWait(100);
        QVERIFY(before && before->isVisible() && before->ui().trayIcon->isShown());
        pick(window, QStringLiteral("ENU"));
        QTRY_VERIFY(before.isNull());
        QVERIFY2(LanguageModules::activeModuleFile().endsWith(QLatin1String("zelkora.ENU")),
            qPrintable(LanguageModules::activeModuleFile()));
        if (closeButton)
            window->closeButton->click();
        else
            window->close();
        QTRY_VERIFY(mainWindow());
        QTRY_VERIFY(mainWindow()->isVisible());
        QCOMPARE(mainWindow()->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(mainWindow()->ui().senderLabel->text(), QStringLiteral("From:"));
        QCOMPARE(mainWindow()->ui().exitAction->text(), QStringLiteral("Exit"));
        QVERIFY(mainWindow()->ui().senderEdit->alignment() & Qt::AlignLeft);
        QCOMPARE(mainWindow()->ui().counterLabel->text(), QStringLiteral("Message: (0 / 105 chars)"));
        QCOMPARE(ProgramSettings::readLanguage(), closeButton ? QStringLiteral("ENU") : QStringLiteral("HEB"));
        QTRY_VERIFY(!LanguageSwitch::window());
    }

    // What was typed comes back in the rebuilt window: one recipient with its name, or a chosen list.
    void rebuildKeepsWhatWasTyped_data()
    {
        QTest::addColumn<bool>("list");
        QTest::newRow("one recipient") << false;
        QTest::newRow("a list") << true;
    }
    void rebuildKeepsWhatWasTyped()
    {
        QFETCH(bool, list);
        MainSession::Composition typed;
        typed.sender = QStringLiteral("דנה");
        typed.message = QStringLiteral("שלום\nלכם");
        if (list) {
            typed.listMode = true;
            typed.list = QStringList { QStringLiteral("Avi=052-1234567"), QStringLiteral("Gal=054-7654321") };
        } else {
            typed.area = QStringLiteral("052");
            typed.phone = QStringLiteral("1234567");
            typed.recipientName = QStringLiteral("אבי כהן");
        }
        mainWindow()->session().composition() = typed;
        mainWindow()->fields().show();
        const QPointer<TMsgForm> before = mainWindow();
        TLanguagesForm* window = openLanguages();
        pick(window, QStringLiteral("ENU"));
        QTRY_VERIFY(before.isNull());
        window->close();
        QTRY_VERIFY(mainWindow() && mainWindow()->isVisible());
        // In the rebuilt window's fields, as the user sees them.
        const MsgFormUi& ui = mainWindow()->ui();
        QCOMPARE(ui.senderEdit->text(), typed.sender);
        QCOMPARE(ui.messageEdit->toPlainText(), typed.message);
        QCOMPARE(ui.recipientLabel->isList(), list);
        QCOMPARE(ui.recipientLabel->list(), typed.list);
        QCOMPARE(ui.areaCodeEdit->text(), typed.area);
        QCOMPARE(ui.numberEdit->text(), typed.phone);
        if (!list)
            QCOMPARE(ui.recipientLabel->text(), typed.recipientName);
        QCOMPARE(ui.numberEdit->isEnabled(), !list);
    }

    // The switch asked for while an attempt is under way: the attempt ends with the old window, silently,
    // and the new window starts idle.
    void switchDuringASendAttempt()
    {
        TProvider provider;
        provider.Name = QStringLiteral("Kesher");
        provider.AreaCodes = QStringLiteral("054");
        provider.MsgUrl = QStringLiteral("http://127.0.0.1:9/kesher");
        mainWindow()->session().engine().Providers = { provider };
        mainWindow()->session().engine().Send(
            QStringLiteral("Dana"), QStringLiteral("054"), QStringLiteral("1234567"), QStringLiteral("hi"), {}, {});
        QVERIFY(isBusyStatus(mainWindow()->session().engine().Status));
        const QPointer<TMsgForm> before = mainWindow();
        TLanguagesForm* window = openLanguages();
        pick(window, QStringLiteral("ENU"));
        QTRY_VERIFY(before.isNull());
        window->closeButton->click();
        QTRY_VERIFY(mainWindow() && mainWindow()->isVisible());
        QCOMPARE(mainWindow()->session().engine().Status, ssReady);
        QCOMPARE(mainWindow()->layoutDirection(), Qt::LeftToRight);
    }

    // Chosen from a menu, the switch waits until the menu's own event loop has returned, and one language
    // window opens however often it is asked for.
    void switchWaitsForTheMenuToReturn()
    {
        const QPointer<TMsgForm> before = mainWindow();
        // The program's event loop, and in it a menu's.
        QEventLoop programLoop;
        bool stillThere = false;
        QTimer::singleShot(0, &programLoop, [&] {
            QEventLoop menuLoop;
            QTimer::singleShot(0, &menuLoop, [&] {
                before->languagesClicked();
                before->languagesClicked();
                QTest::qWait(50);
                // Still inside the menu's loop: nothing has been taken down.
                stillThere = before && !LanguageSwitch::window();
                menuLoop.quit();
            });
            menuLoop.exec();
            QTimer::singleShot(200, &programLoop, &QEventLoop::quit);
        });
        programLoop.exec();
        QVERIFY(stillThere);
        QTRY_VERIFY(LanguageSwitch::window());
        LanguageSwitch::window()->close();
        QTRY_VERIFY(!LanguageSwitch::window());
        // Nothing was chosen: the same handset stays.
        QCOMPARE(mainWindow(), before.data());
    }
};

QTEST_MAIN(TestLanguageSwitch)
#include "test_languageswitch.moc"
