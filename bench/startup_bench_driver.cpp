// startup_bench: start-up of the desktop program beside a minimal Qt Widgets program, in the same run and on
// the same X server (run through startup_bench.sh, which starts one):
// - time from starting the process to its window being mapped, median of 20 starts of each, interleaved;
// - peak memory of "zelkora /quiet" idling in the tray before any send, beside the minimal program idling
//   with its window shown;
// - whether the browser library (or Qt WebEngine), and the keyring's libsecret, are in the program's memory at
//   that point;
// - where the desktop program's time to its window goes: further starts with ZELKORA_STARTUP_TRACE set, whose
//   marks (src/common/StartupTrace.h) are placed on the driver's clock, each mark's median time from the start
//   and the median step from the mark before it, the mapped window among them.
// Both programs run in one environment: the same HOME and XDG folders (made once for the run, in which zelkora
// keeps its settings from one start to the next, as on a desktop), the same QT_ variables and fonts, and each
// has one untimed start in it first; zelkora's service address points at a closed loopback port.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QVector>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <map>
#include <poll.h>

namespace {
constexpr int Rounds = 20;
constexpr int IdleMilliseconds = 4000;
constexpr int MinimumWindowSide = 200;
// A traced start runs on this long after its window is mapped, so that the trace shows what the program does
// once its window is up.
constexpr int TraceAfterWindowMilliseconds = 1500;
constexpr int SettleAfterWindowMilliseconds = 300;
constexpr double Goal = 1.20; // zelkora beside the window with a text field
const QByteArray TracePrefix = QByteArrayLiteral("zelkora-startup ");

struct Display
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

bool openDisplay(Display* display)
{
    display->connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(display->connection))
        return false;
    display->root = xcb_setup_roots_iterator(xcb_get_setup(display->connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display->connection, display->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(display->connection);
    return true;
}

void drainEvents(const Display& display)
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(display.connection))
        std::free(event);
}

bool isLargeWindow(const Display& display, xcb_window_t window)
{
    xcb_get_geometry_reply_t* geometry
        = xcb_get_geometry_reply(display.connection, xcb_get_geometry(display.connection, window), nullptr);
    const bool large = geometry && geometry->width >= MinimumWindowSide && geometry->height >= MinimumWindowSide;
    std::free(geometry);
    return large;
}

// Waits for a window of the program's size to be mapped; false after the time-out.
bool waitForWindow(const Display& display, int timeoutMs, const QElapsedTimer& clock)
{
    pollfd descriptor { xcb_get_file_descriptor(display.connection), POLLIN, 0 };
    while (clock.elapsed() < timeoutMs) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(display.connection)) {
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY
                && isLargeWindow(display, reinterpret_cast<xcb_map_notify_event_t*>(event)->window);
            std::free(event);
            if (mapped)
                return true;
        }
        ::poll(&descriptor, 1, 5);
    }
    return false;
}

struct Program
{
    QString path;
    QStringList arguments;
    bool traced = false; // ZELKORA_STARTUP_TRACE set, the standard error kept for the marks
};

// CLOCK_MONOTONIC in microseconds, the clock of the program's marks.
long long monotonicMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

struct Mark
{
    QString name;
    double ms = 0; // from the process's start
};

// The folders and the environment that every start of either program runs in.
class Environment
{
public:
    Environment()
    {
        const QString base = m_folders.path();
        for (const char* folder : { "home", "config", "cache", "data", "app" })
            QDir().mkpath(base + QLatin1Char('/') + QLatin1String(folder));
        m_environment.remove(QStringLiteral("ZELKORA_STARTUP_TRACE"));
        m_environment.insert(QStringLiteral("HOME"), base + QStringLiteral("/home"));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), base + QStringLiteral("/config"));
        m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), base + QStringLiteral("/cache"));
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), base + QStringLiteral("/data"));
        m_environment.insert(QStringLiteral("ZELKORA_APPDIR"), base + QStringLiteral("/app"));
        m_environment.insert(QStringLiteral("ZELKORA_SERVICE_URL"), QStringLiteral("http://127.0.0.1:9"));
        const QString runtime = base + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    }

    QProcessEnvironment forProgram(const Program& program) const
    {
        QProcessEnvironment environment = m_environment;
        if (program.traced)
            environment.insert(QStringLiteral("ZELKORA_STARTUP_TRACE"), QStringLiteral("1"));
        return environment;
    }

    // Where a traced start's standard error goes; each traced start replaces the one before.
    QString traceFile() const { return m_folders.path() + QStringLiteral("/stderr.txt"); }

private:
    QTemporaryDir m_folders;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// Starts the program quietly in the run's environment, the clock starting with it; the monotonic time of the
