// The send command in the window: its refusals in the status line, its questions, the single send and what
// it keeps for the next start, the counter.

#include "app/StatusDisplay.h"
#include "AppWindowTest.h"
#include "TestEnv.h"

#include "app/THiddenForm.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TPhoneBookForm.h"
#include "service/ServiceState.h"
#include "widgets/SkinColors.h"
#include "settings/SmsIni.h"
#include "settings/TPreferencesForm.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QTableView>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

using namespace AppWindowTest;

namespace {
TProvider kesher()
{
    TProvider p;
    p.Name = QStringLiteral("Kesher");
    p.AreaCodes = QStringLiteral("054");
    p.MsgUrl = QStringLiteral("http://127.0.0.1:9/kesher");
    return p;
}

TProvider sahar(bool credentials)
{
    TProvider p;
    p.Name = QStringLiteral("Sahar");
    p.AreaCodes = QStringLiteral("052");
    p.LoginUrl = QStringLiteral("http://127.0.0.1:9/sahar");
    p.MsgUrl = QStringLiteral("http://127.0.0.1:9/sahar/msg");
    if (credentials) {
        p.UserName = QStringLiteral("demo");
        p.Password = QStringLiteral("demo1234");
    }
    return p;
}

// A window with definitions at hand (connection state 1) and its prompt answering as told.
std::unique_ptr<TMsgForm> readyForm()
{
    auto form = makeForm();
    form->session().setOnline(true);
    form->session().engine().Providers = { sahar(true), kesher() };
    static_cast<ServiceConnectionHost&>(form->session()).setConnectionState(ConnectionState::Stored);
    form->toggleShown();
    return form;
}

// Clicks the grid's row as a user does, Ctrl held for a multiple choice.
void clickRow(TPhoneBookForm* book, int row, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    const QModelIndex index = book->grid->model()->index(row, 0);
    QTest::mouseClick(book->grid->viewport(), Qt::LeftButton, modifiers, book->grid->visualRect(index).center());
}
} // namespace

