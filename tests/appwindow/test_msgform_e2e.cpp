// The desktop program against the sandbox network, as a user drives it: its window made by the program's
// own start, the real browser library loaded at the first send, the sandbox's operator sites on 127.0.0.1
// recording what they received.

#include "app/StatusDisplay.h"
#include "AppWindowTest.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "ScriptedPrompt.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "app/TPopUpStatusForm.h"
#include "common/AppPaths.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TPhoneBookForm.h"
#include "service/ServiceState.h"
#include "settings/SmsIni.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace AppWindowTest;

namespace {
constexpr int Patience = 30000;

// Picks the grid's rows in the phone book window as a user does (Ctrl + click for more than one) and
// presses OK.
void chooseInPhoneBook(QObject* context, const QList<int>& rows)
{
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, rows] {
        auto* book = qobject_cast<TPhoneBookForm*>(QApplication::activeModalWidget());
        if (!book || !book->isVisible() || book->grid->model()->rowCount() == 0)
            return;
        poll->stop();
        poll->deleteLater();
        for (const int row : rows) {
            const QModelIndex index = book->grid->model()->index(row, 0);
            QTest::mouseClick(book->grid->viewport(), Qt::LeftButton,
                rows.size() > 1 ? Qt::ControlModifier : Qt::NoModifier, book->grid->visualRect(index).center());
        }
        book->okButton->click();
    });
    poll->start(10);
}
} // namespace

