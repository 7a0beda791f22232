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
        form->ui().Edit2->setText(QStringLiteral("Dana"));
        form->ui().Memo1->setPlainText(QStringLiteral("שלום"));

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
        QCOMPARE(of(ui.Edit2)->text(QAccessible::Name), fields[0]);
        QCOMPARE(of(ui.ComboBox1)->text(QAccessible::Name), fields[1]);
        QCOMPARE(of(ui.Edit1)->text(QAccessible::Name), fields[2]);
        QCOMPARE(of(ui.Memo1)->text(QAccessible::Name), fields[3]);
        QCOMPARE(of(ui.Button1)->text(QAccessible::Name), send);
        QCOMPARE(of(ui.Button1)->role(), QAccessible::Button);
        QVERIFY(of(ui.ImgButton2)->state().hasPopup);
        // The labels are tied to their fields.
        const auto relations = of(ui.Edit2)->relations(QAccessible::Label);
        QVERIFY(std::any_of(relations.cbegin(), relations.cend(),
            [&ui](const auto& relation) { return relation.first->object() == ui.Label1; }));
        // The counter is one text.
        QCOMPARE(of(ui.CharCount)->text(QAccessible::Name), counter);

        // The lamp says its state in words, a different one for each colour.
        QStringList lamp;
        for (const int state : { 0, 1, 2 }) {
            form->session().setConnectionState(ConnectionState(state));
            lamp << of(ui.Led)->text(QAccessible::Name);
        }
        QCOMPARE(QSet<QString>(lamp.cbegin(), lamp.cend()).size(), 3);
    }

    // The status line reads as the text it shows, never as markup; the text from outside as written.
    void statusLineReadsItsText()
    {
        auto form = makeForm();
        for (const QString& text : { QStringLiteral("ההודעה נשלחה"), QStringLiteral("<b>1 & 2</b>") }) {
            form->showStatus(text, StatusKind::Info);
            QCOMPARE(of(form->ui().Panel1)->text(QAccessible::Name), text);
        }
        form->ui().Panel1->clear();
        QVERIFY(!of(form->ui().Panel1)->text(QAccessible::Name).isEmpty());
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
        ui.Edit2->setFocus();
        QList<QWidget*> visited;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        const QList<QWidget*> expected { ui.ComboBox1, ui.Edit1, ui.Memo1, ui.Button1, ui.SpeedButton1, ui.ImgButton2,
            ui.Panel1, ui.ImgButton5, ui.ImgButton4 };
        QCOMPARE(visited, expected);

        int presses = 0;
        connect(ui.ImgButton4, &TImgButton::clicked, this, [&presses] { ++presses; });
        QTest::keyClick(ui.ImgButton4, Qt::Key_Space);
        QTest::keyClick(ui.ImgButton4, Qt::Key_Return);
        QCOMPARE(presses, 2);

        bool menuShown = false;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(ui.PopupMenu2->isVisible());
            menuShown = true;
            QTest::keyClick(ui.PopupMenu2, Qt::Key_Escape);
        });
        ui.ImgButton2->setFocus();
        QTest::keyClick(ui.ImgButton2, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(menuShown);
        QVERIFY(!ui.PopupMenu2->isVisible());
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
