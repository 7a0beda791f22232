#include "PersonAnswers.h"
#include "SandboxServer.h"
#include "TeachDriver.h"
#include "TestEnv.h"
#include "engine/TSMSBaseForm.h"
#include "service/LocalDefinitions.h"
#include "service/ServiceState.h"
#include "settings/Credentials.h"
#include "settings/SmsIni.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
// Names the step of a walkthrough that could not be done.
bool done(bool ok, const char* step)
{
    if (!ok)
        qWarning("could not: %s", step);
    return ok;
}

bool saharPages(TeachDriver& d, const SampleValues& s, const QString& baseUrl)
{
    // The login form is in the first frame of a frameset; the message page opens in the same frame and
    // the result in the whole window.
    d.openAddress(baseUrl + "/sahar/");
    return done(d.waitFor({ 0 }, "input[name=pass]"), "d.waitFor({0}, \"input[name=pass]\")")
        && done(d.type({ 0 }, "input[name=user]", SandboxServer::demoUserName()),
            "d.type({0}, \"input[name=user]\", SandboxServer::demoUserName())")
        && done(d.type({ 0 }, "input[name=pass]", SandboxServer::demoPassword()),
            "d.type({0}, \"input[name=pass]\", SandboxServer::demoPassword())")
        && done(d.click({ 0 }, "input[name=doLogin]"), "d.click({0}, \"input[name=doLogin]\")")
        && done(d.waitFor({ 0 }, "textarea[name=text]"), "d.waitFor({0}, \"textarea[name=text]\")")
        && done(d.type({ 0 }, "input[name=sender]", s.sender), "d.type({0}, \"input[name=sender]\", s.sender)")
        && done(d.choose({ 0 }, "input[name=number]", "select[name=prefix]", s.area),
            "d.choose({0}, \"input[name=number]\", \"select[name=prefix]\", s.area)")
        && done(d.type({ 0 }, "input[name=number]", s.number), "d.type({0}, \"input[name=number]\", s.number)")
        && done(d.type({ 0 }, "textarea[name=text]", s.message), "d.type({0}, \"textarea[name=text]\", s.message)")
        && done(d.click({ 0 }, "input[name=Submit]"), "d.click({0}, \"input[name=Submit]\")")
        && done(d.waitFor({}, "a[href='/sahar/']"), "d.waitFor({}, \"a[href='/sahar/']\")");
}

bool kesherPages(TeachDriver& d, const SampleValues& s, const QString& baseUrl)
{
    // No login; the area code goes in front of the number, and a script link sends the form.
    d.press("SkipLoginButton");
    d.openAddress(baseUrl + "/kesher/sms");
    return done(d.waitFor({}, "textarea[name=msg]"), "d.waitFor({}, \"textarea[name=msg]\")")
        && done(
            d.type({}, "input[name=phone]", s.area + s.number), "d.type({}, \"input[name=phone]\", s.area + s.number)")
        && done(d.type({}, "textarea[name=msg]", s.message), "d.type({}, \"textarea[name=msg]\", s.message)")
        && done(d.click({}, "a[href^=javascript]"), "d.click({}, \"a[href^=javascript]\")")
        && done(d.waitFor({}, "p.result"), "d.waitFor({}, \"p.result\")");
}

