// The sending engine with the real browser library against operator sites that misbehave, served by loopback
// servers of the test's own: a redirect that never ends, a page that answers only after the time-out, and a
// frameset whose frame belongs to another origin. The window keeps ticking through each, the attempt ends
// with the status the engine's rules give, and the next attempt sends.
#include "../engine/EngineWait.h"
#include "GuiResponsiveness.h"
#include "LoopbackHttpServer.h"
#include "SandboxProviders.h"

#include "common/ErrorReport.h"
#include "engine/TSMSBaseForm.h"

#include <QGuiApplication>
#include <QtTest>

namespace {
using Request = LoopbackHttpServer::Request;
using Reply = LoopbackHttpServer::Reply;

Reply html(const QByteArray& body)
{
    Reply reply;
    reply.headers << qMakePair(QByteArray("Content-Type"), QByteArray("text/html; charset=utf-8"));
    reply.body = body;
    return reply;
}

const QByteArray kMessageForm = "<html><body><form name=f method=post action=/done><input name=phone>"
                                "<textarea name=text></textarea></form></body></html>";
} // namespace

Q_DECLARE_METATYPE(FailureReason)

class TestOperatorFaults : public QObject
{
    Q_OBJECT

    std::unique_ptr<TSMSBaseForm> m_engine;
    QList<int> m_statuses;
    // Another origin (another port) for the frame that refuses access.
    LoopbackHttpServer m_partner { [](const Request&) {
        return html("<html><body><form name=login><input name=user><input name=pass></form></body></html>");
    } };
    LoopbackHttpServer m_site { [this](const Request& request) { return serve(request); } };

    Reply serve(const Request& request)
    {
        if (request.target.startsWith("/loop")) {
            // Each answer sends the browser on to the next address, for ever.
            Reply redirect;
            redirect.status = 302;
            redirect.reason = "Found";
            redirect.headers << qMakePair(QByteArray("Location"), "/loop" + QByteArray::number(request.target.size()));
            return redirect;
        }
        if (request.target.startsWith("/slow")) {
            // The headers come at once, the page never: the browser waits for a load that does not end.
            Reply slow = html("<html><body><form name=f>" + QByteArray(4096, ' ') + "</form></body></html>");
            slow.stallAfter = 20;
            return slow;
        }
        if (request.target.startsWith("/frameset"))
            return html("<html><frameset cols=\"100%\"><frame src=\"" + m_partner.url(QStringLiteral("/login")).toUtf8()
                + "\"></frameset></html>");
        if (request.target.startsWith("/done"))
            return html("<html><body>accepted</body></html>");
        return html(kMessageForm);
    }

    TProvider provider() const { return SandboxProviders::loopback(m_site.url(QStringLiteral("/form"))); }

    void send()
    {
        m_statuses.clear();
        m_engine->Send(QStringLiteral("Dana"), QStringLiteral("059"), QStringLiteral("1234567"), QStringLiteral("hi"),
            QStringLiteral("demo"), QStringLiteral("demo1234"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_site.start());
        QVERIFY(m_partner.start());
        m_engine = std::make_unique<TSMSBaseForm>();
        m_engine->OnStatus = [this](TSMSStatus s) { m_statuses << s; };
        m_engine->AreaDefs = QStringList { QStringLiteral("059=059") };
    }

    void cleanup()
    {
        if (isBusyStatus(m_engine->Status))
            m_engine->Cancel();
    }

    // Each operator-site fault ends the attempt with the status the engine's rules give (a redirect away from
    // the expected address fails at once; a page that never finishes and a frame that refuses access end by
    // the time-out), the GUI thread is never held up, and a good send follows.
    void faultySiteEndsTheAttempt_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<FailureReason>("reason");
        QTest::newRow("endless redirect") << "/loop" << QList<int> { ssConnecting, ssFailed }
                                          << FailureReason::Unreachable;
        QTest::newRow("answer slower than the time-out")
            << "/slow" << QList<int> { ssConnecting, ssTimedOut } << FailureReason::TimedOut;
        // The step stops where the browser refused (no box in the middle of a send); the time-out says why.
        QTest::newRow("frame of another origin")
            << "/frameset" << QList<int> { ssConnecting, ssFailed } << FailureReason::PageUnreadable;
    }
    void faultySiteEndsTheAttempt()
    {
        QFETCH(QString, fault);
        QFETCH(QList<int>, statuses);
        QFETCH(FailureReason, reason);

        QStringList reported;
        const auto previous = ErrorReport::setHandler([&](const QString& text) { reported << text; });
        TProvider p = provider();
        p.LoginUrl = m_site.url(fault);
        p.LoginFrame = fault == QLatin1String("/frameset") ? 0 : -1;
        p.LoginForm = QStringLiteral("login");
        p.UserField = QStringLiteral("user");
        p.PassField = QStringLiteral("pass");
        p.LoginSubmit = 3;
        m_engine->Providers = { p };
        m_engine->TimeOut = 3;

        GuiResponsiveness gui;
        send();
        const bool ended = waitForAttemptEnd(*m_engine, 15000);
        ErrorReport::setHandler(previous);
        QVERIFY(ended);
        QVERIFY2(gui.largestGapMs() < GuiResponsiveness::MaxGapMs,
            qPrintable(QStringLiteral("the window stood still for %1 ms").arg(gui.largestGapMs())));
        QCOMPARE(m_statuses, statuses);
        QCOMPARE(reported.size(), 0);
        QCOMPARE(m_engine->Failure.reason, reason);

        // Nothing of the fault blocks the next attempt.
        m_engine->Providers = { provider() };
        m_engine->TimeOut = 20;
        send();
        QVERIFY(waitForAttemptEnd(*m_engine, 20000));
        QCOMPARE(m_statuses, (QList<int> { ssConnecting, ssIdentified, ssSending, ssSent }));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    TestOperatorFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_operatorfaults.moc"
