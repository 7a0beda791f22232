#pragma once

// The component's inside, shared by its two files: the request as it was set up, the libcurl session kept
// from one request to the next, and one transfer from its first send to its reply (TAdvHttpTransfer.cpp).

#include "TAdvHttp.h"

#include "CurlLibrary.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <thread>

namespace AdvHttpInside {
inline const CurlLibrary& curlApi()
{
    return CurlLibrary::api();
}

// The headers of one exchange, in libcurl's list.
struct HeaderList
{
    curl_slist* list = nullptr;
    HeaderList() = default;
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    ~HeaderList()
    {
        if (list)
            curlApi().slist_free_all(list);
    }
    void append(const QByteArray& line) { list = curlApi().slist_append(list, line.constData()); }
};

using Clock = std::chrono::steady_clock;
} // namespace AdvHttpInside

// Everything a request needs, copied from the properties when it starts, so the owner may change them
// while it runs. Only the credentials are read again for each send.
struct TAdvHttp::Request
{
    bool ssl = false;
    QString hostName;
    int port = 80;
    QByteArray url;
    QByteArray method;
    QByteArray body;
    QList<QByteArray> headers;
    TInternetFlags flags;
    int connectTimeout = 0;
    int receiveTimeout = 0;
    int authRetries = 0;
    QByteArray userAgent;
    QByteArray proxy;
    QByteArray caFile;
    quint32 assigned = 0;
};

// What lives from one request to the next: the multi handle keeps the open connections and the name cache,
// the share the cookies and the TLS sessions. Each exchange gets an easy handle of its own.
struct TAdvHttp::Session
{
    CURLM* multi = nullptr;
    CURLSH* share = nullptr;

    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session()
    {
        if (multi)
            AdvHttpInside::curlApi().multi_cleanup(multi);
        if (share)
            AdvHttpInside::curlApi().share_cleanup(share);
    }
};

struct TAdvHttp::Worker
{
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished;
};

// One request from its first send to its reply, across redirects and authentication resends. It lives on the
// thread that runs the request, and libcurl's callbacks reach it through TAdvHttp::m_transfer.
class TAdvHttp::Transfer
{
public:
    struct Exchange
    {
        QByteArray url;
        QByteArray method;
        QByteArray body;
        bool ssl = false;
        bool sendCredentials = true;
    };

    Transfer(TAdvHttp* http, const Request& request)
        : m_http(http)
        , m_request(request)
    {
    }

    // One pass through libcurl: the exchange with its 1xx replies and libcurl's own authentication resend.
    CURLcode run(const Exchange& exchange);
    // The exchange that follows redirectTo; false when that address cannot be used.
    bool followRedirect(Exchange& exchange) const;

    // Raises an event; a handler's error is kept for the end and does not stop the request.
    bool notify(Event event);
    void notifyFinal(Event event);

    // Results of the last run().
    bool finalReply = false; // the reply's headers arrived; its body went to ResponseStream
    int authStatus = 0; // 401 or 407 when the exchange ended with an authentication demand
    QString redirectTo;
    int redirectError = 0;
    bool receiveTimedOut = false;
    bool handlerStoppedBody = false;
    long verifyResult = 0;
    QString errorDetail;
    std::exception_ptr handlerError;

    static int onResolverStart(void* resolverState, void* reserved, void* clientp);
    static curl_socket_t onOpenSocket(void* clientp, curlsocktype purpose, curl_sockaddr* address);
    static int onCloseSocket(void* clientp, curl_socket_t socket);
    static int onPrereq(void* clientp, char* primaryIp, char* localIp, int primaryPort, int localPort);
    static int onDebug(CURL* easy, curl_infotype type, char* data, size_t size, void* clientp);
    static size_t onHeader(char* buffer, size_t size, size_t count, void* clientp);
    static size_t onWrite(char* buffer, size_t size, size_t count, void* clientp);

private:
    enum class BodyMode
    {
        Discard,
        Deliver
    };

    void configure(CURL* easy, const Exchange& exchange, AdvHttpInside::HeaderList& headers, char* errorBuffer);
    void requestSent();
    void endOfHeaders();
    void setStatusText(const QString& text);

    TAdvHttp* m_http;
    const Request& m_request;
    QByteArray m_url; // the address of the running exchange, base of a relative redirect
    CURL* m_easy = nullptr; // the running exchange's handle
    bool m_head = false;

    bool m_resolving = false;
    bool m_resolvedReported = false;
    bool m_opened = false;
    bool m_connectedReported = false;
    bool m_sentReported = false;
    qint64 m_sentBytes = 0;
    qint64 m_bodySent = 0;
    qint64 m_bodySize = 0;
    bool m_connected = false;
    AdvHttpInside::Clock::time_point m_lastActivity;

    bool m_inReply = false;
    qint64 m_replyHeaderBytes = 0;
    int m_replyStatus = 0;
    QStringList m_replyLines;
    QByteArray m_location;
    qint64 m_contentLength = -1;
    BodyMode m_mode = BodyMode::Discard;
};
