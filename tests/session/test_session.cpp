// The session as the window would drive it, with a view that only records what it was told and a browser
// that loads nothing: no window is built.

#include "FakeBrowser.h"
#include "RecordingView.h"
#include "ScriptedPrompt.h"
#include "TestEnv.h"

#include "common/ListLine.h"
#include "common/ResStrings.h"
#include "history/HistoryStore.h"
#include "session/DemoRun.h"
#include "session/LinkComposition.h"
#include "session/MainSession.h"
#include "session/MainView.h"

#include <QtTest>

namespace {
const QString kMessagePage = QStringLiteral("http://127.0.0.1:9/sms");

HistoryEntry queuedFor(const QDateTime& due)
{
    HistoryEntry entry;
    entry.sender = QStringLiteral("Dana");
    entry.area = QStringLiteral("054");
    entry.phone = QStringLiteral("1234567");
    entry.message = QStringLiteral("hi");
    entry.source = SendSource::Queue;
    entry.due = due;
    return entry;
}
} // namespace

class TestSession : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainSession> m_session;
    RecordingView m_view;
    FakeBrowser* m_browser = nullptr;
    ScriptedPrompt m_prompt;

    // A session that is online with one provider without a login for 054.
    void makeSession()
    {
        m_view = RecordingView();
        m_session = std::make_unique<MainSession>([this](QObject*) {
            auto browser = std::make_unique<FakeBrowser>();
            m_browser = browser.get();
            return browser;
        });
        m_session->setView(&m_view);
        TProvider provider;
        provider.Name = QStringLiteral("Kesher");
        provider.AreaCodes = QStringLiteral("054");
        provider.MsgUrl = kMessagePage;
        provider.MsgForm = QStringLiteral("sms");
        m_session->engine().Providers = { provider };
        m_session->setOnline(true);
        static_cast<ServiceConnectionHost&>(*m_session).setConnectionState(ConnectionState::Stored);
    }