// start in microseconds.
long long launch(QProcess& process, const Environment& environment, const Display& display, const Program& program,
    QElapsedTimer& clock)
{
    process.setProcessEnvironment(environment.forProgram(program));
    process.setStandardOutputFile(QProcess::nullDevice());
    if (program.traced)
        QFile::remove(environment.traceFile());
    process.setStandardErrorFile(program.traced ? environment.traceFile() : QProcess::nullDevice());
    drainEvents(display);
    clock.start();
    const long long started = monotonicMicroseconds();
    process.start(program.path, program.arguments);
    return started;
}

// The marks of a traced start, in the order written, in milliseconds from `startedMicroseconds`.
QVector<Mark> readMarks(const QString& file, long long startedMicroseconds)
{
    QVector<Mark> marks;
    QFile trace(file);
    if (!trace.open(QIODevice::ReadOnly))
        return marks;
    while (!trace.atEnd()) {
        const QByteArray line = trace.readLine().trimmed();
        if (!line.startsWith(TracePrefix))
            continue;
        const QByteArray rest = line.mid(TracePrefix.size());
        const int space = rest.indexOf(' ');
        if (space < 0)
            continue;
        const double ms = double(rest.left(space).toLongLong() - startedMicroseconds) / 1000;
        marks.append({ QString::fromUtf8(rest.mid(space + 1)), ms });
    }
    return marks;
}

const QString WindowMapped = QStringLiteral("(window mapped on the X server)");

// Milliseconds from start to the mapped window; negative when no window came. A traced program's marks go to
// `marks`, the mapped window among them.
double timeToWindow(
    const Display& display, const Environment& environment, const Program& program, QVector<Mark>* marks = nullptr)
{
    QProcess process;
    QElapsedTimer clock;
    const long long started = launch(process, environment, display, program, clock);
    const bool shown = waitForWindow(display, 20000, clock);
    const double elapsed = double(clock.nsecsElapsed()) / 1e6;
    // Every program runs on for a moment after its window maps, as a started program does, so that the next
    // start does not meet the end of this one's start-up work.
    QThread::msleep(program.traced ? TraceAfterWindowMilliseconds : SettleAfterWindowMilliseconds);
    stop(process);
    if (marks && program.traced) {
        *marks = readMarks(environment.traceFile(), started);
        marks->append({ WindowMapped, elapsed });
        std::stable_sort(marks->begin(), marks->end(), [](const Mark& a, const Mark& b) { return a.ms < b.ms; });
    }
    return shown ? elapsed : -1.0;
}

