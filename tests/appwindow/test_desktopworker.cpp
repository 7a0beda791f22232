// The desktop program with its attempts in the engine worker, on an X server: the page a site asks a person
// to answer opens in the worker's own window, over the handset, and is answered there with real keys; a
// worker killed or stopped dead in the middle of a send ends that send with its reason and the program goes
// on; the teach window opens in a worker of its own, where the user works in its page.

#include "TestEnv.h"

#include "SandboxServer.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "app/TMsgForm.h"
#include "sending/PersonPageWindow.h"
#include "common/AppPaths.h"
#include "engine/WorkerClient.h"
#include "language/LanguageModules.h"
#include "service/ServiceState.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <csignal>

namespace {
constexpr int Patience = 30000;
const QString kSent = QStringLiteral("ההודעה נשלחה");
const QString kWaits = QStringLiteral("אתר המפעיל ממתין לך...");
const QString kFailed = QStringLiteral("כשלון");

// What xdotool prints, trimmed; it runs for a moment only, so the sandbox in this process is not kept waiting.
QString xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(5000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// The first window named exactly `title` of the process `pid`, once it is mapped; empty when none came.
QString windowOf(qint64 pid, const QString& title)
{
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            const QStringList windows = xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                    QStringLiteral("--pid"), QString::number(pid),
                                                    QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$') })
                                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            found = windows.value(0);
            return !found.isEmpty();
        },
        Patience);
    return found;
}

// Keys typed as a person types them into the X window that has the focus, then Enter.
void typeInto(const QString& window, const QString& text)
{
    xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), window });
    QTest::qWait(300);
    xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text });
    xdotool({ QStringLiteral("key"), QStringLiteral("Return") });
}

QRect geometryOf(const QString& window)
{
    QMap<QString, int> values;
    const QStringList lines = xdotool({ QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window }).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")), values.value(QStringLiteral("WIDTH")),
        values.value(QStringLiteral("HEIGHT")));
}
// The teach workers this program started: its children run as "zelkora-engine --teach".
int findTeachProcesses()
{
    int count = 0;
    const QString parent = QString::number(QCoreApplication::applicationPid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!status.open(QIODevice::ReadOnly) || !command.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = status.readAll();
        const QByteArray line = command.readAll();
        // The parent is the second field after the program's name in parentheses.
        const QByteArray afterName = stat.mid(stat.lastIndexOf(')') + 2);
        if (afterName.split(' ').value(1) == parent.toLatin1() && line.contains("zelkora-engine") && line.contains("--teach"))
            ++count;
    }
    return count;
}
} // namespace

