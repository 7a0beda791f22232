// Send attempts through the real browser library on pages that their own scripts build and change, and on
// pages that fail: the sandbox's script-driven operator and pages served by a loopback server of the test's
// own, every site on 127.0.0.1.
#include "EngineWait.h"
#include "LoopbackHttpServer.h"
#include "SandboxProviders.h"
#include "SandboxServer.h"
#include "engine/TSMSBaseForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QWebEnginePage>
#include <QtTest>
#include <atomic>
#include <climits>
#include <csignal>

namespace {
// Warnings of the browser library, collected while a test runs.
QStringList g_browserWarnings;
QtMessageHandler g_previousHandler = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg
        && QLatin1String(context.category ? context.category : "") == QLatin1String("zelkora.browser"))
        g_browserWarnings << text;
    g_previousHandler(type, context, text);
}

// The renderer processes Chromium runs for this program: those its zygotes (children of this process)
// have forked, which carry the zygote's command line.
QList<qint64> rendererProcesses()
{
    QHash<qint64, qint64> parentOf;
    QSet<qint64> zygotes;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        parentOf[pid] = stat.readAll().split(')').value(1).trimmed().split(' ').value(1).toLongLong();
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains("--type=zygote"))
            zygotes << pid;
    }
    QList<qint64> renderers;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
        if (zygotes.contains(it.value()) && parentOf.value(it.value()) == QCoreApplication::applicationPid())
            renderers << it.key();
    }
    return renderers;
}

LoopbackHttpServer::Reply html(const QByteArray& body, int status = 200)
{
    LoopbackHttpServer::Reply reply;
    reply.status = status;
    reply.reason = status == 200 ? "OK" : "Error";
    reply.headers << qMakePair(QByteArray("Content-Type"), QByteArray("text/html; charset=utf-8"));
    reply.body = body;
    return reply;
}

// The fields of a form submission that reached the loopback server.
QMap<QString, QString> fieldsOf(const QByteArray& body)
{
    QMap<QString, QString> fields;
    for (const QByteArray& pair : body.split('&')) {
        const int eq = pair.indexOf('=');
        QByteArray value = pair.mid(eq + 1);
        value.replace('+', ' ');
        fields.insert(QString::fromUtf8(QByteArray::fromPercentEncoding(pair.left(eq))),
            QString::fromUtf8(QByteArray::fromPercentEncoding(value)));
    }
    return fields;
}
} // namespace

class TestBrowserPages : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<TSMSBaseForm> m_engine;
    QList<int> m_statuses;

    void send(const QString& area, const QString& phone, const QString& text = QStringLiteral("hi"))
    {
        m_statuses.clear();
        m_engine->Send(QStringLiteral("Dana"), area, phone, text, QStringLiteral("demo"), QStringLiteral("demo1234"));
    }

    bool waitForEnd(int ms = 20000) { return waitForAttemptEnd(*m_engine, ms); }

    // A provider without login whose one page lives on `server`.
    static TProvider loopbackProvider(const LoopbackHttpServer& server)
    {
        return SandboxProviders::loopback(server.url(QStringLiteral("/form")));
    }

