// A site that asks what only a person can answer, answered in the window that shows its own page: the desktop
// program against the sandbox's magen, which after each login asks for the word in a picture and then for a
// code, typed with real key events into the engine's page.

#include "AppWindowTest.h"
#include "PersonAnswers.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "sending/PersonPageWindow.h"
#include "service/ServiceState.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace AppWindowTest;

namespace {
constexpr int Patience = 30000;
const QString kSent = QStringLiteral("ההודעה נשלחה");
const QString kFailed = QStringLiteral("כשלון");

} // namespace

class TestPersonPage : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<THiddenForm> m_hiddenForm;
    QPointer<TMsgForm> m_form;
    QString m_smsIni;
    // What the person at the keyboard answers, one list per window shown; empty: press Cancel; "(away)":
    // nothing at all.
    QList<QStringList> m_answers;
    QStringList m_titles;
    QMetaObject::Connection m_person;

    QStringList outcomes(const QString& path) const
    {
        QStringList list;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.path == path)
                list << s.outcome;
        }
        return list;
    }

    void answerEachWindow()
    {
        m_person = connect(m_form->personPages(), &PersonPages::shown, this, [this](PersonPageWindow* window) {
            m_titles << window->windowTitle();
            const QStringList answers = m_answers.isEmpty() ? QStringList() : m_answers.takeFirst();
            // Answered from the event loop, as a person's keys arrive, not inside the engine's step.
            QTimer::singleShot(0, window, [window, answers] {
                if (answers.isEmpty()) {
                    QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
                    return;
                }
                if (answers == QStringList { QStringLiteral("(away)") })
                    return;
                for (const QString& answer : answers) {
                    if (!PersonAnswers::type(window, answer))
                        return;
                }
            });
        });
    }

    void sendTo(const QString& phone)
    {
        m_form->ui().areaCodeEdit->setText(QStringLiteral("059"));
        m_form->ui().numberEdit->setText(phone);
        m_form->ui().senderEdit->setText(QStringLiteral("Dana"));
        m_form->ui().messageEdit->setPlainText(QStringLiteral("hello"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        QVERIFY(m_sandbox.listen());
        AppPaths::setServiceUrlOverride(m_sandbox.baseUrl());
        TestEnv::freshAppDir();
        m_smsIni = TestEnv::freshConfigDir() + QStringLiteral("SMS.INI");
        TestEnv::writeFile(m_smsIni, "[General]\r\nTimeOut=30\r\n[Magen]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        m_hiddenForm = std::make_unique<THiddenForm>();
        m_form = ProgramEntry::start(ProgramEntry::parse({}), *m_hiddenForm, {});
        QTRY_VERIFY(m_form->isShown());
        QTRY_COMPARE_WITH_TIMEOUT(m_form->session().connectionState(), ConnectionState::Service, Patience);
        answerEachWindow();
    }

    void cleanupTestCase()
    {
        disconnect(m_person);
        delete m_form.data();
        m_hiddenForm.reset();
        AppPaths::setServiceUrlOverride(QString());
    }

    void init()
    {
        m_sandbox.clearSubmissions();
        m_answers.clear();
        m_titles.clear();
    }

    // How the person answers, and what the send comes to. The status line says that the site waits while
    // the window is open; the window closes when the message page opens or the wait ends.
    void answeredInTheSitesPage_data()
    {
        QTest::addColumn<QList<QStringList>>("answers");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("checks");
        QTest::newRow("word and code") << QList<QStringList> { { "TAPUZ", "4821" } } << kSent
                                       << QStringList { "answered", "answered" };
        QTest::newRow("a wrong word, then the right one") << QList<QStringList> { { "TAPUX", "tapuz", "4821" } }
                                                          << kSent << QStringList { "wrong", "answered", "answered" };
        QTest::newRow("cancelled") << QList<QStringList> { {} }
                                   << kFailed + QStringLiteral(": הדף שהאתר הציג לא נענה") << QStringList();
    }
    void answeredInTheSitesPage()
    {
        QFETCH(QList<QStringList>, answers);
        QFETCH(QString, status);
        QFETCH(QStringList, checks);
        m_answers = answers;
        QStringList shown;
        const auto watch = connect(m_form->personPages(), &PersonPages::shown, this,
            [&](PersonPageWindow*) { shown << m_form->ui().statusLine->text(); });
        sendTo(QStringLiteral("1234567"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), status, Patience);
        disconnect(watch);
        QCOMPARE(m_titles, QStringList { QStringLiteral("Magen") });
        QCOMPARE(shown, QStringList { QStringLiteral("אתר המפעיל ממתין לך...") });
        QCOMPARE(outcomes(QStringLiteral("/magen/check")), checks);
        QCOMPARE(outcomes(QStringLiteral("/magen/send")),
            status == kSent ? QStringList { QStringLiteral("accepted") } : QStringList());
        QTRY_VERIFY(!m_form->personPages()->window());
    }

    // Nobody answers: the attempt fails after the person's limit, though its own time-out would allow more.
    void noAnswerWithinTheLimit()
    {
        TSMSBaseForm& engine = m_form->session().engine();
        engine.PersonLimit = 1500;
        m_answers = { { QStringLiteral("(away)") } };
        sendTo(QStringLiteral("1234567"));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_form->ui().statusLine->text(), kFailed + QStringLiteral(": הדף שהאתר הציג לא נענה"), Patience);
        engine.PersonLimit = 300000;
        QVERIFY(outcomes(QStringLiteral("/magen/send")).isEmpty());
        QTRY_VERIFY(!m_form->personPages()->window());
    }

    // A list of two on that operator: each recipient meets the question and is sent after its answer.
    void listAsksForEachRecipient()
    {
        m_answers = { { "TAPUZ", "4821" }, { "TAPUZ", "4821" } };
        m_form->ui().senderEdit->setText(QStringLiteral("Dana"));
        m_form->ui().messageEdit->setPlainText(QStringLiteral("to both"));
        m_form->ui().recipientLabel->setList({ QStringLiteral("A=059-1111111"), QStringLiteral("B=059-2222222") });
        m_form->ui().recipientLabel->setIsList(true);
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!m_form->session().listSending(), Patience);
        QCOMPARE(m_titles.size(), 2);
        QCOMPARE(outcomes(QStringLiteral("/magen/send")), (QStringList { "accepted", "accepted" }));
        m_form->ui().recipientLabel->setIsList(false);
    }

    // A password the site refuses: its login page comes back in the window, the person types the right one
    // there, and the send goes on. The password typed in the page is never stored.
    void passwordCorrectedInThePage()
    {
        TestEnv::writeFile(m_smsIni, "[General]\r\nTimeOut=30\r\n[Magen]\r\nUserName=demo\r\nPassword=old\r\n");
        // The credentials are read again from the settings at the next load of definitions.
        m_form->session().state().ApplyLocalDefinitions();
        m_answers = { { "demo1234", "TAPUZ", "4821" } };
        sendTo(QStringLiteral("7654321"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), kSent, Patience);
        QCOMPARE(outcomes(QStringLiteral("/magen/login")), (QStringList { "badlogin", "login" }));
        const QByteArray settings = TestEnv::readFile(m_smsIni);
        QVERIFY(settings.contains("Password=old\r\n"));
        QVERIFY(!settings.contains("demo1234"));
    }
};

QTEST_MAIN(TestPersonPage)
#include "test_personpage.moc"
