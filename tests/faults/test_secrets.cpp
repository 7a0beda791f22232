// Where an operator password could leak: zelkora-cli's output, the statistics requests, the browser's
// diagnostic trace; and the mode of SMS.INI, which holds the passwords, whichever writer touched it last.
#include "../engine/EngineWait.h"
#include "LoopbackHttpServer.h"
#include "SandboxServer.h"
#include "SandboxService.h"
#include "TestEnv.h"

#include "common/AppPaths.h"
#include "engine/TSMSBaseForm.h"
#include "service/ServiceState.h"
#include "session/ServiceConnection.h"
#include "settings/SmsIni.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

namespace {
using Request = LoopbackHttpServer::Request;
using Reply = LoopbackHttpServer::Reply;

// A password no program text could hold by chance; the sandbox's sahar accepts only demo1234.
const QString kWrongPassword = QStringLiteral("Kq7-pw-xZ93");
const QString kDemoPassword = QStringLiteral("demo1234");

// The forms a password can take on the way out: as typed, percent-encoded, form-encoded.
bool leaks(const QByteArray& text, const QString& password)
{
    const QByteArray plain = password.toUtf8();
    return text.contains(plain) || text.contains(plain.toPercentEncoding());
}

QStringList g_messages;
QtMessageHandler g_previousHandler = nullptr;
void collectMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    g_messages << QString::fromLatin1(context.category ? context.category : "") + QLatin1Char(' ') + text;
    if (type != QtDebugMsg)
        g_previousHandler(type, context, text);
}

// The file's permission bits.
int modeOf(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}
} // namespace

class TestSecrets : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

    using Run = TestEnv::ProgramRun;

    // Runs the command-line program while this process goes on serving the sandbox.
    Run cli(const QStringList& args)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // As talkative as it can be made.
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true"));
        return TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
            QStringList { QStringLiteral("--service-url"), m_sandbox.baseUrl() } + args, environment);
    }

    void writeCredentials(const QString& password)
    {
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"),
            "[General]\r\nTimeOut=20\r\n[Sahar]\r\nUserName=demo\r\nPassword=" + password.toUtf8() + "\r\n");
    }