class TestMsgFormEndToEnd : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<THiddenForm> m_hiddenForm;
    QPointer<TMsgForm> m_form;
    // Every line of the status window, each time a status arrives.
    QList<QStringList> m_statusWindowLines;

    QStringList acceptedPaths() const
    {
        QStringList paths;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.outcome == QLatin1String("accepted"))
                paths << s.path + QLatin1Char(' ') + s.fields.value(QStringLiteral("number"))
                        + s.fields.value(QStringLiteral("phone"));
        }
        return paths;
    }

    // The key events of the test library know no Hebrew: the fields take the text as an input method gives it.
    void compose(const QString& sender, const QString& message)
    {
        m_form->ui().senderEdit->setText(sender);
        m_form->ui().messageEdit->setPlainText(message);
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        QVERIFY(m_sandbox.listen());
        AppPaths::setServiceUrlOverride(m_sandbox.baseUrl());
        TestEnv::freshAppDir();
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"),
            "[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        // The program's own start, with the real browser library, and a phone book of three.
        m_hiddenForm = std::make_unique<THiddenForm>();
        m_hiddenForm->phoneBook()->appendRecords(
            { { QStringLiteral("אבי"), QStringLiteral("052"), QStringLiteral("1111111") },
                { QStringLiteral("בני"), QStringLiteral("052"), QStringLiteral("3333333") },
                { QStringLiteral("גלית"), QStringLiteral("054"), QStringLiteral("2222222") } });
        m_form = ProgramEntry::start(ProgramEntry::parse({}), *m_hiddenForm, {});
        QTRY_VERIFY(m_form->isShown());
        // The service's definitions arrive a second after the start.
        QTRY_COMPARE_WITH_TIMEOUT(m_form->session().connectionState(), ConnectionState::Service, Patience);
        connect(&m_form->session().engine(), &TSMSBaseForm::statusChanged, this, [this] {
            if (m_form->popUpStatusForm())
                m_statusWindowLines << m_form->popUpStatusForm()->text().split(QLatin1Char('\n'));
        });
    }

    void cleanupTestCase()
    {
        delete m_form.data();
        m_hiddenForm.reset();
        AppPaths::setServiceUrlOverride(QString());
    }

    void init() { m_sandbox.clearSubmissions(); }

    // Without a mouse: Tab from the sender through the area code, number and message to the send button and
    // Space on it; or Ctrl+Return from the message field.
    void sentWithTheKeyboardOnly_data()
    {
        QTest::addColumn<bool>("ctrlReturn");
        QTest::addColumn<QString>("number");
        QTest::newRow("Tab to the send button, Space") << false << "7654321";
        QTest::newRow("Ctrl+Return in the message") << true << "7654322";
    }
    void sentWithTheKeyboardOnly()
    {
        QFETCH(bool, ctrlReturn);
        QFETCH(QString, number);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        const MsgFormUi& ui = m_form->ui();
        // The message stays after a send; the field starts empty here as on a new message.
        ui.messageEdit->clear();
        ui.senderEdit->setFocus();
        ui.senderEdit->selectAll();
        QTest::keyClicks(ui.senderEdit, QStringLiteral("Dana"));
        const auto typeAfterTab = [](QWidget* field, const QString& text) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), field);
            QTest::keyClicks(field, text);
        };
        typeAfterTab(ui.areaCodeEdit, QStringLiteral("052"));
        typeAfterTab(ui.numberEdit, number);
        typeAfterTab(ui.messageEdit, QStringLiteral("by keys"));
        QCOMPARE(ui.areaCodeEdit->text(), QStringLiteral("052"));
        if (ctrlReturn) {
            QTest::keyClick(ui.messageEdit, Qt::Key_Return, Qt::ControlModifier);
        } else {
            QTest::keyClick(ui.messageEdit, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), ui.sendButton);
            QTest::keyClick(ui.sendButton, Qt::Key_Space);
        }
        QTRY_COMPARE_WITH_TIMEOUT(ui.statusLine->text(), QStringLiteral("ההודעה נשלחה"), Patience);
        QCOMPARE(acceptedPaths(), QStringList { QStringLiteral("/sahar/send ") + number });
        QCOMPARE(m_sandbox.submissions().last().fields.value(QStringLiteral("text")), QStringLiteral("by keys"));
        QCOMPARE(ui.messageEdit->toPlainText(), QStringLiteral("by keys"));
    }

    // A recipient typed in, the message sent: the status line ends with the site's acceptance.
    void singleRecipientIsSent()
    {
        m_form->ui().areaCodeEdit->setText(QStringLiteral("052"));
        m_form->ui().numberEdit->setText(QStringLiteral("1234567"));
        compose(QStringLiteral("דנה"), QStringLiteral("שלום מהחלון"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), QStringLiteral("ההודעה נשלחה"), Patience);
        QCOMPARE(acceptedPaths(), QStringList { QStringLiteral("/sahar/send 1234567") });
        QCOMPARE(m_sandbox.submissions().last().fields.value(QStringLiteral("text")), QStringLiteral("שלום מהחלון"));
    }

    // Credentials last used with another origin are not typed into the sandbox's login page until the user
    // says so; then that origin is theirs.
    void aMovedLoginPageGetsTheCredentialsOnlyWithTheUsersWord()
    {
        const QString settings = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI");
        const QByteArray before = TestEnv::readFile(settings);
        for (TProvider& provider : m_form->session().engine().Providers)
            if (provider.Name == QLatin1String("Sahar"))
                provider.LoginOrigin = QStringLiteral("https://sahar.example:443");
        const QString origin = QStringLiteral("http://127.0.0.1:%1").arg(QUrl(m_sandbox.baseUrl()).port());
        ScriptedPrompt prompt(false);
        m_form->ui().areaCodeEdit->setText(QStringLiteral("052"));
        m_form->ui().numberEdit->setText(QStringLiteral("1234568"));
        compose(QStringLiteral("דנה"), QStringLiteral("moved"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY2(prompt.asked.first().contains(origin) && prompt.asked.first().contains(QStringLiteral("http: ")),
            qPrintable(prompt.asked.first()));
        QTest::qWait(300);
        QCOMPARE(m_sandbox.submissions().size(), 0);

        prompt.answer = true;
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), QStringLiteral("ההודעה נשלחה"), Patience);
        QCOMPARE(prompt.asked.size(), 2);
        QCOMPARE(SmsIni(settings).loginOrigin(QStringLiteral("Sahar")), origin);
        TestEnv::writeFile(settings, before);
    }

    // The recipient chosen in the phone book.
    void recipientChosenFromThePhoneBookIsSent()
    {
        chooseInPhoneBook(this, { 2 });
        QTest::mouseClick(m_form->ui().phoneBookButton, Qt::LeftButton);
        QCOMPARE(m_form->ui().recipientLabel->text(), QStringLiteral("גלית"));
        compose(QStringLiteral("דנה"), QStringLiteral("מהספר"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), QStringLiteral("ההודעה נשלחה"), Patience);
        QCOMPARE(acceptedPaths(), QStringList { QStringLiteral("/kesher/send 0542222222") });
    }

    // A list of two through both operators: each recipient's line in the status window goes through its
    // statuses to the site's answer, while the window's event loop goes on serving timers.
    void listThroughBothOperatorsIsSent()
    {
        compose(QStringLiteral("דנה"), QStringLiteral("לכולם"));
        chooseInPhoneBook(this, { 0, 2 });
        QTest::mouseClick(m_form->ui().phoneBookButton, Qt::LeftButton);
        QCOMPARE(m_form->ui().recipientLabel->list(), (QStringList { "אבי=052-1111111", "גלית=054-2222222" }));
        m_statusWindowLines.clear();
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QCOMPARE(acceptedPaths(),
            (QStringList { QStringLiteral("/sahar/send 1111111"), QStringLiteral("/kesher/send 0542222222") }));
        QVERIFY(!m_form->session().listSending());
        QVERIFY(!m_statusWindowLines.isEmpty());
        QCOMPARE(m_statusWindowLines.first(), (QStringList { "אבי: מתחבר...", "גלית: בהמתנה..." }));
        QVERIFY(m_statusWindowLines.contains(QStringList { "אבי: ההודעה נשלחה", "גלית: בהמתנה..." }));
        QCOMPARE(m_statusWindowLines.last(), (QStringList { "אבי: ההודעה נשלחה", "גלית: ההודעה נשלחה" }));
        // The window stays on screen when the list is done, offering only to close.
        auto* window = m_form->findChild<TPopUpStatusForm*>();
        QVERIFY(window);
        QVERIFY(!window->isCancelButton());
        window->close();
    }

    // Closing the status window during a list stops it after the recipient under way, whose attempt runs to
    // its end (its message may be on its way): the later ones keep their waiting line and are never sent.
    void closingTheStatusWindowStopsTheList()
    {
        m_form->ui().recipientLabel->setList({ QStringLiteral("אבי=052-1111111"), QStringLiteral("בני=052-3333333"),
            QStringLiteral("גלית=054-2222222") });
        m_form->ui().recipientLabel->setIsList(true);
        m_statusWindowLines.clear();
        // Closed by the user as the second recipient's attempt starts.
        const auto closer
            = connect(&m_form->session().engine(), &TSMSBaseForm::statusChanged, this, [this](TSMSStatus status) {
                  if (status == ssConnecting && m_form->session().currentRecipient() == 1 && m_form->popUpStatusForm())
                      QMetaObject::invokeMethod(m_form->popUpStatusForm(), "close", Qt::QueuedConnection);
              });
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        disconnect(closer);
        QVERIFY(m_form->session().cancelRequested());
        QCOMPARE(acceptedPaths(),
            (QStringList { QStringLiteral("/sahar/send 1111111"), QStringLiteral("/sahar/send 3333333") }));
        QCOMPARE(m_form->session().engine().Status, ssSent);
        // The recipients after the one under way were never tried.
        QCOMPARE(m_statusWindowLines.last().last(), QStringLiteral("גלית: בהמתנה..."));
    }

    // Closing the main window during a list cancels only the recipient under way; the list goes on.
    void closingTheMainWindowDuringAListGoesOn()
    {
        m_form->ui().recipientLabel->setList({ QStringLiteral("אבי=052-1111111"), QStringLiteral("גלית=054-2222222") });
        m_form->ui().recipientLabel->setIsList(true);
        bool closed = false;
        connect(&m_form->session().engine(), &TSMSBaseForm::statusChanged, this, [&](TSMSStatus status) {
            if (!closed && status == ssIdentifying) {
                closed = true;
                QMetaObject::invokeMethod(
                    m_form, [this] { m_form->close(); }, Qt::QueuedConnection);
            }
        });
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QVERIFY(closed);
        QVERIFY(!m_form->isVisible());
        QVERIFY(!m_form->session().cancelRequested());
        QCOMPARE(acceptedPaths(), QStringList { QStringLiteral("/kesher/send 0542222222") });
        QCOMPARE(m_form->statusDisplay().lastText(), QStringLiteral("ההודעה נשלחה"));
        m_form->toggleShown();
    }
};

int main(int argc, char** argv)
{
    // As the desktop program makes its application object.
    QApplication app(argc, argv);
    TestMsgFormEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_msgform_e2e.moc"
