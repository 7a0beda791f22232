// The main window as a screen reader meets it, through Qt's accessibility interfaces (what the AT-SPI bridge
// hands on): every control named in the interface language, no markup anywhere, the lamp's name following its
// state, the counter one text, the status line its text; and the keys of the skinned buttons. The events a
// reader hears are checked over the real accessibility bus (accessibility_atspi).

#include "AppWindowTest.h"
#include "TestEnv.h"

#include "language/LanguageModules.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QtTest>

using namespace AppWindowTest;

namespace {
QAccessibleInterface* of(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Every visible control a reader stops at, with its role: buttons, fields, texts and links.
void controls(QAccessibleInterface* node, QList<QAccessibleInterface*>& found)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        switch (child->role()) {
        case QAccessible::Button:
        case QAccessible::EditableText:
        case QAccessible::StaticText:
        case QAccessible::Link:
            found << child;
            break;
        default:
            break;
        }
        controls(child, found);
    }
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TTrayIcon::setSystemTrayAvailableForTesting(true); }
    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
    }
    void cleanup() { LanguageModules::SetResourceModule(nullptr); }

    void everyControlNamedInBothLanguages_data()
    {
        QTest::addColumn<QString>("module"); // empty: the built-in Hebrew
        QTest::addColumn<QStringList>("fields"); // sender, area code, number, message
        QTest::addColumn<QString>("send");
        QTest::addColumn<QString>("counter");
        QTest::newRow("Hebrew") << "" << QStringList { "השולח", "קידומת", "טלפון", "ההודעה" } << "שלח"
                                << "ההודעה: 8 מתוך 105 תוים";
        QTest::newRow("English") << "ENU" << QStringList { "From", "Area code", "Phone", "Message" } << "Send"
                                 << "Message: 8 of 105 characters";
    }
    void everyControlNamedInBothLanguages()
    {
        QFETCH(QString, module);
        QFETCH(QStringList, fields);
        QFETCH(QString, send);
        QFETCH(QString, counter);
        if (!module.isEmpty())
            QVERIFY(LanguageModules::LoadLanguageModule(
                QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora"), module));
        auto form = makeForm();
        form->show();
        form->ui().senderEdit->setText(QStringLiteral("Dana"));
        form->ui().messageEdit->setPlainText(QStringLiteral("שלום"));

        QList<QAccessibleInterface*> found;
        controls(of(form.get()), found);
        QVERIFY(found.size() >= 14);
        const QRegularExpression markup(QStringLiteral("<[a-zA-Z/!]|&[a-z]+;"));
        for (QAccessibleInterface* control : std::as_const(found)) {
            const QString what = control->object()->objectName();
            QVERIFY2(!control->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(what + " has no name"));
            for (const QAccessible::Text t : { QAccessible::Name, QAccessible::Description })
                QVERIFY2(!control->text(t).contains(markup), qPrintable(what + ": " + control->text(t)));
        }

        const MsgFormUi& ui = form->ui();
        QCOMPARE(of(ui.senderEdit)->text(QAccessible::Name), fields[0]);
        QCOMPARE(of(ui.areaCodeEdit)->text(QAccessible::Name), fields[1]);
        QCOMPARE(of(ui.numberEdit)->text(QAccessible::Name), fields[2]);
        QCOMPARE(of(ui.messageEdit)->text(QAccessible::Name), fields[3]);
        QCOMPARE(of(ui.sendButton)->text(QAccessible::Name), send);
        QCOMPARE(of(ui.sendButton)->role(), QAccessible::Button);
        QVERIFY(of(ui.areaMenuButton)->state().hasPopup);
        // The labels are tied to their fields.
        const auto relations = of(ui.senderEdit)->relations(QAccessible::Label);
        QVERIFY(std::any_of(relations.cbegin(), relations.cend(),
            [&ui](const auto& relation) { return relation.first->object() == ui.senderLabel; }));
        // The counter is one text.
        QCOMPARE(of(ui.counterLabel)->text(QAccessible::Name), counter);

        // The lamp says its state in words, a different one for each colour.
        QStringList lamp;
        for (const int state : { 0, 1, 2 }) {
            static_cast<ServiceConnectionHost&>(form->session()).setConnectionState(ConnectionState(state));
            lamp << of(ui.connectionLamp)->text(QAccessible::Name);
        }
        QCOMPARE(QSet<QString>(lamp.cbegin(), lamp.cend()).size(), 3);
    }

    // The status line reads as the text it shows, never as markup; the text from outside as written.
    void statusLineReadsItsText()
    {
        auto form = makeForm();
        for (const QString& text : { QStringLiteral("ההודעה נשלחה"), QStringLiteral("<b>1 & 2</b>") }) {
            form->showStatus(text, StatusKind::Info);
            QCOMPARE(of(form->ui().statusLine)->text(QAccessible::Name), text);
        }
        form->ui().statusLine->clear();
        QVERIFY(!of(form->ui().statusLine)->text(QAccessible::Name).isEmpty());
    }

    // The image buttons: reached by Tab in reading order, pressed by Space or Return, the area-code menu opened
    // by Alt+Down and closed by Escape.
    void imageButtonsFromTheKeyboard()
    {
        auto form = makeForm();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const MsgFormUi& ui = form->ui();
        ui.senderEdit->setFocus();
        QList<QWidget*> visited;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        const QList<QWidget*> expected { ui.areaCodeEdit, ui.numberEdit, ui.messageEdit, ui.sendButton, ui.phoneBookButton, ui.areaMenuButton,
            ui.statusLine, ui.menuButton, ui.closeButton };
        QCOMPARE(visited, expected);

        int presses = 0;
        connect(ui.closeButton, &TImgButton::clicked, this, [&presses] { ++presses; });
        QTest::keyClick(ui.closeButton, Qt::Key_Space);
        QTest::keyClick(ui.closeButton, Qt::Key_Return);
        QCOMPARE(presses, 2);

        bool menuShown = false;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(ui.areaMenu->isVisible());
            menuShown = true;
            QTest::keyClick(ui.areaMenu, Qt::Key_Escape);
        });
        ui.areaMenuButton->setFocus();
        QTest::keyClick(ui.areaMenuButton, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(menuShown);
        QVERIFY(!ui.areaMenu->isVisible());
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
