// The send command's rules without a window: its checks and their order, the counting of characters, the
// questions, the hand-over to the engine, and the list send with its per-recipient errors and its cancel.
#include "FakeBrowser.h"
#include "engine/TSMSBaseForm.h"
#include "sending/SendWorkflow.h"
#include "sending/SendWorkflowHost.h"

#include <QTimer>
#include <QtTest>

namespace {
class FakeHost : public SendWorkflowHost
{
public:
    bool online = true;
    ConnectionState state = ConnectionState::Service;
    bool answer = true;
    QStringList asked;
    QStringList errors; // "index: text", -1 outside a list
    QStringList names;
    QList<int> currents;
    int current = -1;
    bool cancel = false;
    int suspended = 0;
    int lastUsedSaves = 0;
    std::optional<bool> listEndedCancelled;

    bool isOnline() const override { return online; }
    ConnectionState connectionState() const override { return state; }
    void setConnectionState(ConnectionState s) override { state = s; }
    bool ask(const QString& question) override
    {
        asked << question;
        return answer;
    }
    void reportError(const QString& text) override { errors << QStringLiteral("%1: %2").arg(current).arg(text); }
    void suspendServiceRequests(bool on) override { suspended += on ? 1 : -1; }
    void saveLastUsed() override { ++lastUsedSaves; }
    QString credentialsMissing(const TProvider& provider, bool listSend) override
    {
        return (listSend ? QStringLiteral("list ") : QStringLiteral("single ")) + provider.Name;
    }
    void beginList(const QStringList& n) override { names = n; }
    void setCurrentRecipient(int index) override
    {
        current = index;
        currents << index;
    }
    void endList(bool cancelled) override
    {
        listEndedCancelled = cancelled;
        current = -1;
    }
    bool cancelRequested() const override { return cancel; }
    void setCancelRequested(bool requested) override { cancel = requested; }
};

TProvider provider(const QString& name, const QString& codes, bool login, bool credentials)
{
    TProvider p;
    p.Name = name;
    p.AreaCodes = codes;
    if (login)
        p.LoginUrl = QStringLiteral("http://127.0.0.1:9/") + name;
    p.MsgUrl = QStringLiteral("http://127.0.0.1:9/msg");
    if (credentials) {
        p.UserName = QStringLiteral("u");
        p.Password = QStringLiteral("p");
    }
    return p;
}

SendWorkflow::Composition single(const QString& sender, const QString& message,
    const QString& area = QStringLiteral("052"), const QString& phone = QStringLiteral("1234567"))
{
    SendWorkflow::Composition c;
    c.sender = sender;
    c.message = message;
    c.area = area;
    c.phone = phone;
    return c;
}
} // namespace

class TestSendWorkflow : public QObject
{
    Q_OBJECT

    FakeBrowser* m_browser = nullptr;
    std::unique_ptr<TSMSBaseForm> m_engine;
    FakeHost m_host;
    std::unique_ptr<SendWorkflow> m_workflow;

private slots:
    void init()
    {
        m_browser = nullptr;
        m_engine = std::make_unique<TSMSBaseForm>(nullptr, [this](QObject*) {
            auto browser = std::make_unique<FakeBrowser>();
            m_browser = browser.get();
            return browser;
        });
        m_engine->Providers = { provider(QStringLiteral("Sahar"), QStringLiteral("050,052"), true, true),
            provider(QStringLiteral("Kesher"), QStringLiteral("054"), false, false),
            provider(QStringLiteral("Ofek"), QStringLiteral("055"), true, false) };
        m_host = FakeHost();
        m_workflow = std::make_unique<SendWorkflow>(*m_engine, m_host);
    }

    void cleanup()
    {
        if (isBusyStatus(m_engine->Status))
            m_engine->Cancel();
    }