private slots:
    void initTestCase()
    {
        g_previousHandler = qInstallMessageHandler(collectWarnings);
        QVERIFY(m_sandbox.listen());
        m_engine = std::make_unique<TSMSBaseForm>();
        m_engine->OnStatus = [this](TSMSStatus s) { m_statuses << s; };
        m_engine->AreaDefs = QStringList { QStringLiteral("050=050"), QStringLiteral("052=052"),
            QStringLiteral("054=054"), QStringLiteral("055=055"), QStringLiteral("058=058") };
    }

    void init()
    {
        const QString base = m_sandbox.baseUrl();
        m_engine->Providers
            = { SandboxProviders::sahar(base), SandboxProviders::kesher(base), SandboxProviders::ofek(base) };
        m_engine->TimeOut = 20;
        m_engine->OnStatus = [this](TSMSStatus s) { m_statuses << s; };
        m_sandbox.clearSubmissions();
        g_browserWarnings.clear();
    }

    void cleanup()
    {
        if (isBusyStatus(m_engine->Status))
            m_engine->Cancel();
    }

    // Every field reaches its own name although the page's scripts built the login form, put a field before
    // the message form's others, filled in their own defaults and added a field in front a moment after the
    // load (the engine's values win over those defaults); the verdict that the result page's script writes decides the outcome.
    void scriptedPagesFieldsReachTheirNames_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("accepted") << "1234567" << int(ssSent) << "accepted";
        QTest::newRow("rejected by the result page's script") << "9123456" << int(ssRejected) << "rejected";
    }
    void scriptedPagesFieldsReachTheirNames()
    {
        QFETCH(QString, phone);
        QFETCH(int, outcome);
        QFETCH(QString, verdict);
        send(QStringLiteral("055"), phone, QStringLiteral("שלום\r\nלכם"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssSending, outcome }));

        const QList<SandboxSubmission> got = m_sandbox.submissions();
        QCOMPARE(got.size(), 2);
        QCOMPARE(got[0].path, QStringLiteral("/ofek/login"));
        QCOMPARE(got[0].fields,
            (QMap<QString, QString> { { QStringLiteral("user"), QStringLiteral("demo") },
                { QStringLiteral("password"), QStringLiteral("demo1234") },
                { QStringLiteral("enter"), QStringLiteral("כניסה") } }));
        QCOMPARE(got[1].path, QStringLiteral("/ofek/send"));
        QCOMPARE(got[1].outcome, verdict);
        QMap<QString, QString> fields = got[1].fields;
        QVERIFY(!fields.take(QStringLiteral("ts")).isEmpty());
        QCOMPARE(fields,
            (QMap<QString, QString> { { QStringLiteral("token"), QStringLiteral("ofek-7f3a") },
                { QStringLiteral("from"), QStringLiteral("Dana") }, { QStringLiteral("area"), QStringLiteral("55") },
                { QStringLiteral("phone"), phone }, { QStringLiteral("body"), QStringLiteral("שלום\r\nלכם") } }));
        QCOMPARE(g_browserWarnings, QStringList());
    }

    // A control the page removes after the copy was taken is missing: nothing is written to it, the rest of
    // the step goes on, and the write that could not be made is reported. The page's own script removes it
    // when the engine has read the page and before it writes (run from the status report, the script reaches
    // the page ahead of the engine's writes).
    void removedControlIsReportedAndSkipped()
    {
        LoopbackHttpServer server([](const LoopbackHttpServer::Request& request) {
            if (request.target.startsWith("/done"))
                return html("<html><body>accepted</body></html>");
            return html("<html><body><form name=f method=post action=/done>"
                        "<input name=phone><textarea name=text></textarea></form></body></html>");
        });
        QVERIFY(server.start());
        m_engine->Providers = { loopbackProvider(server) };
        m_engine->OnStatus = [this](TSMSStatus s) {
            m_statuses << s;
            if (s == ssIdentified)
                m_engine->findChild<QWebEnginePage*>()->runJavaScript(
                    QStringLiteral("var old = document.forms.f.text; old.parentNode.removeChild(old);"));
        };
        send(QStringLiteral("059"), QStringLiteral("1234567"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses.last(), int(ssSent));
        QList<LoopbackHttpServer::Request> requests = server.requests();
        requests.removeIf([](const LoopbackHttpServer::Request& r) { return r.target == "/favicon.ico"; });
        QCOMPARE(requests.size(), 2);
        QCOMPARE(fieldsOf(requests[1].body),
            (QMap<QString, QString> { { QStringLiteral("phone"), QStringLiteral("1234567") } }));
        QCOMPARE(g_browserWarnings.size(), 1);
        QVERIFY2(g_browserWarnings[0].contains(QStringLiteral("control \"text\" of form \"f\": no longer on the page")),
            qPrintable(g_browserWarnings[0]));
    }

    // A list's later recipient goes straight to the message page on the login kept from the one before; a
    // site that answers the message page's address with its login form (under the message form's name, with
    // no redirect) is logged in to again, never filled as a message page.
    void keptLoginAndASiteThatEndedIt()
    {
        std::atomic<int> session { 0 }; // the one live session's number; 0: none
        int next = 0;
        LoopbackHttpServer server([&](const LoopbackHttpServer::Request& request) {
            const QByteArray login = "<html><body><form name=f method=post action=/login>"
                                     "<input name=user><input name=password type=password></form></body></html>";
            const bool live = session != 0 && request.header("Cookie") == "s=" + QByteArray::number(session);
            if (request.target == "/login" && request.method == "POST") {
                session = ++next;
                LoopbackHttpServer::Reply reply = html("", 303);
                reply.reason = "See Other";
                reply.headers << qMakePair(QByteArray("Set-Cookie"), "s=" + QByteArray::number(session))
                              << qMakePair(QByteArray("Location"), QByteArray("/msg"));
                return reply;
            }
            if (request.target == "/msg" && live)
                return html("<html><body><form name=f method=post action=/done>"
                            "<input name=phone><textarea name=text></textarea></form></body></html>");
            if (request.target == "/done")
                return html(live ? "<html><body>accepted</body></html>" : login);
            return html(login);
        });
        QVERIFY(server.start());
        TProvider provider = loopbackProvider(server);
        provider.MsgUrl = server.url(QStringLiteral("/msg"));
        provider.LoginUrl = server.url(QStringLiteral("/login"));
        provider.LoginForm = provider.MsgForm;
        provider.UserField = QStringLiteral("user");
        provider.PassField = QStringLiteral("password");
        provider.LoginSubmit = 3;
        m_engine->Providers = { provider };
        const auto requestsOf = [&](qsizetype from) {
            QStringList list;
            for (const LoopbackHttpServer::Request& r : server.requests().mid(from)) {
                if (r.target != "/favicon.ico")
                    list << QString::fromLatin1(r.method + ' ' + r.target);
            }
            return list;
        };
        const QList<int> withLogin { ssConnecting, ssIdentifying, ssIdentified, ssSending, ssSent };
        const QStringList loginThenSend { "GET /login", "POST /login", "GET /msg", "POST /done" };
        struct Round
        {
            bool keep;
            bool siteEndsSession;
            QList<int> statuses;
            QStringList requests;
            bool usedKeptLogin;
        };
        const QList<Round> rounds {
            { false, false, withLogin, loginThenSend, false }, // a list's first recipient
            { true, false, { ssConnecting, ssIdentified, ssSending, ssSent }, { "GET /msg", "POST /done" }, true },
            { true, true, withLogin, QStringList { "GET /msg" } + loginThenSend, false },
            { false, false, withLogin, loginThenSend, false }, // a single send logs in as always
        };
        for (const Round& round : rounds) {
            if (round.siteEndsSession)
                session = 0;
            const qsizetype before = server.requests().size();
            m_engine->KeepSession = round.keep;
            send(QStringLiteral("059"), QStringLiteral("1234567"));
            QVERIFY(waitForEnd());
            QCOMPARE(m_statuses, round.statuses);
            QCOMPARE(requestsOf(before), round.requests);
            QCOMPARE(m_engine->UsedKeptSession(), round.usedKeptLogin);
            QList<LoopbackHttpServer::Request> got = server.requests();
            got.removeIf([](const LoopbackHttpServer::Request& r) { return r.target != "/done"; });
            QCOMPARE(fieldsOf(got.last().body),
                (QMap<QString, QString> { { QStringLiteral("phone"), QStringLiteral("1234567") },
                    { QStringLiteral("text"), QStringLiteral("hi (Dana)") } }));
        }
        m_engine->KeepSession = false;
    }

    // A page that cannot be loaded at all completes at once at another address and without a document: the
    // attempt fails at once, whichever step it reached, and never counts as sent.
    void unreachablePageFailsAtOnce_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QList<int>>("statuses");
        QTest::newRow("login page") << "login" << QList<int> { ssConnecting, ssFailed };
        QTest::newRow("login address that is no address") << "relative" << QList<int> { ssConnecting, ssFailed };
        QTest::newRow("message page") << "message" << QList<int> { ssConnecting, ssIdentified, ssFailed };
        QTest::newRow("result page") << "result" << QList<int> { ssConnecting, ssIdentified, ssSending, ssFailed };
    }
    void unreachablePageFailsAtOnce()
    {
        QFETCH(QString, where);
        QFETCH(QList<int>, statuses);
        const QString nowhere = m_sandbox.unreachableUrl();
        QVERIFY(!nowhere.isEmpty());
        const QByteArray form = "<html><body><form name=f method=post action=\"" + nowhere.toUtf8()
            + "/send\"><input name=phone><textarea name=text></textarea></form></body></html>";
        LoopbackHttpServer server([form](const LoopbackHttpServer::Request&) { return html(form); });
        QVERIFY(server.start());
        TProvider p = loopbackProvider(server);
        if (where == QLatin1String("login"))
            p.LoginUrl = nowhere + QStringLiteral("/login");
        else if (where == QLatin1String("relative"))
            p.LoginUrl = QStringLiteral("login.html");
        else if (where == QLatin1String("message"))
            p.MsgUrl = nowhere + QStringLiteral("/form");
        m_engine->Providers = { p };
        m_engine->TimeOut = 60;
        QElapsedTimer elapsed;
        elapsed.start();
        send(QStringLiteral("059"), QStringLiteral("1234567"));
        QVERIFY(waitForEnd());
        QVERIFY2(elapsed.elapsed() < 3000, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(m_statuses, statuses);
    }

    // A result page that comes with an HTTP error status is no answer to the message, whatever it says; the
    // message page's own address decides, whatever its status.
    void httpErrorStatus_data()
    {
        QTest::addColumn<int>("formStatus");
        QTest::addColumn<int>("resultStatus");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("outcome");
        QTest::newRow("result 500 that rejects") << 200 << 500 << QByteArray("rejected: try later") << int(ssFailed);
        QTest::newRow("result 404 that accepts") << 200 << 404 << QByteArray("accepted") << int(ssFailed);
        QTest::newRow("message page 500") << 500 << 200 << QByteArray("accepted") << int(ssSent);
    }
    void httpErrorStatus()
    {
        QFETCH(int, formStatus);
        QFETCH(int, resultStatus);
        QFETCH(QByteArray, text);
        QFETCH(int, outcome);
        LoopbackHttpServer server([&](const LoopbackHttpServer::Request& request) {
            if (request.target.startsWith("/done"))
                return html("<html><body>" + text + "</body></html>", resultStatus);
            return html("<html><body><form name=f method=post action=/done><input name=phone>"
                        "<textarea name=text></textarea></form></body></html>",
                formStatus);
        });
        QVERIFY(server.start());
        m_engine->Providers = { loopbackProvider(server) };
        send(QStringLiteral("059"), QStringLiteral("1234567"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, outcome }));
    }

    void rendererKilledEndsTheAttemptAndTheNextOneSends()
    {
        send(QStringLiteral("050"), QStringLiteral("1234567"));
        QTRY_VERIFY_WITH_TIMEOUT(m_statuses.contains(ssIdentifying), 20000);
        const QList<qint64> renderers = rendererProcesses();
        QVERIFY(!renderers.isEmpty());
        for (qint64 pid : renderers)
            ::kill(pid_t(pid), SIGKILL);
        QVERIFY(waitForEnd(10000));
        QCOMPARE(m_statuses.last(), int(ssFailed));

        send(QStringLiteral("050"), QStringLiteral("1234567"));
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentifying, ssIdentified, ssSending, ssSent }));
    }

    // Counts of seconds whose milliseconds do not fit a timer: the largest interval, not a wrapped one.
    void hugeTimeOutStillTimesTheAttempt_data()
    {
        QTest::addColumn<int>("timeOut");
        QTest::newRow("2147484 s") << 2147484;
        QTest::newRow("4294968 s") << 4294968;
    }
    void hugeTimeOutStillTimesTheAttempt()
    {
        QFETCH(int, timeOut);
        m_engine->TimeOut = timeOut;
        send(QStringLiteral("054"), QStringLiteral("1234567"));
        QVERIFY(m_engine->timeOutTimer->isActive());
        QCOMPARE(m_engine->timeOutTimer->interval(), INT_MAX);
        QVERIFY(waitForEnd());
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssSent }));
    }

    // A new Send while an attempt is under way ends with the new attempt's result, at every step of the old
    // one, on the frameset site whose frames could otherwise stand in for the new page's.
    void sendWhileBusyEndsWithTheNewAttempt_data()
    {
        QTest::addColumn<int>("replaceAt");
        QTest::newRow("connecting") << int(ssConnecting);
        QTest::newRow("identifying") << int(ssIdentifying);
        QTest::newRow("identified") << int(ssIdentified);
        QTest::newRow("sending") << int(ssSending);
    }
    void sendWhileBusyEndsWithTheNewAttempt()
    {
        QFETCH(int, replaceAt);
        bool replaced = false;
        m_engine->OnStatus = [&](TSMSStatus s) {
            m_statuses << s;
            if (!replaced && s == replaceAt) {
                replaced = true;
                // From inside the status report, as the send workflow's question does.
                QMetaObject::invokeMethod(
                    m_engine.get(),
                    [this] {
                        m_engine->Send(QStringLiteral("Dana"), QStringLiteral("052"), QStringLiteral("9000000"),
                            QStringLiteral("again"), QStringLiteral("demo"), QStringLiteral("demo1234"));
                    },
                    Qt::QueuedConnection);
            }
        };
        send(QStringLiteral("050"), QStringLiteral("1234567"));
        QTRY_VERIFY_WITH_TIMEOUT(replaced, 20000);
        QTest::qWait(50);
        QVERIFY(waitForEnd());
        m_engine->OnStatus = [this](TSMSStatus s) { m_statuses << s; };
        QCOMPARE(m_statuses.last(), int(ssRejected));
        const QList<SandboxSubmission> got = m_sandbox.submissions();
        QVERIFY(!got.isEmpty());
        QCOMPARE(got.last().path, QStringLiteral("/sahar/send"));
        QCOMPARE(got.last().fields.value(QStringLiteral("number")), QStringLiteral("9000000"));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    TestBrowserPages test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browserpages.moc"