bool ofekPages(TeachDriver& d, const SampleValues& s, const QString& baseUrl)
{
    // Pages that their scripts build and fill in; the message form is sent by a button's script.
    d.openAddress(baseUrl + "/ofek/login");
    return done(d.waitFor({}, "input[name=password]"), "d.waitFor({}, \"input[name=password]\")")
        && done(d.type({}, "input[name=user]", SandboxServer::demoUserName()),
            "d.type({}, \"input[name=user]\", SandboxServer::demoUserName())")
        && done(d.type({}, "input[name=password]", SandboxServer::demoPassword()),
            "d.type({}, \"input[name=password]\", SandboxServer::demoPassword())")
        && done(d.click({}, "input[name=enter]"), "d.click({}, \"input[name=enter]\")")
        && done(d.waitFor({}, "input[name=ts]"), "d.waitFor({}, \"input[name=ts]\")")
        && done(d.type({}, "input[name=from]", s.sender), "d.type({}, \"input[name=from]\", s.sender)")
        && done(d.choose({}, "input[name=phone]", "select[name=area]", s.area),
            "d.choose({}, \"input[name=phone]\", \"select[name=area]\", s.area)")
        && done(d.type({}, "input[name=phone]", s.number), "d.type({}, \"input[name=phone]\", s.number)")
        && done(d.type({}, "textarea[name=body]", s.message), "d.type({}, \"textarea[name=body]\", s.message)")
        && done(d.click({}, "input[name=go]"), "d.click({}, \"input[name=go]\")")
        && done(d.waitFor({}, "#verdict:not(:empty)"), "d.waitFor({}, \"#verdict:not(:empty)\")");
}

bool galimPages(TeachDriver& d, const SampleValues& s, const QString& baseUrl)
{
    // No login; an advert frame of another site keeps loading beside the form, and the answer comes late.
    d.press("SkipLoginButton");
    d.openAddress(baseUrl + "/galim/sms");
    return done(d.waitFor({}, "textarea[name=message]"), "d.waitFor({}, \"textarea[name=message]\")")
        && done(d.type({}, "input[name=sender]", s.sender), "d.type({}, \"input[name=sender]\", s.sender)")
        && done(d.type({}, "input[name=prefix]", s.area), "d.type({}, \"input[name=prefix]\", s.area)")
        && done(d.type({}, "input[name=number]", s.number), "d.type({}, \"input[name=number]\", s.number)")
        && done(d.type({}, "textarea[name=message]", s.message), "d.type({}, \"textarea[name=message]\", s.message)")
        && done(d.click({}, "input[name=send]"), "d.click({}, \"input[name=send]\")")
        && done(d.waitFor({}, "a[href='/galim/sms']"), "d.waitFor({}, \"a[href='/galim/sms']\")");
}

// Waits until a script on the shown page says yes.
bool waitUntil(TeachDriver& d, const QString& script)
{
    return QTest::qWaitFor([&] { return d.evaluate(script).toBool(); }, 15000);
}

bool magenPages(TeachDriver& d, const SampleValues& s, const QString& baseUrl)
{
    // After the login the site asks for the word in its picture and then for a code, which the user answers
    // by hand on the way to the message page.
    const QString codePage = "document.readyState==='complete'&&!document.images.length"
                             "&&!!document.querySelector('input[name=answer]')";
    d.openAddress(baseUrl + "/magen/login");
    return done(d.waitFor({}, "input[name=password]"), "the login page")
        && done(d.type({}, "input[name=user]", SandboxServer::demoUserName()), "the user name")
        && done(d.type({}, "input[name=password]", SandboxServer::demoPassword()), "the password")
        && done(d.click({}, "input[name=enter]"), "enter") && done(d.waitFor({}, "img"), "the word's page")
        && done(d.type({}, "input[name=answer]", "TAPUZ"), "the word") && done(d.click({}, "input[name=go]"), "go")
        && done(waitUntil(d, codePage), "the code's page") && done(d.type({}, "input[name=answer]", "4821"), "the code")
        && done(d.click({}, "input[name=go]"), "go") && done(d.waitFor({}, "textarea[name=body]"), "the message page")
        && done(d.type({}, "input[name=from]", s.sender), "the sender")
        && done(d.choose({}, "input[name=phone]", "select[name=area]", s.area), "the area")
        && done(d.type({}, "input[name=phone]", s.number), "the number")
        && done(d.type({}, "textarea[name=body]", s.message), "the message")
        && done(d.click({}, "input[name=send]"), "send")
        && done(d.waitFor({}, "a[href='/magen/login']"), "the result page");
}

