// memory_bench: what the desktop program costs in memory over a day with one send. The program runs as the
// user's would, in the tray with settings of its own, its definitions from the sandbox (a program of its
// own, as the operators' sites are); one message waits in its queue and goes out through the sandbox's
// operator without a login. Measured: the proportional set size (PSS) of the program and every process it
// started, settled before the send, right after it, and a minute after it (ZELKORA_BENCH_IDLE_SECONDS
// changes the minute); once with the attempts in the program's own process, once in the engine worker.
// Goal, with the worker: a minute after the send at most 1.3 times the figure before it.

#include "SandboxProcess.h"
#include "history/HistoryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {
// The queued message is due this long after the program started: its definitions have arrived by then.
constexpr int DueAfterSeconds = 5;
// The program settles (its start-up work done, its first requests answered) before the first figure.
constexpr int SettleMilliseconds = 8000;

// The process and all its descendants, from the parent links in /proc.
QList<qint64> processTree(qint64 root)
{
    QHash<qint64, QList<qint64>> children;
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = name.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses, the last ")" ends it.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children[fields.at(1).toLongLong()] << pid;
    }
    QList<qint64> tree { root };
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.value(tree.at(i));
    return tree;
}

struct Footprint
{
    double pssMiB = 0;
    int processes = 0;
};

Footprint footprint(qint64 root)
{
    Footprint result;
    for (const qint64 pid : processTree(root)) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        ++result.processes;
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                result.pssMiB += line.mid(4).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return result;
}

void sleepMs(int milliseconds)
{
    QThread::msleep(quint64(milliseconds));
}
} // namespace

// One day's send, with the attempts where `worker` says; false when it could not be measured or, with the
// worker, the goal was not met.
bool measure(bool worker, int idleSeconds)
{
    QTemporaryDir folder;
    for (const char* sub : { "home", "config/zelkora", "app", "cache", "data", "runtime" })
        QDir().mkpath(folder.path() + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(folder.path() + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The queue is written here, where the program reads it.
    qputenv("ZELKORA_APPDIR", QFile::encodeName(folder.path() + QStringLiteral("/app")));

    QProcess sandbox;
    const QString url = startSandboxProcess(sandbox);
    if (url.isEmpty()) {
        std::fprintf(stderr, "the sandbox did not start\n");
        return false;
    }

    qint64 queued = 0;
    {
        HistoryEntry entry;
        entry.sender = QStringLiteral("Dana");
        entry.area = QStringLiteral("054");
        entry.phone = QStringLiteral("1234567");
        entry.message = QStringLiteral("נפגש בשמונה");
        entry.source = SendSource::Queue;
        entry.due = QDateTime::currentDateTime().addSecs(DueAfterSeconds);
        queued = HistoryStore().schedule(entry);
    }
    if (!queued) {
        std::fprintf(stderr, "the queued message could not be written\n");
        return false;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), folder.path() + QStringLiteral("/home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.path() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path() + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path() + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("ZELKORA_SERVICE_URL"), url);
    environment.insert(QStringLiteral("ZELKORA_ENGINE_WORKER"), worker ? QStringLiteral("1") : QStringLiteral("0"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora"), { QStringLiteral("/quiet") });
    if (!program.waitForStarted(10000)) {
        std::fprintf(stderr, "the program did not start\n");
        return false;
    }
    const qint64 pid = program.processId();

    sleepMs(SettleMilliseconds);
    const Footprint before = footprint(pid);

    // The queue looks for due messages every 15 seconds.
    QElapsedTimer waited;
    waited.start();
    std::optional<HistoryEntry> sent;
    while (waited.elapsed() < 90000) {
        sent = HistoryStore().entry(queued);
        if (sent && !sent->scheduled && sent->phase == LedgerPhase::Final)
            break;
        sleepMs(200);
    }
    if (!sent || !sent->sent()) {
        std::fprintf(stderr, "the queued message was not sent (%s)\n", sent ? qPrintable(sent->shownStatusText()) : "gone");
        program.kill();
        return false;
    }
    const Footprint after = footprint(pid);
    sleepMs(idleSeconds * 1000);
    const Footprint later = footprint(pid);
    program.terminate();
    if (!program.waitForFinished(5000))
        program.kill();
    sandbox.terminate();
    sandbox.waitForFinished(3000);

    const double ratio = later.pssMiB / before.pssMiB;
    std::printf("%s\n", worker ? "attempts in the engine worker (zelkora-engine)" : "attempts in the program's own process");
    std::printf("  before the send               %7.1f MiB  %d process(es)\n", before.pssMiB, before.processes);
    std::printf("  right after the send          %7.1f MiB  %d process(es)\n", after.pssMiB, after.processes);
    std::printf("  %3d s after the send          %7.1f MiB  %d process(es)   %.2fx before%s\n", idleSeconds,
        later.pssMiB, later.processes, ratio, worker ? (ratio <= 1.3 ? " (goal at most 1.30x)" : " (goal at most 1.30x)   NOT MET") : "");
    return !worker || ratio <= 1.3;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = qEnvironmentVariableIsSet("ZELKORA_BENCH_IDLE_SECONDS")
        ? qEnvironmentVariableIntValue("ZELKORA_BENCH_IDLE_SECONDS")
        : 60;
    std::printf("PSS of the desktop program and every process it started, one queued send through the sandbox\n");
    const bool inProcess = measure(false, idleSeconds);
    const bool inWorker = measure(true, idleSeconds);
    return inProcess && inWorker ? 0 : 1;
}
