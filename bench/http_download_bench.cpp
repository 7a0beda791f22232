// Downloads the same 50 MB body from a loopback server through TAdvHttp and through the curl program, in
// turns within one run, and prints the times and their ratio. The component's handlers are those of the main
// window (connecting, complete, error); a second line adds an OnDataAvailable handler, which costs one
// round trip to this thread per 16 KB chunk.
//
//   http_download_bench [rounds] [megabytes]

#include "LoopbackHttpServer.h"
#include "net/TAdvHttp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds for one download through the component, or -1 when it failed.
double componentDownload(const QString& url, qint64 size, bool dataHandler)
{
    TAdvHttp http;
    QEventLoop loop;
    bool ok = false;
    int chunks = 0;
    http.OnConnectingToServer = [](TAdvHttp*) {};
    http.OnError = [&](TAdvHttp*) { loop.quit(); };
    http.OnRequestComplete = [&](TAdvHttp* sender) {
        ok = sender->Succeeded() && sender->ResponseStream().size() == size;
        loop.quit();
    };
    if (dataHandler)
        http.OnDataAvailable = [&](TAdvHttp*) { ++chunks; };
    http.setRaiseExceptions(false);
    http.setURL(url);
    QElapsedTimer clock;
    clock.start();
    if (!http.Execute())
        return -1;
    loop.exec();
    const double elapsed = clock.nsecsElapsed() / 1e6;
    return ok ? elapsed : -1;
}

// Milliseconds for the curl program, process start included, or -1 when it failed.
double curlDownload(const QString& curl, const QString& url, qint64 size)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(curl,
        { QStringLiteral("-s"), QStringLiteral("--noproxy"), QStringLiteral("*"), QStringLiteral("-o"),
            QStringLiteral("/dev/null"), QStringLiteral("-w"), QStringLiteral("%{size_download}"), url });
    process.waitForFinished(120000);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
        && process.readAllStandardOutput().trimmed().toLongLong() == size;
    return ok ? elapsed : -1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const char* name : { "http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy" })
        qunsetenv(name);
    const QStringList args = app.arguments();
    const int rounds = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 5;
    const qint64 size = (args.size() > 2 ? std::max(1, args.at(2).toInt()) : 50) * qint64(1024 * 1024);

    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty()) {
        std::fprintf(stderr, "http_download_bench: the curl program is not installed\n");
        return 1;
    }
    QByteArray body(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        body[i] = static_cast<char>(i * 131 % 251);
    LoopbackHttpServer server([&](const LoopbackHttpServer::Request&) {
        LoopbackHttpServer::Reply reply;
        reply.body = body;
        return reply;
    });
    if (!server.start()) {
        std::fprintf(stderr, "http_download_bench: the loopback server cannot listen\n");
        return 1;
    }
    const QString url = server.url(QStringLiteral("/body"));

    std::vector<double> component, withData, program;
    for (int round = 0; round < rounds; ++round) {
        const double a = componentDownload(url, size, false);
        const double b = curlDownload(curl, url, size);
        const double c = componentDownload(url, size, true);
        if (a < 0 || b < 0 || c < 0) {
            std::fprintf(stderr, "http_download_bench: a download failed in round %d\n", round + 1);
            return 1;
        }
        component.push_back(a);
        program.push_back(b);
        withData.push_back(c);
        std::printf(
            "round %d: TAdvHttp %.1f ms, curl %.1f ms, TAdvHttp with OnDataAvailable %.1f ms\n", round + 1, a, b, c);
    }
    const double mc = median(component), mp = median(program), md = median(withData);
    std::printf("%lld MB, median of %d rounds:\n", static_cast<long long>(size / (1024 * 1024)), rounds);
    std::printf("  curl program                 %8.1f ms  %7.1f MB/s\n", mp, size / 1048576.0 / (mp / 1000));
    std::printf("  TAdvHttp                     %8.1f ms  %7.1f MB/s  ratio %.2f (goal: at most 2.00)\n", mc,
        size / 1048576.0 / (mc / 1000), mc / mp);
    std::printf("  TAdvHttp + OnDataAvailable   %8.1f ms  %7.1f MB/s  ratio %.2f\n", md, size / 1048576.0 / (md / 1000),
        md / mp);
    return 0;
}