// The fields the engine reads for a send, as text, so that a difference shows by name.
QStringList engineFields(const TProvider& p)
{
    QStringList fields { "AreaCodes=" + parseCommaText(p.AreaCodes).join(','), "MsgUrl=" + p.MsgUrl,
        "MsgFrame=" + QString::number(p.MsgFrame), "MsgForm=" + p.MsgForm, "FromField=" + p.FromField,
        "AreaField=" + p.AreaField, "PhoneField=" + p.PhoneField, "MsgField=" + p.MsgField,
        "MsgSubmit=" + QString::number(p.MsgSubmit), "ResAccepted=" + p.ResAccepted, "ResRejected=" + p.ResRejected,
        "ClearCRLF=" + QString::number(p.ClearCRLF), "LoginUrl=" + p.LoginUrl };
    // The lookup counts for a link or a control, the value for a submission through SUBMIT.
    if (p.MsgSubmit == 1 || p.MsgSubmit == 2)
        fields << "MsgSubmitLookup=" + p.MsgSubmitLookup;
    if (p.MsgSubmit == 3)
        fields << "MsgSubmitValue=" + p.MsgSubmitValue;
    if (!p.LoginUrl.isEmpty()) {
        fields << "LoginFrame=" + QString::number(p.LoginFrame) << "LoginForm=" + p.LoginForm
               << "UserField=" + p.UserField << "PassField=" + p.PassField
               << "LoginSubmit=" + QString::number(p.LoginSubmit);
        if (p.LoginSubmit == 1 || p.LoginSubmit == 2)
            fields << "LoginSubmitLookup=" + p.LoginSubmitLookup;
        if (p.LoginSubmit == 3)
            fields << "LoginSubmitValue=" + p.LoginSubmitValue;
    }
    return fields;
}

int messageSubmissions(const SandboxServer& sandbox)
{
    int count = 0;
    for (const SandboxSubmission& s : sandbox.submissions())
        count += s.path.endsWith(QLatin1String("/send")) ? 1 : 0;
    return count;
}
} // namespace

class TestTeachWindow : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    QPointer<TTeachForm> m_form;

    // The sandbox's own definitions, as its service document gives them.
    TProvider sandboxProvider(const QString& name, QStringList* areaDefs)
    {
        TProviders providers;
        ServiceState state(providers, *areaDefs);
        state.ProcessDocument(m_sandbox.serviceDocument());
        for (const TProvider& p : std::as_const(providers)) {
            if (p.Name == name)
                return p;
        }
        return TProvider();
    }

