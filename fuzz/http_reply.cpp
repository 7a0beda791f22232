// What a web site answers the HTTP component: status lines, headers, redirects to anywhere, 1xx replies,
// chunked and cut-off bodies. A server on 127.0.0.1 gives the input as the whole reply to every connection,
// and the component is told to go through it as its proxy, so that a redirect to any other host still only
// reaches that server.

#include "FuzzSupport.h"

#include "net/HttpAddress.h"
#include "net/TAdvHttp.h"

#include <QMutex>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <atomic>
#include <thread>

namespace {
constexpr int MaxRedirects = 20; // as the component follows them

QMutex replyMutex;
QByteArray reply;
std::atomic<int> connections { 0 };
int port = 0;

// For each connection: reads the request's headers (a request that never ends is cut off), writes the reply,
// and closes.
void serve(int listener)
{
    for (;;) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            continue;
        ++connections;
        const timeval wait { 0, 300000 };
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        QByteArray request;
        char buffer[4096];
        for (ssize_t got = 1; got > 0 && !request.contains("\r\n\r\n") && request.size() < 65536;) {
            got = recv(client, buffer, sizeof buffer, 0);
            request.append(buffer, qMax<ssize_t>(got, 0));
        }
        QMutexLocker lock(&replyMutex);
        for (qsizetype sent = 0, put = 1; sent < reply.size() && put > 0; sent += put)
            put = send(client, reply.constData() + sent, reply.size() - sent, MSG_NOSIGNAL);
        lock.unlock();
        shutdown(client, SHUT_WR);
        while (recv(client, buffer, sizeof buffer, MSG_DONTWAIT) > 0) { }
        close(client);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    for (const char* name : { "http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
             "ALL_PROXY", "NO_PROXY" })
        unsetenv(name);
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("loopback server");
        std::abort();
    }
    port = ntohs(address.sin_port);
    std::thread(serve, listener).detach();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QMutexLocker lock(&replyMutex);
        reply = FuzzSupport::bytes(data, size);
    }
    const QString server = QStringLiteral("http://127.0.0.1:%1").arg(port);
    TAdvHttp http;
    http.setRaiseExceptions(false);
    http.setProxy(server);
    http.setConnectTimeout(1000);
    http.setReceiveTimeout(1000);
    http.setURL(server + QStringLiteral("/start"));

    struct
    {
        int redirects = 0;
        int completes = 0;
        int errors = 0;
    } seen;
    http.OnRedirect = [&seen](TAdvHttp* sender) {
        ++seen.redirects;
        const QString scheme = HttpAddress::schemeOf(sender->RedirectURL());
        FUZZ_CHECK(scheme == QLatin1String("http") || scheme == QLatin1String("https"));
        FUZZ_CHECK(seen.redirects <= MaxRedirects + 1);
    };
    http.OnRequestComplete = [&seen](TAdvHttp* sender) {
        ++seen.completes;
        FUZZ_CHECK(!sender->Busy());
    };
    http.OnError = [&seen](TAdvHttp* sender) {
        ++seen.errors;
        FUZZ_CHECK(sender->LastError() != 0);
    };
    connections = 0;
    const bool succeeded = http.Execute(true);

    // The request ended with exactly one last event: the reply (perhaps after an error in its body), or an
    // error instead of one.
    FUZZ_CHECK(!http.Busy());
    FUZZ_CHECK(seen.completes + seen.errors >= 1 && seen.completes <= 1 && seen.errors <= 1);
    FUZZ_CHECK(succeeded == (http.LastError() == 0));
    FUZZ_CHECK(succeeded == (seen.errors == 0));
    // Every redirect and the reply came from the server on 127.0.0.1, one to a connection.
    FUZZ_CHECK(seen.redirects <= MaxRedirects + 1 && seen.redirects + seen.completes <= connections);
    FUZZ_CHECK(http.StatusCode() >= 0 && http.StatusCode() <= 999);
    for (const QString& line : http.ResponseHeaders())
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
    // The body is what the server sent after the headers, never more; nothing is unpacked.
    const QByteArray body = http.ResponseStream();
    FUZZ_CHECK(body.size() <= qsizetype(size) && http.BytesRead() == body.size());
    if (seen.completes == 0)
        FUZZ_CHECK(body.isEmpty());
    return 0;
}