class TestMsgFormSending : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TTrayIcon::setSystemTrayAvailableForTesting(true); }

    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
    }

    // Each refusal in the status line, in the error colour, nothing sent and the message kept.
    void refusalsInTheStatusLine_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty message") << "Dana"
                                       << ""
                                       << "054"
                                       << "1234567"
                                       << "ההודעה ריקה";
        QTest::newRow("106 characters") << "Dana1" << QString(101, 'x') << "054"
                                        << "1234567"
                                        << "סה\"כ תוים למשלוח גדול מ 105.";
        QTest::newRow("empty sender") << ""
                                      << "hi"
                                      << "054"
                                      << "1234567"
                                      << "שם השולח חסר";
        QTest::newRow("no number") << "Dana"
                                   << "hi"
                                   << "054"
                                   << ""
                                   << "מספר הטלפון אינו שלם";
        QTest::newRow("no provider") << "Dana"
                                     << "hi"
                                     << "099"
                                     << "1234567"
                                     << "ספק תקשורת לא מוכר";
    }
    void refusalsInTheStatusLine()
    {
        QFETCH(QString, sender);
        QFETCH(QString, message);
        QFETCH(QString, area);
        QFETCH(QString, phone);
        QFETCH(QString, text);
        ScriptedPrompt prompt;
        auto form = readyForm();
        form->ui().senderEdit->setText(sender);
        form->ui().messageEdit->setPlainText(message);
        form->ui().areaCodeEdit->setText(area);
        form->ui().numberEdit->setText(phone);
        form->sendClicked();
        QCOMPARE(form->ui().statusLine->text(), text);
        QCOMPARE(form->statusDisplay().colour(), SkinColors::StatusColorError);
        QVERIFY(!isBusyStatus(form->session().engine().Status));
        QCOMPARE(form->ui().messageEdit->toPlainText(), message);
        QVERIFY(prompt.asked.isEmpty());
        QVERIFY(form->session().service().initTimer().isActive());
    }

    void emptyListIsRefused()
    {
        auto form = readyForm();
        form->ui().recipientLabel->setIsList(true);
        form->sendClicked();
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("רשימת הנמענים ריקה"));
    }

    // 105 characters go; a single send keeps its fields for the next start and returns at once.
    void singleSendKeepsItsFields()
    {
        auto form = readyForm();
        form->session().engine().TimeOut = 45;
        form->ui().senderEdit->setText(QStringLiteral("Dana1"));
        form->ui().areaCodeEdit->setText(QStringLiteral("054"));
        form->ui().numberEdit->setText(QStringLiteral("1234567"));
        form->ui().recipientLabel->setText(QStringLiteral("אבי"));
        form->ui().messageEdit->setPlainText(QString(98, 'x') + QLatin1Char('\n'));
        QCOMPARE(form->ui().counterLabel->text(), QStringLiteral("105 / 105 תוים)"));
        form->sendClicked();
        QCOMPARE(form->session().engine().Status, ssConnecting);
        QCOMPARE(form->session().engine().Message, QString(98, 'x') + QStringLiteral("\r\n"));
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("מתחבר..."));
        const SmsIni ini;
        QCOMPARE(ini.lastFrom(), QStringLiteral("Dana1"));
        QCOMPARE(ini.lastAreaCode(), QStringLiteral("054"));
        QCOMPARE(ini.lastPhone(), QStringLiteral("1234567"));
        QCOMPARE(ini.lastRecipient(), QStringLiteral("אבי"));
        QCOMPARE(ini.timeOut(), 45);
    }

    // The counter counts as the send command does, in the window's reading order; left to right
    // the caption and the counter read as one label.
    void counterCountsCharactersAsSeen_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<QString>("shown");
        QTest::newRow("right to left") << "Dana"
                                       << "שלום" << true << "105 / 8 תוים)";
        QTest::newRow("left to right") << "Dana"
                                       << "שלום" << false << "ההודעה: (8 / 105 תוים)";
        QTest::newRow("a line break counts two") << ""
                                                 << "a\nb" << true << "105 / 4 תוים)";
        QTest::newRow("a letter outside the basic plane counts two")
            << "" << QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80") << true << "105 / 4 תוים)";
    }
    void counterCountsCharactersAsSeen()
    {
        QFETCH(QString, sender);
        QFETCH(QString, message);
        QFETCH(bool, rightToLeft);
        QFETCH(QString, shown);
        auto form = makeForm();
        form->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        form->ui().senderEdit->setText(sender);
        form->ui().messageEdit->setPlainText(message);
        QCOMPARE(form->ui().counterLabel->text(), shown);
    }

    // Without definitions the command asks first; offline it names the missing connection.
    void questionBeforeSendingWithoutDefinitions_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::newRow("offline, No") << false << false << "לא מחובר לאינטרנט!\n?האם לנסות לשלוח";
        QTest::newRow("no cache, Yes") << true << true << "Cache לא מחובר לשרת ואין הגדרות ב\n?האם לנסות לשלוח";
    }
    void questionBeforeSendingWithoutDefinitions()
    {
        QFETCH(bool, online);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        ScriptedPrompt prompt;
        prompt.answer = answer;
        auto form = readyForm();
        form->session().setOnline(online);
        static_cast<ServiceConnectionHost&>(form->session()).setConnectionState(ConnectionState::NoDefinitions);
        form->ui().senderEdit->setText(QStringLiteral("Dana"));
        form->ui().messageEdit->setPlainText(QStringLiteral("hi"));
        form->ui().areaCodeEdit->setText(QStringLiteral("054"));
        form->ui().numberEdit->setText(QStringLiteral("1234567"));
        form->sendClicked();
        QCOMPARE(prompt.asked, QStringList { question });
        QCOMPARE(form->session().engine().Status, answer ? ssConnecting : ssReady);
    }

    // The phone book's choice: one row fills the recipient, several make a list of those that have an area
    // code and a number, and a choice made while the window is hidden changes nothing.
    void phoneBookChoiceFillsTheRecipient_data()
    {
        QTest::addColumn<QList<int>>("rows"); // in the grid's order: Avi, Beni (no number), Dana, Gal
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::newRow("one row") << QList<int> { 2 } << false << "Dana" << QStringList() << "054"
                                 << "2222222";
        QTest::newRow("three rows, one without a number") << QList<int> { 3, 1, 0 } << false << "<רשימת נמענים>"
                                                          << QStringList { "Gal=055-3333333", "Avi=052-1111111" } << ""
                                                          << "";
        QTest::newRow("chosen while hidden") << QList<int> { 2 } << true << "before" << QStringList() << "050"
                                             << "7777777";
    }
    void phoneBookChoiceFillsTheRecipient()
    {
        QFETCH(QList<int>, rows);
        QFETCH(bool, hidden);
        QFETCH(QString, caption);
        QFETCH(QStringList, list);
        QFETCH(QString, area);
        QFETCH(QString, phone);
        THiddenForm hiddenForm;
        hiddenForm.phoneBook()->appendRecords({ { "Avi", "052", "1111111" }, { "Beni", "053", "" },
            { "Dana", "054", "2222222" }, { "Gal", "055", "3333333" } });
        auto form = makeForm(&hiddenForm);
        if (!hidden)
            form->toggleShown();
        form->ui().areaCodeEdit->setText(QStringLiteral("050"));
        form->ui().numberEdit->setText(QStringLiteral("7777777"));
        form->ui().recipientLabel->setText(QStringLiteral("before"));
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* book = qobject_cast<TPhoneBookForm*>(QApplication::activeModalWidget());
            if (!book || !book->isVisible() || book->grid->model()->rowCount() < 4)
                return;
            poll.stop();
            for (const int row : rows)
                clickRow(book, row, rows.size() > 1 ? Qt::ControlModifier : Qt::NoModifier);
            QVERIFY(!form->ui().languagesAction->isEnabled());
            book->okButton->click();
        });
        poll.start(10);
        form->phoneBookClicked();
        QVERIFY(!form->phoneBookForm());
        QVERIFY(form->ui().languagesAction->isEnabled());
        QCOMPARE(form->ui().recipientLabel->text(), caption);
        QCOMPARE(form->ui().recipientLabel->isList(), !list.isEmpty());
        if (!list.isEmpty())
            QCOMPARE(form->ui().recipientLabel->list(), list);
        QCOMPARE(form->ui().areaCodeEdit->text(), area);
        QCOMPARE(form->ui().numberEdit->text(), phone);
        QCOMPARE(form->ui().numberEdit->isEnabled(), list.isEmpty());
        QCOMPARE(form->ui().areaCodeEdit->isEnabled(), list.isEmpty());
    }

    // Missing credentials in a single send: the box names the provider, the preferences open on that
    // provider (the second that needs a login), what is typed there is kept, and the status line asks for
    // another try, which then sends.
    void missingCredentialsOpenThePreferencesOnTheProvider()
    {
        ScriptedPrompt prompt;
        auto form = readyForm();
        form->session().state().CacheLoaded = true;
        TProvider ofek = sahar(false);
        ofek.Name = QStringLiteral("Ofek");
        ofek.AreaCodes = QStringLiteral("055");
        form->session().engine().Providers = { sahar(true), kesher(), ofek };
        form->ui().senderEdit->setText(QStringLiteral("Dana"));
        form->ui().messageEdit->setPlainText(QStringLiteral("hi"));
        form->ui().areaCodeEdit->setText(QStringLiteral("055"));
        form->ui().numberEdit->setText(QStringLiteral("1234567"));
        QString shown;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TPreferencesForm*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shown = dialog->providerBox->currentText();
            dialog->userNameEdit->setText(QStringLiteral("dana"));
            dialog->passwordEdit->setText(QStringLiteral("secret"));
            dialog->okButton->click();
        });
        form->sendClicked();
        QCOMPARE(prompt.told, QStringList { QStringLiteral("Ofek חסרים נתוני זיהוי עבור") });
        QCOMPARE(shown, QStringLiteral("Ofek"));
        QCOMPARE(form->ui().statusLine->text(), QStringLiteral("לחץ SEND לנסיון נוסף"));
        QCOMPARE(form->session().engine().Status, ssReady);
        QVERIFY(!form->findChild<TPreferencesForm*>());
        QVERIFY(form->ui().languagesAction->isEnabled());

        form->sendClicked();
        QCOMPARE(form->session().engine().Status, ssConnecting);
        QCOMPARE(form->session().engine().UserName, QStringLiteral("dana"));
        QCOMPARE(SmsIni().password(QStringLiteral("Ofek")), QStringLiteral("secret"));
    }
};

QTEST_MAIN(TestMsgFormSending)
#include "test_msgform_sending.moc"
