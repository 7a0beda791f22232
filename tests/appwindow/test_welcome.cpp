// A new user's first start: the welcome box over the main window, and the status line when no provider is
// known.

#include "app/CompositionFields.h"
#include "AppWindowTest.h"
#include "ModalSteps.h"
#include "TestEnv.h"

#include "app/LanguageSwitch.h"
#include "app/THiddenForm.h"
#include "app/Welcome.h"
#include "app/WelcomeBox.h"
#include "common/AppPaths.h"
#include "language/LanguageModules.h"
#include "language/THalvernLangInfo.h"
#include "language/THalvernLanguage.h"
#include "language/TLanguagesForm.h"
#include "settings/ProgramSettings.h"
#include "settings/TPreferencesForm.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QCommandLinkButton>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace AppWindowTest;

namespace {
const QString NoProviders = QStringLiteral("אין עדיין ספקים: יש ללמד את התוכנה מפעיל או להזין כתובת שירות");

// An operator of the user's own, as the teach window writes one.
const QByteArray OwnOperator = "<#AREAS DEFS=058=058>\n"
                               "<#PROVIDER Name=Own AreaCodes=058 MsgUrl=http://127.0.0.1:9/send MsgFrame=-1 "
                               "MsgForm=sms PhoneField=phone MsgField=msg MsgSubmit=1 ResAccepted=ok>\n";

void show(TMsgForm& form)
{
    if (!form.isShown())
        form.toggleShown();
    QVERIFY(form.isShown());
}
} // namespace