private slots:
    void initTestCase() { QVERIFY(m_sandbox.listen()); }
    // No definition or credentials of an earlier run: a file of the same name would be asked about.
    void init() { TestEnv::freshConfigDir(); }
    void cleanup()
    {
        delete m_form.data();
        m_sandbox.clearSubmissions();
    }

    void demonstrationMakesTheOperatorsOwnDefinition_data()
    {
        QTest::addColumn<QString>("operatorName");
        QTest::addColumn<QString>("areaCodes");
        QTest::addColumn<QString>("ownArea");
        QTest::addColumn<QString>("acceptedText");
        QTest::addColumn<QString>("rejectedText");
        QTest::addColumn<bool>("keepLineBreaks");
        QTest::newRow("login in a frameset") << "Sahar"
                                             << "050,052,053"
                                             << "052"
                                             << "נשלחה בהצלחה"
                                             << "נדחתה" << false;
        QTest::newRow("no login, script link") << "Kesher"
                                               << "054,057"
                                               << "054"
                                               << "התקבלה"
                                               << "לא נשלחה" << true;
        QTest::newRow("pages built by scripts") << "Ofek"
                                                << "055,058"
                                                << "058"
                                                << "נמסרה לרשת"
                                                << "סורבה" << true;
        QTest::newRow("an advert frame that keeps loading") << "Galim"
                                                            << "051"
                                                            << "051"
                                                            << "נשלח ליעדו"
                                                            << "לא ניתן לשלוח" << false;
        QTest::newRow("a word and a code after the login") << "Magen"
                                                           << "059"
                                                           << "059"
                                                           << "ההודעה נמסרה"
                                                           << "ההודעה סורבה" << true;
    }
    void demonstrationMakesTheOperatorsOwnDefinition()
    {
        QFETCH(QString, operatorName);
        QFETCH(QString, areaCodes);
        QFETCH(QString, ownArea);
        QFETCH(QString, acceptedText);
        QFETCH(QString, rejectedText);
        QFETCH(bool, keepLineBreaks);

        m_form = new TTeachForm(nullptr);
        m_form->show();
        QVERIFY2(m_form->browserView(), "the browser library cannot be loaded");
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        TeachDriver driver(m_form);
        driver.typeInto("ProviderName", operatorName);
        driver.typeInto("AreaCodes", areaCodes);
        driver.typeInto("OwnArea", ownArea);
        driver.typeInto("OwnNumber", "1234567");
        auto* keep = m_form->findChild<QCheckBox*>("KeepLineBreaks");
        if (keep->isChecked() != keepLineBreaks)
            QTest::mouseClick(keep, Qt::LeftButton);
        QCOMPARE(keep->isChecked(), keepLineBreaks);

        const SampleValues samples = m_form->samples();
        const auto pages = operatorName == "Sahar" ? saharPages
            : operatorName == "Kesher"             ? kesherPages
            : operatorName == "Galim"              ? galimPages
            : operatorName == "Magen"              ? magenPages
                                                   : ofekPages;
        QVERIFY2(pages(driver, samples, m_sandbox.baseUrl()), "the demonstration could not be completed");
        QCOMPARE(messageSubmissions(m_sandbox), 1);
        QTRY_VERIFY(m_form->session().demonstration().resultLoaded());
        // Without a result text every send would count as sent: the definition cannot be saved yet.
        QVERIFY(!m_form->session().draft(operatorName, areaCodes).problems.isEmpty());
        QTRY_VERIFY(!m_form->findChild<QPushButton*>("SaveButton")->isEnabled());
        // A page still laying itself out on a busy machine may move the text between its measuring and the
        // clicks: marking is tried again, as a user would.
        for (int attempt = 0; attempt < 3 && m_form->session().demonstration().selection() != acceptedText; ++attempt) {
            QVERIFY(driver.mark({}, acceptedText));
            (void)QTest::qWaitFor([&] { return m_form->session().demonstration().selection() == acceptedText; }, 3000);
        }
        QCOMPARE(m_form->session().demonstration().selection(), acceptedText);
        driver.press("MarkAcceptedButton");
        driver.typeInto("RejectedText", rejectedText);

        // Equal to the sandbox's own definition in every field the engine reads.
        const TeachSession::Draft draft = m_form->session().draft(operatorName, areaCodes);
        QVERIFY2(draft.problems.isEmpty(), qPrintable(draft.problems.join('\n')));
        QStringList sandboxDefs;
        const TProvider expected = sandboxProvider(operatorName, &sandboxDefs);
        QCOMPARE(engineFields(draft.provider), engineFields(expected));
        for (const QString& def : draft.areaDefs)
            QVERIFY2(sandboxDefs.contains(def), qPrintable(def));
        QCOMPARE(m_form->session().demonstration().userName(),
            expected.LoginUrl.isEmpty() ? QString() : SandboxServer::demoUserName());

        // Saving writes the file and the credentials, then checks it at once without sending a message.
        m_sandbox.clearSubmissions();
        QSignalSpy finished(&m_form->session(), &TeachSession::checkFinished);
        // The check meets the site's questions again and shows them to the user, who answers them.
        QList<QStringList> answers { { "TAPUZ", "4821" } };
        driver.press("SaveButton");
        if (m_form->personPages())
            PersonAnswers::answerEach(m_form->personPages(), m_form, &answers);
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(messageSubmissions(m_sandbox), 0);
        const QString path = TeachSession::pathFor(operatorName);
        QVERIFY(QFileInfo::exists(path));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(!file.readAll().contains(SandboxServer::demoPassword().toUtf8()));
        }

        // The file, read back as the program reads local definitions, sends through the engine.
        TSMSBaseForm engine;
        ServiceState state(engine.Providers, engine.AreaDefs);
        state.ApplyLocalDefinitions();
        LoadCredentials(engine.Providers);
        const int index = engine.FindProviderByArea(ownArea);
        QVERIFY(index >= 0);
        QCOMPARE(engine.Providers[index].Origin, ProviderOrigin::Local);
        QCOMPARE(engineFields(engine.Providers[index]), engineFields(expected));
        QSignalSpy statuses(&engine, &TSMSBaseForm::statusChanged);
        const TProvider& taught = engine.Providers[index];
        engine.Send("Dana", ownArea, "7654321", "שלום", taught.UserName, taught.Password);
        QTRY_VERIFY_WITH_TIMEOUT(!isBusyStatus(engine.Status), 60000);
        if (operatorName == "Magen") {
            // Without a window to show it in, the site's question ends the send where it stands.
            QCOMPARE(int(engine.Status), int(ssFailed));
            QCOMPARE(QUrl(engine.PersonPage).path(), QStringLiteral("/magen/check"));
            QCOMPARE(messageSubmissions(m_sandbox), 0);
            return;
        }
        QCOMPARE(int(engine.Status), int(ssSent));
        QCOMPARE(messageSubmissions(m_sandbox), 1);
    }

    void messageFormOnAnotherPageIsExplained()
    {
        // After the login the user opens another page than the one the login led to and sends from there.
        m_form = new TTeachForm(nullptr);
        m_form->show();
        QVERIFY(m_form->browserView());
        TeachDriver d(m_form);
        d.typeInto("ProviderName", "Ofek");
        d.typeInto("AreaCodes", "055");
        d.typeInto("OwnArea", "055");
        d.typeInto("OwnNumber", "1234567");
        d.openAddress(m_sandbox.baseUrl() + "/ofek/login");
        QVERIFY(d.waitFor({}, "input[name=password]"));
        QVERIFY(d.type({}, "input[name=user]", SandboxServer::demoUserName()));
        QVERIFY(d.type({}, "input[name=password]", SandboxServer::demoPassword()));
        QVERIFY(d.click({}, "input[name=enter]"));
        QVERIFY(d.waitFor({}, "input[name=ts]"));
        // A reload of the page the login led to is still that page.
        d.press("ReloadButton");
        QTest::qWait(300);
        QVERIFY(d.waitFor({}, "input[name=ts]"));
        d.openAddress(m_sandbox.baseUrl() + "/kesher/sms");
        QVERIFY(d.waitFor({}, "textarea[name=msg]"));
        const SampleValues s = m_form->samples();
        QVERIFY(d.type({}, "input[name=phone]", s.area + s.number));
        QVERIFY(d.type({}, "textarea[name=msg]", s.message));
        QVERIFY(d.click({}, "a[href^=javascript]"));
        QTRY_VERIFY_WITH_TIMEOUT(m_form->session().demonstration().messageRecorded(), 15000);
        const QStringList problems = m_form->session().demonstration().problems();
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.first().contains("/ofek/msg") && problems.first().contains("/kesher/sms"),
            qPrintable(problems.first()));
        QTRY_VERIFY(d.waitFor({}, "p.result"));
        QVERIFY(!m_form->findChild<QPushButton*>("SaveButton")->isEnabled());
        QVERIFY(m_form->findChild<QLabel*>("ProblemsLabel")->text().contains("/kesher/sms"));
    }
};

QTEST_MAIN(TestTeachWindow)
#include "test_teachwindow.moc"
