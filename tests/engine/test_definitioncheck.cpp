#include "FakeBrowser.h"
#include "ScriptedPage.h"
#include "engine/TSMSBaseForm.h"

#include <QtTest>

namespace {
const QString kLogin = QStringLiteral("http://127.0.0.1/login");
const QString kMsg = QStringLiteral("http://127.0.0.1/msg");

TProvider provider()
{
    TProvider p;
    p.Name = QStringLiteral("Sahar");
    p.AreaCodes = QStringLiteral("050");
    p.LoginUrl = kLogin;
    p.LoginFrame = 0;
    p.LoginForm = QStringLiteral("login");
    p.UserField = QStringLiteral("user");
    p.PassField = QStringLiteral("pass");
    p.LoginSubmit = 2;
    p.LoginSubmitLookup = QStringLiteral("go");
    p.MsgUrl = kMsg;
    p.MsgForm = QStringLiteral("1");
    p.FromField = QStringLiteral("from");
    p.AreaField = QStringLiteral("area");
    p.PhoneField = QStringLiteral("phone");
    p.MsgField = QStringLiteral("text");
    p.MsgSubmit = 3;
    p.MsgSubmitValue = QStringLiteral("send");
    return p;
}

// The login page: a frameset whose first frame holds the form, which sends the whole page on.
std::shared_ptr<ScriptedDocument> loginPage(ScriptedPage* page)
{
    auto top = std::make_shared<ScriptedDocument>(page);
    top->addFrame()
        .addForm(QStringLiteral("login"))
        .target(QStringLiteral("_top"))
        .input(QStringLiteral("user"))
        .input(QStringLiteral("pass"))
        .input(QStringLiteral("go"));
    return top;
}

// The message page: a search form first, the message form second and unnamed.
std::shared_ptr<ScriptedDocument> messagePage(ScriptedPage* page)
{
    auto top = std::make_shared<ScriptedDocument>(page);
    top->addForm(QStringLiteral("search")).input(QStringLiteral("q"));
    top->addForm(QString())
        .input(QStringLiteral("from"))
        .input(QStringLiteral("area"), QStringLiteral("SELECT"), { QStringLiteral("050"), QStringLiteral("052") })
        .input(QStringLiteral("phone"))
        .input(QStringLiteral("text"))
        .input(QStringLiteral("Submit"));
    return top;
}
} // namespace

class TestDefinitionCheck : public QObject
{
    Q_OBJECT

    FakeBrowser* m_browser = nullptr;
    std::unique_ptr<TSMSBaseForm> m_engine;
    QList<int> m_statuses;
    QList<CheckStep> m_steps;

    void makeEngine(const TProvider& p)
    {
        m_statuses.clear();
        m_steps.clear();
        m_engine = std::make_unique<TSMSBaseForm>(nullptr, [this](QObject*) {
            auto browser = std::make_unique<FakeBrowser>();
            m_browser = browser.get();
            return browser;
        });
        m_engine->OnStatus = [this](TSMSStatus s) { m_statuses << s; };
        m_engine->OnCheckStep = [this](const CheckStep& step) { m_steps << step; };
        m_engine->Providers = { p };
        m_engine->AreaDefs = QStringList { QStringLiteral("050=050") };
    }

    void check(const QString& user = QStringLiteral("u"))
    {
        m_engine->Check(QStringLiteral("Dana"), QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("hi"),
            user, QStringLiteral("p"));
    }

    // Plays the browser's side of a login that leads to the message page, and of the check's second look at
    // the message page on that login: the site keeps it, or answers with its login page.
    void walkPages(ScriptedPage& page, const QString& loginAddress = kLogin, const QString& msgAddress = kMsg,
        bool siteKeepsLogin = true)
    {
        if (m_statuses.last() != ssConnecting)
            return;
        m_browser->document = loginPage(&page);
        m_browser->navigated(1, loginAddress);
        m_browser->loaded(1, loginAddress);
        if (m_statuses.last() != ssIdentifying)
            return;
        m_browser->document = messagePage(&page);
        m_browser->navigated(1, msgAddress);
        m_browser->loaded(1, msgAddress);
        if (m_statuses.last() != ssIdentified || m_browser->navigations.last() != msgAddress)
            return;
        m_browser->document = siteKeepsLogin ? messagePage(&page) : loginPage(&page);
        m_browser->navigated(1, siteKeepsLogin ? msgAddress : loginAddress);
        m_browser->loaded(1, siteKeepsLogin ? msgAddress : loginAddress);
    }