QByteArray procFile(qint64 pid, const char* name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// VmHWM of /proc/<pid>/status, in KiB.
long peakKiB(qint64 pid)
{
    const QByteArray status = procFile(pid, "status");
    const int at = status.indexOf("VmHWM:");
    if (at < 0)
        return -1;
    return std::atol(status.constData() + at + 6);
}

struct Idle
{
    long peakKiB = -1;
    bool browserLoaded = false;
    bool keyringLoaded = false;
};

Idle idle(const Display& display, const Environment& environment, const Program& program, bool waitForWindowFirst)
{
    QProcess process;
    QElapsedTimer clock;
    launch(process, environment, display, program, clock);
    if (waitForWindowFirst)
        waitForWindow(display, 20000, clock);
    QThread::msleep(IdleMilliseconds);
    Idle result;
    result.peakKiB = peakKiB(process.processId());
    const QByteArray maps = procFile(process.processId(), "maps");
    result.browserLoaded = maps.contains("zelkora-browser") || maps.contains("WebEngine");
    result.keyringLoaded = maps.contains("libsecret");
    stop(process);
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Each mark's median time and median step from the mark before it over the traced starts, in the order of
// the median times; the largest steps before the window are named after the table.
void printTrace(const char* program, const std::vector<QVector<Mark>>& starts)
{
    struct Figures
    {
        std::vector<double> at;
        std::vector<double> step;
    };
    std::map<QString, Figures> figures;
    for (const QVector<Mark>& marks : starts) {
        double previous = 0;
        for (const Mark& mark : marks) {
            figures[mark.name].at.push_back(mark.ms);
            figures[mark.name].step.push_back(mark.ms - previous);
            previous = mark.ms;
        }
    }
    struct Row
    {
        QString name;
        double at;
        double step;
        size_t count;
    };
    std::vector<Row> rows;
    for (const auto& [name, values] : figures)
        rows.push_back({ name, median(values.at), median(values.step), values.at.size() });
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.at < b.at; });

    std::printf("where %s's start goes (ZELKORA_STARTUP_TRACE, median of %zu starts, ms from the process start)\n",
        program, starts.size());
    std::printf("     at     step  mark\n");
    double windowAt = -1;
    for (const Row& row : rows) {
        std::printf("%7.1f  %+7.1f  %s", row.at, row.step, qPrintable(row.name));
        if (row.count < starts.size())
            std::printf(" [in %zu of %zu starts]", row.count, starts.size());
        std::printf("\n");
        if (row.name == WindowMapped)
            windowAt = row.at;
    }
    std::vector<Row> before;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(before),
        [windowAt](const Row& row) { return row.at <= windowAt; });
    std::sort(before.begin(), before.end(), [](const Row& a, const Row& b) { return a.step > b.step; });
    std::printf("largest steps before the window:");
    for (size_t i = 0; i < std::min<size_t>(3, before.size()); ++i)
        std::printf("%s %.1f ms up to \"%s\"", i ? "," : "", before[i].step, qPrintable(before[i].name));
    std::printf("\n");
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    Display display;
    if (!openDisplay(&display)) {
        std::fprintf(stderr, "startup_bench: no X display (run bench/startup_bench.sh)\n");
        return 2;
    }
    const QString bin = QCoreApplication::applicationDirPath();
    const Environment environment;
    const Program zelkora { bin + QStringLiteral("/zelkora"), {} };
    const Program zelkoraQuiet { bin + QStringLiteral("/zelkora"), { QStringLiteral("/quiet") } };
    const Program minimal { bin + QStringLiteral("/startup_minimal"), {} };
    const Program minimalText { bin + QStringLiteral("/startup_minimal"), { QStringLiteral("--text") } };
    const Program zelkoraTraced { bin + QStringLiteral("/zelkora"), {}, true };
    const Program minimalTextTraced { bin + QStringLiteral("/startup_minimal"), { QStringLiteral("--text") }, true };

    // One start of each first, so that both find the libraries in the page cache.
    timeToWindow(display, environment, minimal);
    timeToWindow(display, environment, minimalText);
    timeToWindow(display, environment, zelkora);

    std::vector<double> minimalTimes;
    std::vector<double> minimalTextTimes;
    std::vector<double> zelkoraTimes;
    for (int round = 0; round < Rounds; ++round) {
        minimalTimes.push_back(timeToWindow(display, environment, minimal));
        minimalTextTimes.push_back(timeToWindow(display, environment, minimalText));
        zelkoraTimes.push_back(timeToWindow(display, environment, zelkora));
    }
    const auto failed
        = [](const std::vector<double>& times) { return std::count(times.begin(), times.end(), -1.0) > 0; };
    if (failed(minimalTimes) || failed(minimalTextTimes) || failed(zelkoraTimes)) {
        std::fprintf(stderr, "startup_bench: a program did not show its window\n");
        return 1;
    }
    const double minimalMedian = median(minimalTimes);
    const double minimalTextMedian = median(minimalTextTimes);
    const double zelkoraMedian = median(zelkoraTimes);

    std::vector<QVector<Mark>> zelkoraTraces(Rounds);
    std::vector<QVector<Mark>> minimalTextTraces(Rounds);
    for (int round = 0; round < Rounds; ++round) {
        timeToWindow(display, environment, minimalTextTraced, &minimalTextTraces[round]);
        timeToWindow(display, environment, zelkoraTraced, &zelkoraTraces[round]);
    }

    const Idle minimalIdle = idle(display, environment, minimal, true);
    const Idle zelkoraIdle = idle(display, environment, zelkoraQuiet, false);

    std::printf("start to window shown (median of %d)\n", Rounds);
    std::printf("  minimal Qt Widgets program  %7.1f ms\n", minimalMedian);
    std::printf(
        "  the same with a text field  %7.1f ms   %.2fx\n", minimalTextMedian, minimalTextMedian / minimalMedian);
    const double ratio = zelkoraMedian / minimalTextMedian;
    std::printf("  zelkora                     %7.1f ms   %.2fx   %.2fx the window with a text field\n", zelkoraMedian,
        zelkoraMedian / minimalMedian, ratio);
    std::printf("goal: zelkora at most %.2fx the window with a text field: %.2fx, %s\n", Goal, ratio,
        ratio <= Goal ? "met" : "NOT met");
    printTrace("zelkora", zelkoraTraces);
    printTrace("the window with a text field", minimalTextTraces);
    std::printf("peak memory after %d s idle (VmHWM)\n", IdleMilliseconds / 1000);
    std::printf("  minimal, window shown       %7.1f MiB\n", double(minimalIdle.peakKiB) / 1024);
    std::printf("  zelkora /quiet, in the tray %7.1f MiB   %.2fx (goal at most 2.00x)\n",
        double(zelkoraIdle.peakKiB) / 1024, double(zelkoraIdle.peakKiB) / double(minimalIdle.peakKiB));
    std::printf("browser library in zelkora's memory before any send: %s\n", zelkoraIdle.browserLoaded ? "YES" : "no");
    std::printf("keyring library (libsecret) in zelkora's memory before any use: %s\n",
        zelkoraIdle.keyringLoaded ? "yes" : "no");
    xcb_disconnect(display.connection);
    return zelkoraIdle.browserLoaded ? 1 : 0;
}