private slots:
    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        m_browser = nullptr;
        makeSession();
    }
    void cleanup() { m_session.reset(); }

    void schedulingChecksAsTheSendCommand_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<bool>("listMode");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("queued");
        const QStringList two { ListLine { "Ruth", "054", "1111111" }.text(), ListLine { "Noa", "054", "2222222" }.text() };
        QTest::newRow("one recipient") << "Dana" << QStringList() << false << QString() << 1;
        QTest::newRow("a list, one entry each") << "Dana" << two << true << QString() << 2;
        QTest::newRow("no sender") << "" << QStringList() << false << ResStrings::emptySender() << 0;
        QTest::newRow("an empty list") << "Dana" << QStringList() << true << ResStrings::emptyList() << 0;
    }
    void schedulingChecksAsTheSendCommand()
    {
        QFETCH(QString, sender);
        QFETCH(QStringList, list);
        QFETCH(bool, listMode);
        QFETCH(QString, refusal);
        QFETCH(int, queued);
        MainSession::Composition& composed = m_session->composition();
        composed.sender = sender;
        composed.message = QStringLiteral("hi");
        composed.area = QStringLiteral("054");
        composed.phone = QStringLiteral("1234567");
        composed.listMode = listMode;
        composed.list = list;
        QCOMPARE(m_session->scheduleComposition(QDateTime::currentDateTime().addSecs(3600)), refusal);
        const QList<HistoryEntry> scheduled = m_session->history().scheduled();
        QCOMPARE(scheduled.size(), queued);
        if (queued > 1)
            QVERIFY(scheduled.first().listId && scheduled.first().listId == scheduled.last().listId);
        QVERIFY(m_browser == nullptr || m_browser->navigations.isEmpty());
    }

    void missedSendsWaitForTheUsersWord()
    {
        // One set for an hour ago while the program was not running, one the user sets for now in this run.
        const qint64 missed = HistoryStore().schedule(queuedFor(QDateTime::currentDateTime().addSecs(-3600)));
        // The start reads the definitions again: the operator is one of the user's own.
        TestEnv::writeFile(TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/providers.d"))
                + QStringLiteral("kesher.def"),
            "<#PROVIDER Name=Kesher AreaCodes=054 MsgForm=sms MsgUrl=" + kMessagePage.toUtf8() + ">");
        m_session->setQueueInterval(3600 * 1000);
        m_session->startUp();
        QTRY_COMPARE(m_view.missed, QList<qint64> { missed });
        QTRY_COMPARE(m_session->connectionState(), ConnectionState::Stored);
        m_session->setOnline(true);
        m_session->sendDue();
        QVERIFY2(!m_browser || !m_browser->navigations.contains(kMessagePage), "a missed send went out without the user's word");

        m_session->missedSendChoice(missed, MissedSendChoice::SendNow);
        QTRY_VERIFY(m_browser && m_browser->navigations.contains(kMessagePage));
        QVERIFY(isBusyStatus(m_session->engine().Status));
        QVERIFY(m_session->heldSends().isEmpty());
    }

    void linksBecomeTheComposition_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<int>("listSize");
        QTest::addColumn<QString>("message");
        QTest::newRow("one number and a text") << "sms:0541234567?body=hi%20there" << "054" << "1234567" << 0 << "hi there";
        QTest::newRow("international, no text") << "smsto:+972-54-7654321" << "054" << "7654321" << 0 << "kept";
        QTest::newRow("two numbers make a list") << "sms:0541111111,0542222222" << "" << "" << 2 << "kept";
    }
    void linksBecomeTheComposition()
    {
        QFETCH(QString, link);
        QFETCH(QString, area);
        QFETCH(QString, phone);
        QFETCH(int, listSize);
        QFETCH(QString, message);
        m_session->composition().sender = QStringLiteral("Dana");
        m_session->composition().message = QStringLiteral("kept");
        QVERIFY(m_session->openSmsLink(link));
        const MainSession::Composition& composed = m_session->composition();
        QCOMPARE(composed.listMode, listSize > 0);
        QCOMPARE(composed.list.size(), listSize);
        if (!listSize) {
            QCOMPARE(composed.area, area);
            QCOMPARE(composed.phone, phone);
        }
        QCOMPARE(composed.message, message);
        QCOMPARE(composed.sender, QStringLiteral("Dana"));
        QCOMPARE(m_view.compositions, 1);
        QVERIFY(m_browser == nullptr || m_browser->navigations.isEmpty());
    }

    void aLinkThatIsNoneOrUnreadableSaysSo()
    {
        QVERIFY(!m_session->openSmsLink(QStringLiteral("https://example.org")));
        QCOMPARE(m_view.compositions, 0);
        QVERIFY(m_session->openSmsLink(QStringLiteral("sms:12")));
        QCOMPARE(m_view.statuses.size(), 1);
        QCOMPARE(m_view.statuses.first().second, StatusKind::Error);
    }

    // The demo's first message fills what is empty and replaces nothing the user typed.
    void theDemosFirstMessageFillsOnlyWhatIsEmpty_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<bool>("list");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("greeting");
        QTest::newRow("nothing typed") << "" << false << "" << "0541234567" << true;
        QTest::newRow("a number typed") << "7654321" << false << "" << "0527654321" << true;
        QTest::newRow("a message typed") << "" << false << "mine" << "0541234567" << false;
        QTest::newRow("a list stays") << "" << true << "" << "052" << true;
    }
    void theDemosFirstMessageFillsOnlyWhatIsEmpty()
    {
        QFETCH(QString, phone);
        QFETCH(bool, list);
        QFETCH(QString, message);
        QFETCH(QString, number);
        QFETCH(bool, greeting);
        MainSession::Composition typed;
        typed.sender = QStringLiteral("Dana");
        typed.area = QStringLiteral("052");
        typed.phone = phone;
        typed.listMode = list;
        typed.recipientName = QStringLiteral("Ruth");
        typed.message = message;
        const MainSession::Composition composed = DemoRun::firstMessage(typed);
        QCOMPARE(composed.area + composed.phone, number);
        QCOMPARE(composed.message == message, !greeting);
        QVERIFY(!composed.message.isEmpty());
        QCOMPARE(composed.sender, QStringLiteral("Dana"));
        QCOMPARE(composed.recipientName.isEmpty(), phone.isEmpty() && !list);
    }

    void composingAgainTakesTheEntry()
    {
        HistoryEntry sent = queuedFor(QDateTime::currentDateTime());
        sent.name = QStringLiteral("Ruth");
        m_session->composition().listMode = true;
        m_session->composeAgain(sent);
        const MainSession::Composition& composed = m_session->composition();
        QVERIFY(!composed.listMode);
        QCOMPARE(composed.recipientName, QStringLiteral("Ruth"));
        QCOMPARE(composed.area + composed.phone, QStringLiteral("0541234567"));
        QCOMPARE(m_view.compositions, 1);
    }

    void cancellingAListStopsAfterTheRecipientUnderWay()
    {
        MainSession::Composition& composed = m_session->composition();
        composed.sender = QStringLiteral("Dana");
        composed.message = QStringLiteral("hi");
        composed.listMode = true;
        for (const char* phone : { "1111111", "2222222", "3333333" })
            composed.list << ListLine { QString::fromLatin1(phone), QStringLiteral("054"), QString::fromLatin1(phone) }.text();
        // The user cancels while the first recipient's page is loading; its attempt ends with the page lost.
        QTimer::singleShot(50, this, [this] {
            m_session->cancelList();
            if (m_browser)
                m_browser->lost();
        });
        m_session->send();
        QCOMPARE(m_view.listEnded, std::optional<bool>(true));
        QVERIFY(m_browser);
        QCOMPARE(m_browser->navigations.count(kMessagePage), 1);
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