class TestWelcome : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        Welcome::guideWindows(true);
    }

    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        Welcome::setFirstStart(true);
    }

    void decision_data()
    {
        QTest::addColumn<bool>("firstStart");
        QTest::addColumn<bool>("providersKnown");
        QTest::addColumn<bool>("alreadyShown");
        QTest::addColumn<bool>("shown");
        QTest::newRow("first start, nothing known") << true << false << false << true;
        QTest::newRow("first start, a provider known") << true << true << false << false;
        QTest::newRow("first start, closed before") << true << false << true << false;
        QTest::newRow("first start, known and closed") << true << true << true << false;
        QTest::newRow("later start, nothing known") << false << false << false << false;
        QTest::newRow("later start, a provider known") << false << true << false << false;
        QTest::newRow("later start, closed before") << false << false << true << false;
        QTest::newRow("later start, known and closed") << false << true << true << false;
    }
    void decision()
    {
        QFETCH(bool, firstStart);
        QFETCH(bool, providersKnown);
        QFETCH(bool, alreadyShown);
        QFETCH(bool, shown);
        QCOMPARE(Welcome::shouldShow(firstStart, providersKnown, alreadyShown), shown);
    }

    // The settings file decides the first start, read before this run writes it.
    void firstStartIsAMissingSettingsFile()
    {
        Welcome::noteProgramStart();
        QVERIFY(Welcome::isFirstStart());
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), "[General]\r\nTimeOut=30\r\n");
        QVERIFY(Welcome::isFirstStart());
        Welcome::noteProgramStart();
        QVERIFY(!Welcome::isFirstStart());
    }

    // Shown once over the window on the first start, with the status line saying what is missing; once closed,
    // neither the next showing of the window nor the next start brings it back.
    void shownOnceOnTheFirstStart()
    {
        {
            auto form = makeForm();
            QCoreApplication::processEvents();
            show(*form);
            QTRY_VERIFY(form->welcomeBox() && form->welcomeBox()->isVisible());
            QCOMPARE(form->ui().statusLine->text(), NoProviders);
            QCOMPARE(form->welcomeBox()->layoutDirection(), form->layoutDirection());

            QTest::mouseClick(form->welcomeBox()->CloseButton, Qt::LeftButton);
            QTRY_VERIFY(!form->welcomeBox());
            QVERIFY(Welcome::alreadyShown());
            form->toggleShown();
            show(*form);
            QCoreApplication::processEvents();
            QVERIFY(!form->welcomeBox());
            // The status line still says it each time the window is shown.
            QCOMPARE(form->ui().statusLine->text(), NoProviders);
        }
        auto next = makeForm();
        QCoreApplication::processEvents();
        show(*next);
        QCoreApplication::processEvents();
        QVERIFY(!next->welcomeBox());
    }

    // A provider known at the start (an operator of the user's own): no box and nothing said; one that
    // arrives while the box is open (the teach window saved one) closes it and clears the word.
    void neverWhenAProviderIsKnown()
    {
        QVERIFY(AppPaths::ensureDir(AppPaths::localDefinitionsDir()));
        TestEnv::writeFile(AppPaths::localDefinitionsDir() + QStringLiteral("own.def"), OwnOperator);
        {
            auto form = makeForm();
            QCoreApplication::processEvents();
            show(*form);
            QCoreApplication::processEvents();
            QVERIFY(form->session().providersKnown());
            QVERIFY(!form->welcomeBox());
            QCOMPARE(form->ui().statusLine->text(), QString());
        }
        QFile::remove(AppPaths::localDefinitionsDir() + QStringLiteral("own.def"));
        auto form = makeForm();
        QCoreApplication::processEvents();
        show(*form);
        QTRY_VERIFY(form->welcomeBox());
        TestEnv::writeFile(AppPaths::localDefinitionsDir() + QStringLiteral("own.def"), OwnOperator);
        // What the teach window does once it saved a definition.
        form->session().service().localDefinitionsChanged();
        form->fields().buildAreaMenu();
        QTRY_VERIFY(!form->welcomeBox());
        QCOMPARE(form->ui().statusLine->text(), QString());
    }

    // A new interface language picked while the box is open: the window built again offers it again, in the
    // new language's direction.
    void offeredAgainInANewLanguage()
    {
        LanguageSwitch::setModuleBase(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora"));
        ProgramSettings::writeLanguage(QStringLiteral("HEB"));
        THiddenForm root;
        const QPointer<TMsgForm> before = makeForm(&root).release();
        QCoreApplication::processEvents();
        before->toggleShown();
        QTRY_VERIFY(before->welcomeBox());
        QCOMPARE(before->welcomeBox()->layoutDirection(), Qt::RightToLeft);

        before->ui().languagesAction->trigger();
        QTRY_VERIFY(LanguageSwitch::window());
        TLanguagesForm* languages = LanguageSwitch::window();
        THalvernLanguage* list = languages->languageList;
        for (int i = 0; i < list->count(); ++i) {
            if (list->itemLangInfo(i) && list->itemLangInfo(i)->Abbreviation == QLatin1String("ENU")) {
                list->setCurrentIndex(i);
                emit list->activated(i);
            }
        }
        QTRY_VERIFY(before.isNull());
        languages->close();
        QTRY_VERIFY(root.mainWindow() && root.mainWindow()->isVisible());
        auto* after = qobject_cast<TMsgForm*>(root.mainWindow());
        QTRY_VERIFY(after->welcomeBox());
        QCOMPARE(after->welcomeBox()->layoutDirection(), Qt::LeftToRight);
        QVERIFY(!Welcome::alreadyShown());
        delete after;
        LanguageModules::SetResourceModule(nullptr);
    }

    // "Enter a service address": the preferences open over the window, on the address field when it has one.
    void serviceAddressOpensThePreferences()
    {
        auto form = makeForm();
        QCoreApplication::processEvents();
        show(*form);
        QTRY_VERIFY(form->welcomeBox());
        bool opened = false;
        QLineEdit* focused = nullptr;
        QLineEdit* field = nullptr;
        bool onItsTab = false;
        whenModal<TPreferencesForm>([&](TPreferencesForm& dialog) {
            opened = true;
            field = dialog.findChild<QLineEdit*>(QStringLiteral("serviceUrlEdit"));
            focused = qobject_cast<QLineEdit*>(dialog.focusWidget());
            onItsTab = field && dialog.tabs->currentWidget()->isAncestorOf(field);
            dialog.reject();
        });
        QTest::mouseClick(form->welcomeBox()->ServiceButton, Qt::LeftButton);
        QTRY_VERIFY(opened);
        QVERIFY(!form->welcomeBox());
        // The field comes with the service address setting; without it the dialog opens as it is.
        if (field) {
            QCOMPARE(focused, field);
            QVERIFY(onItsTab);
        }
    }
};

QTEST_MAIN(TestWelcome)
#include "test_welcome.moc"