class TestDesktopWorker : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<THiddenForm> m_hiddenForm;
    QPointer<TMsgForm> m_form;

    QStringList outcomes(const QString& path) const
    {
        QStringList list;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.path == path)
                list << s.outcome;
        }
        return list;
    }

    TSMSBaseForm& engine() { return m_form->session().engine(); }
    qint64 workerId() { return engine().worker() ? engine().worker()->processId() : 0; }

    void sendTo(const QString& area, const QString& phone)
    {
        m_form->ui().areaCodeEdit->setText(area);
        m_form->ui().numberEdit->setText(phone);
        m_form->ui().senderEdit->setText(QStringLiteral("Dana"));
        m_form->ui().messageEdit->setPlainText(QStringLiteral("hello"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
    }

    // A send to magen, up to its question in the worker's window; the window's X id.
    QString sendUntilTheQuestion(const QString& phone)
    {
        sendTo(QStringLiteral("059"), phone);
        if (!QTest::qWaitFor([&] { return m_form->ui().statusLine->text() == kWaits; }, Patience))
            return QString();
        return windowOf(workerId(), QStringLiteral("Magen"));
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        QVERIFY(m_sandbox.listen());
        AppPaths::setServiceUrlOverride(m_sandbox.baseUrl());
        TestEnv::freshAppDir();
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"),
            "[General]\r\nTimeOut=30\r\n[Magen]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        m_hiddenForm = std::make_unique<THiddenForm>();
        m_form = ProgramEntry::start(ProgramEntry::parse({}), *m_hiddenForm, {});
        QTRY_VERIFY(m_form->isShown());
        QTRY_COMPARE_WITH_TIMEOUT(m_form->session().connectionState(), ConnectionState::Service, Patience);
        QVERIFY2(engine().worker(), "the desktop program's attempts run in the engine worker");
        m_form->move(500, 150);
    }

    void cleanupTestCase()
    {
        delete m_form.data();
        m_hiddenForm.reset();
        AppPaths::setServiceUrlOverride(QString());
    }

    void init() { m_sandbox.clearSubmissions(); }

    // The site's question opens in the worker's window, over the handset; the word and the code typed there
    // bring the message page, and the message is sent.
    void theQuestionIsAnsweredInTheWorkersWindow()
    {
        const QString window = sendUntilTheQuestion(QStringLiteral("1234567"));
        QVERIFY2(!window.isEmpty(), "the worker showed no window named after the operator");
        QVERIFY(!m_form->personPages()->window());
        const QRect handset = m_form->frameGeometry();
        QVERIFY2(handset.contains(geometryOf(window).center()), "the question's window opens over the handset");

        typeInto(window, QStringLiteral("TAPUZ"));
        QTRY_COMPARE_WITH_TIMEOUT(outcomes(QStringLiteral("/magen/check")).size(), 1, Patience);
        typeInto(window, QStringLiteral("4821"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), kSent, Patience);
        QCOMPARE(outcomes(QStringLiteral("/magen/check")), (QStringList { "answered", "answered" }));
        QCOMPARE(outcomes(QStringLiteral("/magen/send")), QStringList { QStringLiteral("accepted") });
        // The page is answered: its window goes.
        QTRY_VERIFY(xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                QStringLiteral("^Magen$") })
                        .isEmpty());
    }

    // A worker killed, or stopped dead, while the site waits for the person: the send ends with the reason,
    // the window goes, nothing was sent, and the next send has a new worker.
    void aWorkerThatDiesOrHangsEndsOnlyItsSend_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("killed") << int(SIGKILL);
        QTest::newRow("hung") << int(SIGSTOP);
    }
    void aWorkerThatDiesOrHangsEndsOnlyItsSend()
    {
        QFETCH(int, signal);
        // A hung worker is taken for hung when the person's limit and its margin have passed.
        engine().PersonLimit = 2000;
        QVERIFY(!sendUntilTheQuestion(QStringLiteral("2345678")).isEmpty());
        const qint64 first = workerId();
        ::kill(pid_t(first), signal);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->ui().statusLine->text().startsWith(kFailed), Patience);
        engine().PersonLimit = 300000;
        QCOMPARE(engine().Failure.reason, FailureReason::BrowserStopped);
        QVERIFY(!engine().waitingForPerson());
        QVERIFY(outcomes(QStringLiteral("/magen/send")).isEmpty());

        sendTo(QStringLiteral("054"), QStringLiteral("3456789"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ui().statusLine->text(), kSent, Patience);
        QVERIFY(workerId() != first);
    }

    // The teach window opens in a worker of its own, in the program's language; the user's keys work its
    // page (the operator's login, typed and submitted there); the window goes with the program.
    void theTeachWindowWorksInAWorkerOfItsOwn()
    {
        const QString title = QStringLiteral("Teach a new provider");
        QVERIFY(LanguageModules::LoadLanguageModule(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora"), QStringLiteral("ENU")));
        m_form->teachClicked();
        LanguageModules::SetResourceModule(nullptr);
        // The window is the top-level one of a process (a child window of its page may carry its name too).
        QString window;
        qint64 teacher = 0;
        QVERIFY(QTest::qWaitFor(
            [&] {
                const QStringList found = xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                      QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$') })
                                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                for (const QString& candidate : found) {
                    teacher = xdotool({ QStringLiteral("getwindowpid"), candidate }).toLongLong();
                    if (teacher > 0) {
                        window = candidate;
                        return true;
                    }
                }
                return false;
            },
            Patience));
        QVERIFY2(teacher != QCoreApplication::applicationPid() && teacher != workerId(),
            qPrintable(QStringLiteral("window %1 of process %2").arg(window).arg(teacher)));
        QVERIFY2(!m_form->ui().languagesAction->isEnabled(), "the handset is not rebuilt under the teach window");

        typeInto(window, m_sandbox.baseUrl() + QStringLiteral("/magen/login"));
        QTRY_VERIFY_WITH_TIMEOUT(m_sandbox.hits(QStringLiteral("/magen/login")) > 0, Patience);
        QTest::qWait(1000);
        xdotool({ QStringLiteral("key"), QStringLiteral("Tab") });
        xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("demo") });
        xdotool({ QStringLiteral("key"), QStringLiteral("Tab") });
        typeInto(window, QStringLiteral("demo1234"));
        QTRY_COMPARE_WITH_TIMEOUT(outcomes(QStringLiteral("/magen/login")), QStringList { QStringLiteral("login") }, Patience);

        // Asked again, the open window comes forward; no second one opens.
        m_form->teachClicked();
        QTest::qWait(500);
        QCOMPARE(xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                             QString::number(teacher), QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$') })
                     .isEmpty(),
            false);
        QCOMPARE(findTeachProcesses(), 1);

        delete m_form.data();
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(teacher), 0) != 0, 10000);
    }
};

QTEST_MAIN(TestDesktopWorker)
#include "test_desktopworker.moc"