private slots:
    void initTestCase()
    {
        TestEnv::noProxy();
        QVERIFY(m_sandbox.listen());
    }

    void init()
    {
        TestEnv::freshAppDir();
        m_sandbox.clearSubmissions();
    }

    // No command of zelkora-cli prints the password of a provider that needs a login, on either stream,
    // whether the login succeeds or is refused; the password did go to the operator's login form.
    void cliNeverPrintsThePassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("loginSent");
        const QStringList send { QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("052-1234567"), QStringLiteral("--text"), QStringLiteral("hi") };
        for (const QString& password : { kDemoPassword, kWrongPassword }) {
            const char* which = password == kDemoPassword ? "right password" : "wrong password";
            QTest::addRow("refresh, %s", which) << password << QStringList { QStringLiteral("refresh") } << false;
            QTest::addRow("providers, %s", which) << password << QStringList { QStringLiteral("providers") } << false;
            QTest::addRow("providers --json, %s", which)
                << password << QStringList { QStringLiteral("providers"), QStringLiteral("--json") } << false;
            QTest::addRow("send, %s", which) << password << send << true;
            QTest::addRow("send --json, %s", which)
                << password << (send + QStringList { QStringLiteral("--json") }) << true;
            QTest::addRow("check, %s", which)
                << password << QStringList { QStringLiteral("check"), QStringLiteral("052") } << true;
            QTest::addRow("check --json, %s", which)
                << password << QStringList { QStringLiteral("check"), QStringLiteral("052"), QStringLiteral("--json") }
                << true;
        }
    }
    void cliNeverPrintsThePassword()
    {
        QFETCH(QString, password);
        QFETCH(QStringList, args);
        QFETCH(bool, loginSent);
        writeCredentials(password);
        if (args.first() != QLatin1String("refresh"))
            QCOMPARE(cli({ QStringLiteral("refresh") }).exitCode, 0);
        m_sandbox.clearSubmissions();

        const Run run = cli(args);
        QVERIFY2(run.exitCode >= 0, run.errBytes.constData());
        QVERIFY2(!leaks(run.outBytes, password), run.outBytes.constData());
        QVERIFY2(!leaks(run.errBytes, password), run.errBytes.constData());
        if (loginSent) {
            const QList<SandboxSubmission> got = m_sandbox.submissions();
            QVERIFY(!got.isEmpty());
            QCOMPARE(got.first().fields.value(QStringLiteral("pass")), password);
        }
    }

    // The statistics requests carry the session, the installation type, the refresh count and the banner
    // impressions, never a credential, although the providers in force hold their passwords.
    void statisticsNeverCarryThePassword()
    {
        writeCredentials(kWrongPassword);
        LoopbackHttpServer server([](const Request& request) {
            Reply reply;
            reply.body = request.target.startsWith("/smsinit")
                ? SandboxService::initDocument(QStringLiteral("http://127.0.0.1:1"))
                : QByteArray(
                    "<#ADVERTS>\r\n<#ADVERT AdBannerName=A AdURL=http://127.0.0.1:1/a.gif>\r\n<#FINISHED>\r\n");
            return reply;
        });
        QVERIFY(server.start());
        AppPaths::setServiceUrlOverride(server.url(QString()));

        TProviders providers;
        QStringList areaDefs;
        ServiceState state(providers, areaDefs);
        ServiceConnectionHost host;
        ServiceConnection connection(state, &host);
        QSignalSpy initDone(&connection, &ServiceConnection::initDone);
        QSignalSpy statsDone(&connection, &ServiceConnection::statsDone);
        connection.startUp();
        connection.InitTimerTimer();
        QVERIFY(QTest::qWaitFor([&] { return initDone.count() == 1; }, 15000));
        QCOMPARE(state.connection, ConnectionState::Service);
        QCOMPARE(providers.first().Password, kWrongPassword);

        for (int report = 1; report <= 2; ++report) {
            state.Adverts.AddHit(QStringLiteral("A"));
            connection.StatsTimerTimer();
            QVERIFY(QTest::qWaitFor([&] { return statsDone.count() == report; }, 15000));
        }
        connection.stop();
        AppPaths::setServiceUrlOverride(QString());

        int statistics = 0;
        for (const Request& request : server.requests()) {
            statistics += request.target.startsWith("/smsupdate") ? 1 : 0;
            QByteArray whole = request.method + ' ' + request.target + '\n' + request.body;
            for (const auto& header : request.headers)
                whole += header.first + ": " + header.second + '\n';
            QVERIFY2(!leaks(whole, kWrongPassword), whole.constData());
            QVERIFY2(!whole.contains("demo"), whole.constData());
        }
        QCOMPARE(statistics, 2);
    }

    // The browser's trace of navigations and loads, switched on for diagnosis, shows where the pages went but
    // not the values a form carried in its address: a login form sent with GET puts the password there.
    void browserTraceHidesFormValues()
    {
        const QByteArray loginPage = "<html><body><form name=login method=get action=/welcome><input name=user>"
                                     "<input type=password name=pass></form></body></html>";
        LoopbackHttpServer site([&](const Request& request) {
            Reply reply;
            reply.headers << qMakePair(QByteArray("Content-Type"), QByteArray("text/html"));
            reply.body
                = request.target.startsWith("/welcome") ? QByteArray("<html><body>welcome</body></html>") : loginPage;
            return reply;
        });
        QVERIFY(site.start());
        TProvider p;
        p.Name = QStringLiteral("GetLogin");
        p.AreaCodes = QStringLiteral("059");
        p.LoginUrl = site.url(QStringLiteral("/login"));
        p.LoginForm = QStringLiteral("login");
        p.UserField = QStringLiteral("user");
        p.PassField = QStringLiteral("pass");
        p.LoginSubmit = 3;
        p.MsgUrl = site.url(QStringLiteral("/message"));

        g_messages.clear();
        // As a user asks for it: the browser library leaves the rules alone when QT_LOGGING_RULES is set.
        qputenv("QT_LOGGING_RULES", "zelkora.browser.debug=true");
        QLoggingCategory::setFilterRules(QStringLiteral("zelkora.browser.debug=true"));
        g_previousHandler = qInstallMessageHandler(collectMessages);
        TSMSBaseForm engine;
        engine.Providers = { p };
        engine.TimeOut = 20;
        QList<int> statuses;
        engine.OnStatus = [&](TSMSStatus s) { statuses << s; };
        engine.Send(QStringLiteral("Dana"), QStringLiteral("059"), QStringLiteral("1234567"), QStringLiteral("hi"),
            QStringLiteral("demo"), kWrongPassword);
        const bool ended = waitForAttemptEnd(engine, 20000);
        qInstallMessageHandler(g_previousHandler);
        QLoggingCategory::setFilterRules(QString());
        qunsetenv("QT_LOGGING_RULES");
        QVERIFY(ended);
        // The login went out with GET: the site saw the password in the address.
        bool sawPassword = false;
        for (const Request& request : site.requests())
            sawPassword = sawPassword || leaks(request.target, kWrongPassword);
        QVERIFY(sawPassword);
        QCOMPARE(statuses, (QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssFailed }));

        const QByteArray trace = g_messages.join(QLatin1Char('\n')).toUtf8();
        // The trace does follow the pages, to the address that carried the form's values.
        QVERIFY2(trace.contains("/welcome?"), trace.constData());
        QVERIFY2(!leaks(trace, kWrongPassword), trace.constData());
    }

    // Every writer of SMS.INI leaves it readable by its owner only, whether it creates the file or finds one
    // that others could read.
    void smsIniStaysPrivate_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("modeBefore"); // -1: no file yet
        const QStringList writers { QStringLiteral("last used values"), QStringLiteral("time-out"),
            QStringLiteral("status window"), QStringLiteral("autostart"), QStringLiteral("outlook mode"),
            QStringLiteral("user name"), QStringLiteral("password"), QStringLiteral("integer and boolean") };
        for (const QString& writer : writers) {
            for (int mode : { -1, 0644, 0666, 0604 }) {
                QTest::addRow(
                    "%s, %s", qPrintable(writer), mode < 0 ? "new file" : qPrintable(QString::number(mode, 8)))
                    << writer << mode;
            }
        }
    }
    void smsIniStaysPrivate()
    {
        QFETCH(QString, writer);
        QFETCH(int, modeBefore);
        const QString path = TestEnv::freshConfigDir() + QStringLiteral("SMS.INI");
        if (modeBefore >= 0) {
            TestEnv::writeFile(path, "[Sahar]\r\nUserName=demo\r\nPassword=" + kWrongPassword.toUtf8() + "\r\n");
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(modeBefore)) == 0);
        }
        const mode_t oldMask = ::umask(022);
        SmsIni ini;
        if (writer == QLatin1String("last used values")) {
            ini.setLastFrom(QStringLiteral("Dana"));
            ini.setLastPhone(QStringLiteral("1234567"));
            ini.setLastRecipient(QStringLiteral("Dana"));
            ini.setLastAreaCode(QStringLiteral("052"));
        } else if (writer == QLatin1String("time-out")) {
            ini.setTimeOut(45);
        } else if (writer == QLatin1String("status window")) {
            ini.setUsePopupStatus(true);
        } else if (writer == QLatin1String("autostart")) {
            ini.setAutoStart(false);
        } else if (writer == QLatin1String("outlook mode")) {
            ini.setUseOutlook(true);
        } else if (writer == QLatin1String("user name")) {
            ini.setUserName(QStringLiteral("Kesher"), QStringLiteral("dana"));
        } else if (writer == QLatin1String("password")) {
            ini.setPassword(QStringLiteral("Sahar"), kDemoPassword);
        } else {
            ini.WriteInteger(QStringLiteral("General"), QStringLiteral("Count"), 3);
            ini.WriteBool(QStringLiteral("General"), QStringLiteral("Flag"), true);
        }
        ::umask(oldMask);
        QCOMPARE(modeOf(path), 0600);
        // Nothing else was left beside it: no temporary copy that others could read.
        QCOMPARE(QDir(AppPaths::configDir()).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("SMS.INI") });
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    TestSecrets test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_secrets.moc"