    QStringList stepNames() const
    {
        QStringList names;
        for (const CheckStep& step : m_steps)
            names << step.step + (step.passed ? QString() : QStringLiteral(" FAILED"));
        return names;
    }

private slots:
    // The check walks to the filled message form, then looks once more at the message page on its own to
    // say whether a list's further recipients can skip the login; either way the definition passes.
    void goodDefinitionStopsAtTheFilledForm_data()
    {
        QTest::addColumn<bool>("siteKeepsLogin");
        QTest::addColumn<QString>("keptLogin");
        QTest::newRow("site keeps the login") << true << "בלי כניסה נוספת";
        QTest::newRow("site asks for it each time") << false << "כל נמען ברשימה ייכנס מחדש";
    }
    void goodDefinitionStopsAtTheFilledForm()
    {
        QFETCH(bool, siteKeepsLogin);
        QFETCH(QString, keptLogin);
        makeEngine(provider());
        ScriptedPage page;
        check();
        walkPages(page, kLogin, kMsg, siteKeepsLogin);
        QCOMPARE(stepNames(),
            (QStringList { "provider", "credentials", "login page", "login page frame", "login form", "user field",
                "password field", "login submit", "message page", "message form", "sender field", "area field",
                "area choice", "number field", "message field", "message submit", "kept login" }));
        QVERIFY2(m_steps.last().detail.contains(keptLogin), qPrintable(m_steps.last().detail));
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssReady }));
        // The login went out; the message form was filled and left alone.
        QCOMPARE(page.journal,
            (QStringList { "f0.user = u", "f0.pass = p", "f0.go click", "f1.from = Dana", "f1.text = hi",
                "f1.area select 050", "f1.phone = 1234567" }));
        QCOMPARE(m_browser->navigations.last(), QStringLiteral("about:blank"));
        QVERIFY(!m_engine->timeOutTimer->isActive());
        QVERIFY(!m_engine->Checking() || m_engine->Status == ssReady);
    }

    void firstFailingStepIsNamed_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("failedStep");
        QTest::addColumn<QString>("detail");
        QTest::newRow("unknown area") << "AreaCodes"
                                      << "052"
                                      << "provider"
                                      << "אין מפעיל לקידומת 050";
        QTest::newRow("login address") << "LoginUrl"
                                       << "http://127.0.0.1/login/"
                                       << "login page"
                                       << "הדף שנטען הוא http://127.0.0.1/login, לא http://127.0.0.1/login/";
        QTest::newRow("login frame") << "LoginFrame"
                                     << "2"
                                     << "login page frame"
                                     << "מספר המסגרות בדף: 1";
        QTest::newRow("login form") << "LoginForm"
                                    << "signin"
                                    << "login form"
                                    << "אין טופס בשם או במספר 'signin'";
        QTest::newRow("password field") << "PassField"
                                        << "password"
                                        << "password field"
                                        << "שדותיו: user, pass, go";
        QTest::newRow("login control") << "LoginSubmitLookup"
                                       << "enter"
                                       << "login submit"
                                       << "אין בטופס פקד 'enter'";
        QTest::newRow("message address") << "MsgUrl"
                                         << "http://127.0.0.1/sms"
                                         << "message page"
                                         << "הדף שנטען הוא http://127.0.0.1/msg";
        QTest::newRow("message form") << "MsgForm"
                                      << "sms"
                                      << "message form"
                                      << "הטפסים בדף: 'search', #1";
        QTest::newRow("number field") << "PhoneField"
                                      << "number"
                                      << "number field"
                                      << "אין בטופס שדה 'number'";
        QTest::newRow("area not offered") << "AreaCodes+Defs"
                                          << "050=50"
                                          << "area choice"
                                          << "אינה מציעה '50'";
        QTest::newRow("no way to submit") << "MsgSubmit"
                                          << "0"
                                          << "message submit"
                                          << "אינה מציינת דרך לשלוח";
        QTest::newRow("link missing") << "MsgSubmit"
                                      << "1"
                                      << "message submit"
                                      << "אין בדף קישור אל";
    }
    void firstFailingStepIsNamed()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, failedStep);
        QFETCH(QString, detail);
        TProvider p = provider();
        QStringList areaDefs { QStringLiteral("050=050") };
        if (field == QLatin1String("AreaCodes"))
            p.AreaCodes = value;
        else if (field == QLatin1String("LoginUrl"))
            p.LoginUrl = value;
        else if (field == QLatin1String("LoginFrame"))
            p.LoginFrame = value.toInt();
        else if (field == QLatin1String("LoginForm"))
            p.LoginForm = value;
        else if (field == QLatin1String("PassField"))
            p.PassField = value;
        else if (field == QLatin1String("LoginSubmitLookup"))
            p.LoginSubmitLookup = value;
        else if (field == QLatin1String("MsgUrl"))
            p.MsgUrl = value;
        else if (field == QLatin1String("MsgForm"))
            p.MsgForm = value;
        else if (field == QLatin1String("PhoneField"))
            p.PhoneField = value;
        else if (field == QLatin1String("AreaCodes+Defs"))
            areaDefs = QStringList { value };
        else if (field == QLatin1String("MsgSubmit"))
            p.MsgSubmit = quint8(value.toInt());
        makeEngine(p);
        m_engine->AreaDefs = areaDefs;
        ScriptedPage page;
        check();
        // A wrong login address is seen when the page that loads is the one the site really has.
        walkPages(page, kLogin, kMsg);

        QVERIFY(!m_steps.isEmpty());
        const CheckStep last = m_steps.last();
        QCOMPARE(last.step, failedStep);
        QVERIFY2(!last.passed, qPrintable(last.detail));
        QVERIFY2(last.detail.contains(detail), qPrintable(last.detail));
        for (int i = 0; i + 1 < m_steps.size(); ++i)
            QVERIFY(m_steps[i].passed);
        QCOMPARE(m_statuses.last(), int(ssFailed));
        const qsizetype stepsInHebrew = m_steps.size();
        QVERIFY(!page.journal.join(QLatin1Char('|')).contains(QLatin1String("f1.Submit")));
        QVERIFY(!page.journal.contains(QLatin1String("f1 submit")));

        // The same walk in the English interface says every step in English.
        QTranslator english;
        QVERIFY(english.load(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora.ENU")));
        QCoreApplication::installTranslator(&english);
        makeEngine(p);
        m_engine->AreaDefs = areaDefs;
        ScriptedPage again;
        check();
        walkPages(again, kLogin, kMsg);
        QCoreApplication::removeTranslator(&english);
        static const QRegularExpression hebrew(QStringLiteral("[\\x{0590}-\\x{05FF}]"));
        for (const CheckStep& step : std::as_const(m_steps))
            QVERIFY2(!step.detail.contains(hebrew), qPrintable(step.detail));
        QCOMPARE(m_steps.size(), stepsInHebrew);
    }

    void missingCredentialsFailBeforeAnyPage()
    {
        makeEngine(provider());
        check(QString());
        QCOMPARE(stepNames(), (QStringList { "provider", "credentials FAILED" }));
        QVERIFY(!m_engine->WebBrowser1() || m_browser->navigations.isEmpty()
            || m_browser->navigations == QStringList { QStringLiteral("about:blank") });
    }

    void timeOutNamesTheStepWaitedFor()
    {
        makeEngine(provider());
        m_engine->TimeOut = 1;
        ScriptedPage page;
        check();
        m_browser->document = loginPage(&page);
        m_browser->navigated(1, kLogin);
        m_browser->loaded(1, kLogin);
        QTRY_COMPARE_WITH_TIMEOUT(m_statuses.last(), int(ssTimedOut), 3000);
        QCOMPARE(m_steps.last().step, QStringLiteral("message page"));
        QVERIFY(m_steps.last().detail.contains(QStringLiteral("תוך 1 שניות")));
    }

    void sendAfterCheckSubmitsAgain()
    {
        makeEngine(provider());
        ScriptedPage page;
        check();
        walkPages(page);
        QCOMPARE(m_statuses.last(), int(ssReady));
        m_steps.clear();
        page.journal.clear();
        m_engine->Send(QStringLiteral("Dana"), QStringLiteral("050"), QStringLiteral("1234567"), QStringLiteral("hi"),
            QStringLiteral("u"), QStringLiteral("p"));
        walkPages(page);
        QVERIFY(m_steps.isEmpty());
        QCOMPARE(page.journal.last(), QStringLiteral("f1.Submit click"));
        QCOMPARE(m_statuses.last(), int(ssSending));
    }
};

QTEST_GUILESS_MAIN(TestDefinitionCheck)
#include "test_definitioncheck.moc"