    // As the operator's page counts: UTF-16 units; a line break travels as CR LF and counts two.
    void countedLength_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("letters") << QStringLiteral("שלום abc") << 8;
        QTest::newRow("letter outside the basic plane") << QString::fromUtf8("\xF0\x9F\x98\x80x") << 3;
        QTest::newRow("letter with two vowel points") << QString::fromUtf8("\xD7\xA9\xD7\x81\xD6\xB8") << 3;
        QTest::newRow("LF") << QStringLiteral("a\nb") << 4;
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << 4;
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << 4;
        QTest::newRow("two breaks") << QStringLiteral("\n\n") << 4;
    }
    void countedLength()
    {
        QFETCH(QString, text);
        QFETCH(int, length);
        QCOMPARE(SendWorkflow::countedLength(text), length);
    }

    // The checks in their order: the first that fails is the one reported.
    void refusals_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("refusal");
        const QString tooLong = QStringLiteral("סה\"כ תוים למשלוח גדול מ 105.");
        QTest::newRow("all missing") << ""
                                     << ""
                                     << ""
                                     << ""
                                     << "ההודעה ריקה";
        QTest::newRow("105 accepted") << "Dana1" << QString(100, 'x') << "052"
                                      << "1"
                                      << "";
        QTest::newRow("106 refused") << "Dana1" << QString(101, 'x') << "052"
                                     << "1" << tooLong;
        QTest::newRow("long before sender") << "" << QString(106, 'x') << ""
                                            << "" << tooLong;
        QTest::newRow("line breaks count two") << "Dana1" << QString(49, 'x') + "\n" + QString(49, 'x') << "052"
                                               << "1"
                                               << "";
        QTest::newRow("one break too many") << "Dana1" << QString(50, 'x') + "\n" + QString(49, 'x') << "052"
                                            << "1" << tooLong;
        QTest::newRow("53 letters outside the basic plane count 106")
            << "" << QString::fromUtf8("\xF0\x9F\x98\x80").repeated(53) << "052"
            << "1" << tooLong;
        QTest::newRow("35 letters with two vowel points count 105")
            << "" << QString::fromUtf8("\xD7\xA9\xD7\x81\xD6\xB8").repeated(35) << "052"
            << "1"
            << "שם השולח חסר";
        QTest::newRow("sender before number") << ""
                                              << "hi"
                                              << ""
                                              << ""
                                              << "שם השולח חסר";
        QTest::newRow("no area") << "Dana"
                                 << "hi"
                                 << ""
                                 << "1234567"
                                 << "מספר הטלפון אינו שלם";
        QTest::newRow("no number") << "Dana"
                                   << "hi"
                                   << "052"
                                   << ""
                                   << "מספר הטלפון אינו שלם";
    }
    void refusals()
    {
        QFETCH(QString, sender);
        QFETCH(QString, message);
        QFETCH(QString, area);
        QFETCH(QString, phone);
        QFETCH(QString, refusal);
        QCOMPARE(SendWorkflow::refusal(single(sender, message, area, phone)), refusal);
        const SendWorkflow::Outcome outcome = m_workflow->send(single(sender, message, area, phone));
        if (refusal.isEmpty()) {
            QCOMPARE(outcome, SendWorkflow::Outcome::Started);
            QVERIFY(m_host.errors.isEmpty());
        } else {
            QCOMPARE(outcome, SendWorkflow::Outcome::Refused);
            QCOMPARE(m_host.errors, QStringList { QStringLiteral("-1: ") + refusal });
            QVERIFY(!m_engine->WebBrowser1());
        }
    }

    // The two questions: without definitions (online or not), and with an attempt under way.
    void questions_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("started");
        const QString offline = QStringLiteral("לא מחובר לאינטרנט!\n?האם לנסות לשלוח");
        const QString noCache = QStringLiteral("Cache לא מחובר לשרת ואין הגדרות ב\n?האם לנסות לשלוח");
        const QString busy = QStringLiteral("שליחה מתבצעת. האם לבטל ולשלוח מחדש?");
        QTest::newRow("offline, No") << false << 1 << false << false << QStringList { offline } << false;
        QTest::newRow("offline, Yes") << false << 1 << false << true << QStringList { offline } << true;
        QTest::newRow("online without definitions") << true << 0 << false << false << QStringList { noCache } << false;
        QTest::newRow("cached definitions: no question") << true << 1 << false << false << QStringList() << true;
        QTest::newRow("busy, No") << true << 2 << true << false << QStringList { busy } << false;
        QTest::newRow("busy, Yes") << true << 2 << true << true << QStringList { busy } << true;
    }
    void questions()
    {
        QFETCH(bool, online);
        QFETCH(int, state);
        QFETCH(bool, busy);
        QFETCH(bool, answer);
        QFETCH(QStringList, asked);
        QFETCH(bool, started);
        if (busy)
            m_engine->Send(
                QStringLiteral("x"), QStringLiteral("054"), QStringLiteral("1"), QStringLiteral("m"), {}, {});
        m_host.online = online;
        m_host.state = ConnectionState(state);
        m_host.answer = answer;
        const int navigations = m_browser ? int(m_browser->navigations.size()) : 0;
        const SendWorkflow::Outcome outcome
            = m_workflow->send(single(QStringLiteral("Dana"), QStringLiteral("hi")));
        QCOMPARE(m_host.asked, asked);
        QCOMPARE(outcome, started ? SendWorkflow::Outcome::Started : SendWorkflow::Outcome::Declined);
        QCOMPARE(m_browser ? int(m_browser->navigations.size()) : 0, navigations + (started ? 1 : 0));
        // Offline always shows as the red lamp, asked or not.
        if (!online)
            QCOMPARE(m_host.state, ConnectionState::NoDefinitions);
    }

    void singleSendHandsOverWithTheProvidersCredentials()
    {
        QCOMPARE(m_workflow->send(single(QStringLiteral("Dana"), QStringLiteral("a\nb"))),
            SendWorkflow::Outcome::Started);
        QCOMPARE(m_engine->Status, ssConnecting);
        QCOMPARE(m_engine->UserName, QStringLiteral("u"));
        QCOMPARE(m_engine->Message, QStringLiteral("a\r\nb"));
        QCOMPARE(m_host.lastUsedSaves, 1);
        QCOMPARE(m_host.suspended, 0);
    }

    void singleSendFailures_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("error");
        QTest::newRow("no provider") << "099"
                                     << "-1: ספק תקשורת לא מוכר";
        QTest::newRow("whole codes only") << "05"
                                          << "-1: ספק תקשורת לא מוכר";
        QTest::newRow("credentials missing") << "055"
                                             << "-1: single Ofek";
    }
    void singleSendFailures()
    {
        QFETCH(QString, area);
        QFETCH(QString, error);
        QCOMPARE(m_workflow->send(single(QStringLiteral("Dana"), QStringLiteral("hi"), area)),
            SendWorkflow::Outcome::Failed);
        QCOMPARE(m_host.errors, QStringList { error });
        QVERIFY(!isBusyStatus(m_engine->Status));
    }

    // A list of five: each recipient that cannot go to the engine gets its own error line, the list goes on,
    // and every line is handled in order.
    void listSendGoesOnPastProblems()
    {
        QTimer ender;
        connect(&ender, &QTimer::timeout, this, [this] {
            if (isBusyStatus(m_engine->Status))
                m_engine->SetStatus(ssSent);
        });
        ender.start(5);
        SendWorkflow::Composition c = single(QStringLiteral("Dana"), QStringLiteral("hi"));
        c.listMode = true;
        c.list = QStringList { QStringLiteral("Avi=052-1111111"), QStringLiteral("Beni=0521111111"),
            QStringLiteral("Gal=055-2222222"), QStringLiteral("Dor=099-3333333"), QStringLiteral("Avi=054-4444444") };
        QCOMPARE(m_workflow->send(c), SendWorkflow::Outcome::ListDone);
        QCOMPARE(m_host.names, (QStringList { "Avi", "Beni", "Gal", "Dor", "Avi" }));
        QCOMPARE(m_host.currents, (QList<int> { 0, 1, 2, 3, 4 }));
        QCOMPARE(m_host.errors, (QStringList { "1: ספק תקשורת לא מוכר", "2: list Ofek", "3: ספק תקשורת לא מוכר" }));
        QCOMPARE(m_browser->navigations.count(QStringLiteral("http://127.0.0.1:9/Sahar")), 1);
        QCOMPARE(m_browser->navigations.count(QStringLiteral("http://127.0.0.1:9/msg")), 1);
        QCOMPARE(m_host.listEndedCancelled, std::optional<bool>(false));
        QCOMPARE(m_host.lastUsedSaves, 0);
        QVERIFY(!m_workflow->ListSending);
    }

    // A cancel asked during the second recipient lets its attempt run to its end (its message may be on its
    // way) and sends no further line.
    void listSendStopsOnCancel()
    {
        int attempts = 0;
        connect(m_engine.get(), &TSMSBaseForm::statusChanged, this, [&](TSMSStatus status) {
            if (status != ssConnecting)
                return;
            if (++attempts == 1) {
                QTimer::singleShot(10, this, [this] { m_engine->SetStatus(ssSent); });
                return;
            }
            QTimer::singleShot(10, this, [this] {
                m_host.cancel = true;
                m_workflow->cancelRequested();
            });
            QTimer::singleShot(200, this, [this] { m_engine->SetStatus(ssRejected); });
        });
        SendWorkflow::Composition c = single(QStringLiteral("Dana"), QStringLiteral("hi"));
        c.listMode = true;
        c.list = QStringList { QStringLiteral("A=052-1"), QStringLiteral("B=052-2"), QStringLiteral("C=052-3") };
        QCOMPARE(m_workflow->send(c), SendWorkflow::Outcome::ListCancelled);
        QCOMPARE(attempts, 2);
        QCOMPARE(m_engine->Status, ssRejected);
        QCOMPARE(m_host.currents, (QList<int> { 0, 1 }));
        QCOMPARE(m_host.listEndedCancelled, std::optional<bool>(true));
    }

    void parseListLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("whole") << "Avi=052-1234567" << QStringList { "Avi", "052", "1234567" };
        QTest::newRow("no dash") << "Avi=0521234567" << QStringList { "Avi", "", "0521234567" };
        QTest::newRow("second dash stays") << "Avi=052-123-45" << QStringList { "Avi", "052", "123-45" };
        QTest::newRow("equals in the value") << "A=B=052-1" << QStringList { "A", "B=052", "1" };
        QTest::newRow("no equals") << "Avi" << QStringList { "Avi", "", "" };
    }
    void parseListLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, parts);
        const ListLine entry = ListLine::parse(line);
        QCOMPARE((QStringList { entry.name, entry.area, entry.phone }), parts);
    }
};

QTEST_GUILESS_MAIN(TestSendWorkflow)
#include "test_sendworkflow.moc"
