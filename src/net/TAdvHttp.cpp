#include "TAdvHttp.h"

#include "HttpAddress.h"
#include "InternetErrors.h"
#include "common/ErrorReport.h"

#include <QFile>
#include <QMetaObject>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>
#include <QtDebug>

#include "CurlLibrary.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

using namespace InternetErrors;

namespace {
constexpr int kMaxRedirects = 20;
// A Content-Length is only a promise; never reserve more than this for it in advance.
constexpr qint64 kMaxReserve = qint64(64) * 1024 * 1024;
constexpr int kPollMilliseconds = 100;
// libcurl's receive buffer, as large as the curl program's; the body still reaches the owner in chunks
// of the component's read size.
constexpr long kReceiveBuffer = 100L * 1024;
constexpr size_t kChunkSize = 16384;

const CurlLibrary& curlApi()
{
    return CurlLibrary::api();
}

// Installed on each TLS context of a request that ignores certificate dates. The chain and the host name
// are still checked.
CURLcode ignoreCertificateDates(CURL*, void* sslContext, void* openSsl)
{
    const auto* calls = static_cast<const CurlLibrary::OpenSsl*>(openSsl);
    X509_VERIFY_PARAM* param = calls->SSL_CTX_get0_param(static_cast<SSL_CTX*>(sslContext));
    calls->X509_VERIFY_PARAM_set_flags(param, X509_V_FLAG_NO_CHECK_TIME);
    return CURLE_OK;
}

QString addressText(const curl_sockaddr* address)
{
    sockaddr_storage storage {};
    std::memcpy(&storage, &address->addr, std::min<size_t>(address->addrlen, sizeof storage));
    char text[INET6_ADDRSTRLEN] = {};
    if (storage.ss_family == AF_INET) {
        sockaddr_in in {};
        std::memcpy(&in, &storage, sizeof in);
        inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
    } else if (storage.ss_family == AF_INET6) {
        sockaddr_in6 in6 {};
        std::memcpy(&in6, &storage, sizeof in6);
        inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
    }
    return QString::fromLatin1(text);
}

bool isFollowedRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool hasHeader(const QList<QByteArray>& lines, const QByteArray& name)
{
    for (const QByteArray& line : lines) {
        const int colon = line.indexOf(':');
        const int semicolon = line.indexOf(';');
        const int end = colon >= 0 ? colon : semicolon;
        if (end >= 0 && line.left(end).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

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
} // namespace

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
            curlApi().multi_cleanup(multi);
        if (share)
            curlApi().share_cleanup(share);
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

    void configure(CURL* easy, const Exchange& exchange, HeaderList& headers, char* errorBuffer);
    void requestSent();
    void endOfHeaders();
    void setStatusText(const QString& text);

    TAdvHttp* m_http;
    const Request& m_request;
    QByteArray m_url; // the address of the running exchange, base of a relative redirect
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
    Clock::time_point m_lastActivity;

    bool m_inReply = false;
    qint64 m_replyHeaderBytes = 0;
    int m_replyStatus = 0;
    QStringList m_replyLines;
    QByteArray m_location;
    qint64 m_contentLength = -1;
    BodyMode m_mode = BodyMode::Discard;
};

// ---- the component ----------------------------------------------------------------------------------------

TAdvHttp::TAdvHttp(QObject* owner)
    : QObject(owner)
    , m_userAgent(QStringLiteral("Korvex WinInet Component"))
    , m_hostName(QStringLiteral("localhost"))
    , m_method(QStringLiteral("GET"))
{
    // Certificate errors are ignored only when an owner asks for it with the two ifIgnoreCert flags.
    setInternetFlags(ifIgnoreRedirectToHttp | ifIgnoreRedirectToHttps | ifKeepConnection | ifNoUi | ifReload);
}

TAdvHttp::~TAdvHttp()
{
    {
        std::lock_guard<std::mutex> lock(m_eventMutex);
        m_destroying = true;
        m_aborted = true;
    }
    m_eventDone.notify_all();
    if (m_session)
        curlApi().multi_wakeup(m_session->multi);
    reapWorkers(true);
    m_session.reset();
}

quint32 TAdvHttp::flagWordOf(TInternetFlags flags)
{
    static const quint32 words[] = {
        0x00010000, // ifCacheIfNetFail: INTERNET_FLAG_CACHE_IF_NET_FAIL
        0x04000000, // ifDontCache: INTERNET_FLAG_NO_CACHE_WRITE
        0x00000400, // ifHyperLink
        0x00001000, // ifIgnoreCertCnInvalid
        0x00002000, // ifIgnoreCertDateInvalid
        0x00008000, // ifIgnoreRedirectToHttp
        0x00004000, // ifIgnoreRedirectToHttps
        0x00400000, // ifKeepConnection
        0x00000010, // ifNeedFile
        0x00040000, // ifNoAuth
        0x00200000, // ifNoAutoRedirect
        0x04000000, // ifNoCacheWrite
        0x00080000, // ifNoCookies
        0x00000200, // ifNoUi
        0x00000100, // ifPragmaNoCache
        0x80000000, // ifReload
        0x00000800, // ifResynchronize
    };
    quint32 word = 0;
    for (size_t bit = 0; bit < sizeof words / sizeof words[0]; ++bit) {
        if (flags.testFlag(static_cast<TInternetFlag>(1u << bit)))
            word |= words[bit];
    }
    return word;
}

void TAdvHttp::setInternetFlags(TInternetFlags flags)
{
    m_internetFlags = flags;
    m_flagWord = flagWordOf(flags);
}

void TAdvHttp::setURL(const QString& url)
{
    HttpAddress::Parts parts;
    switch (HttpAddress::crack(url, parts)) {
    case HttpAddress::CrackResult::Ok:
        break;
    case HttpAddress::CrackResult::InvalidProtocol:
        throw ZelkoraError(QStringLiteral("Invalid protocol"));
    case HttpAddress::CrackResult::UnrecognizedScheme:
    case HttpAddress::CrackResult::Malformed: {
        // The old address and its parts stay as they were.
        const int code = HttpAddress::schemeOf(url.trimmed()).isEmpty() ? UnrecognizedScheme : InvalidUrl;
        setLastError(code);
        raise(Event::Error, assignedEvents());
        throw ZelkoraError(ErrorMessage(code));
    }
    }
    m_url = url;
    m_ssl = parts.ssl;
    m_hostName = parts.hostName;
    m_port = parts.port;
    m_urlPath = parts.urlPath;
    m_extraInfo = parts.extraInfo;
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    if (parts.hasUserName)
        m_userName = parts.userName;
    if (parts.hasPassword)
        m_password = parts.password;
}

void TAdvHttp::rebuildURL()
{
    m_url = HttpAddress::build(m_ssl, m_hostName, m_port, m_urlPath, m_extraInfo);
}

void TAdvHttp::setSSL(bool ssl)
{
    m_ssl = ssl;
    rebuildURL();
}

void TAdvHttp::setURLPath(const QString& path)
{
    m_urlPath = path;
    rebuildURL();
}

void TAdvHttp::setExtraInfo(const QString& extraInfo)
{
    m_extraInfo = HttpAddress::normalizedExtraInfo(extraInfo);
    rebuildURL();
}

void TAdvHttp::setPort(int port)
{
    m_port = port;
    rebuildURL();
}

void TAdvHttp::setHostName(const QString& hostName)
{
    m_hostName = hostName;
    rebuildURL();
}

QString TAdvHttp::UserName() const
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    return m_userName;
}

void TAdvHttp::setUserName(const QString& userName)
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    m_userName = userName;
}

QString TAdvHttp::Password() const
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    return m_password;
}

void TAdvHttp::setPassword(const QString& password)
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    m_password = password;
}

QString TAdvHttp::ProxyUserName() const
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    return m_proxyUserName;
}

void TAdvHttp::setProxyUserName(const QString& userName)
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    m_proxyUserName = userName;
}

QString TAdvHttp::ProxyPassword() const
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    return m_proxyPassword;
}

void TAdvHttp::setProxyPassword(const QString& password)
{
    std::lock_guard<std::mutex> lock(m_credentialsMutex);
    m_proxyPassword = password;
}

QByteArray TAdvHttp::Text() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    const int nul = m_responseStream.indexOf('\0');
    return nul < 0 ? m_responseStream : m_responseStream.left(nul);
}

void TAdvHttp::setText(const QByteArray& text)
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    m_requestStream = text;
}

bool TAdvHttp::Succeeded() const
{
    return StatusCode() == 200;
}

QString TAdvHttp::ErrorMessage(int code) const
{
    return InternetErrors::message(code);
}

int TAdvHttp::StatusCode() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_statusCode;
}

int TAdvHttp::LastError() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_lastError;
}

QString TAdvHttp::lastErrorDetail() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_lastErrorDetail;
}

QStringList TAdvHttp::ResponseHeaders() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_responseHeaders;
}

QByteArray TAdvHttp::ResponseStream() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_responseStream;
}

QByteArray TAdvHttp::RequestStream() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_requestStream;
}

QString TAdvHttp::StatusText() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_statusText;
}

QString TAdvHttp::RedirectURL() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_redirectUrl;
}

qint64 TAdvHttp::BytesSent() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_bytesSent;
}

qint64 TAdvHttp::BytesReceived() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_bytesReceived;
}

qint64 TAdvHttp::BytesRead() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_bytesRead;
}

qint64 TAdvHttp::ChunkSize() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_chunkSize;
}

qint64 TAdvHttp::ChunkOffset() const
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_chunkOffset;
}

void TAdvHttp::setLastError(int code, const QString& detail)
{
    std::lock_guard<std::mutex> lock(m_stateMutex);
    m_lastError = code;
    m_lastErrorDetail = detail;
}

void TAdvHttp::closeRequest()
{
    m_aborted = false;
    m_busy = false;
}

const TAdvHttp::TNotifyEvent& TAdvHttp::handlerOf(Event event) const
{
    switch (event) {
    case Event::ClosingConnection:
        return OnClosingConnection;
    case Event::ConnectedToServer:
        return OnConnectedToServer;
    case Event::ConnectingToServer:
        return OnConnectingToServer;
    case Event::ConnectionClosed:
        return OnConnectionClosed;
    case Event::IntermediateResponse:
        return OnIntermediateResponse;
    case Event::NameResolved:
        return OnNameResolved;
    case Event::ReceivingResponse:
        return OnReceivingResponse;
    case Event::ResponseReceived:
        return OnResponseReceived;
    case Event::Redirect:
        return OnRedirect;
    case Event::RequestComplete:
        return OnRequestComplete;
    case Event::RequestSent:
        return OnRequestSent;
    case Event::ResolvingName:
        return OnResolvingName;
    case Event::SendingRequest:
        return OnSendingRequest;
    case Event::DataAvailable:
        return OnDataAvailable;
    case Event::NeedAuth:
        return OnNeedAuth;
    case Event::NeedProxyAuth:
        return OnNeedProxyAuth;
    case Event::Error:
        break;
    }
    return OnError;
}

quint32 TAdvHttp::assignedEvents() const
{
    quint32 mask = 0;
    for (int event = 0; event <= static_cast<int>(Event::Error); ++event) {
        if (handlerOf(static_cast<Event>(event)))
            mask |= 1u << event;
    }
    return mask;
}

void TAdvHttp::callHandler(Event event)
{
    const TNotifyEvent handler = handlerOf(event);
    if (handler)
        handler(this);
}

// `final` marks the request's last event: the request is closed on the owner's thread just before its
// handler runs, so nothing the owner does between the two can see a half-ended request.
void TAdvHttp::raise(Event event, quint32 assigned, bool final)
{
    const bool wanted = (assigned & (1u << static_cast<int>(event))) != 0;
    if ((!wanted && !final) || m_destroying)
        return;
    if (QThread::currentThread() == thread()) {
        if (final)
            closeRequest();
        if (wanted)
            callHandler(event);
        return;
    }

    struct Delivery
    {
        bool done = false;
        std::exception_ptr error;
    };
    auto delivery = std::make_shared<Delivery>();
    QMetaObject::invokeMethod(
        this,
        [this, delivery, event, final, wanted] {
            std::exception_ptr error;
            if (final)
                closeRequest();
            if (wanted) {
                try {
                    callHandler(event);
                } catch (...) {
                    error = std::current_exception();
                }
            }
            {
                std::lock_guard<std::mutex> lock(m_eventMutex);
                delivery->error = error;
                delivery->done = true;
            }
            m_eventDone.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock<std::mutex> lock(m_eventMutex);
    m_eventDone.wait(lock, [&] { return delivery->done || m_destroying; });
    if (delivery->error)
        std::rethrow_exception(delivery->error);
}

TAdvHttp::Request TAdvHttp::makeRequest() const
{
    Request request;
    if (m_hostName.trimmed().isEmpty())
        throw StartFailure { InvalidUrl };
    request.ssl = m_ssl;
    request.hostName = m_hostName;
    request.port = m_port;
    request.url = HttpAddress::requestUrl(m_ssl, m_hostName, m_port, m_urlPath, m_extraInfo);
    CURLU* check = curlApi().url();
    const CURLUcode parsed = curlApi().url_set(check, CURLUPART_URL, request.url.constData(), 0);
    curlApi().url_cleanup(check);
    if (parsed != CURLUE_OK)
        throw StartFailure { InvalidUrl };

    request.method = m_method.trimmed().toLatin1();
    if (request.method.isEmpty())
        request.method = "GET";
    request.body = RequestStream();
    request.flags = m_internetFlags;

    // The header text is the lines joined with CR LF, so a line holding a line break is two header lines.
    for (const QString& text : m_requestHeaders) {
        const QStringList lines = text.split(QRegularExpression(QStringLiteral("[\\r\\n]+")), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            if (!line.trimmed().isEmpty())
                request.headers.append(line.toLatin1());
        }
    }
    if (!hasHeader(request.headers, "Accept")) {
        QStringList types;
        for (const QString& type : m_acceptTypes.mid(0, 100)) {
            if (type.isEmpty())
                break;
            types.append(type);
        }
        // Without accept types no Accept header is sent at all.
        request.headers.append(types.isEmpty() ? QByteArray("Accept:") : "Accept: " + types.join(u", ").toLatin1());
    }
    if (m_internetFlags.testFlag(ifPragmaNoCache) && !hasHeader(request.headers, "Pragma"))
        request.headers.append("Pragma: no-cache");
    if (!hasHeader(request.headers, "Expect"))
        request.headers.append("Expect:");
    if (!request.body.isEmpty() && !hasHeader(request.headers, "Content-Type"))
        request.headers.append("Content-Type:");

    request.connectTimeout = m_connectTimeout;
    request.receiveTimeout = m_receiveTimeout;
    request.authRetries = m_authRetries;
    request.userAgent = m_userAgent.toUtf8();
    request.proxy = m_proxy.trimmed().toUtf8();
    request.caFile = QFile::encodeName(m_caCertificates);
    request.assigned = assignedEvents();
    return request;
}

bool TAdvHttp::Execute(bool synchronous)
{
    if (m_busy) {
        // One request at a time: a second start is refused and the running request keeps its state.
        if (m_raiseExceptions)
            throw ZelkoraError(ErrorMessage(IncorrectHandleState));
        return false;
    }
    reapWorkers(false);
    m_busy = true;
    m_aborted = false;
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        m_bytesSent = 0;
        m_bytesReceived = 0;
        m_bytesRead = 0;
        m_chunkSize = 0;
        m_chunkOffset = 0;
        m_responseStream.clear();
        m_lastError = 0;
        m_lastErrorDetail.clear();
    }

    Request request;
    try {
        QString unavailable;
        if (!CurlLibrary::load(&unavailable))
            throw StartFailure { InternalError, unavailable };
        request = makeRequest();
        if (!m_session) {
            auto session = std::make_unique<Session>();
            session->multi = curlApi().multi_init();
            session->share = curlApi().share_init();
            if (!session->multi || !session->share)
                throw StartFailure { InternalError };
            curlApi().share_setopt(session->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
            curlApi().share_setopt(session->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
            m_session = std::move(session);
        }
        if (!synchronous) {
            auto worker = std::make_unique<Worker>();
            worker->finished = std::make_shared<std::atomic<bool>>(false);
            auto finished = worker->finished;
            try {
                // The request is released before the thread says it has finished, so that nothing of it
                // outlives that moment.
                auto shared = std::make_shared<Request>(std::move(request));
                worker->thread = std::thread([this, shared, finished]() mutable {
                    const std::exception_ptr handlerError = runRequest(*shared);
                    shared.reset();
                    if (handlerError) {
                        try {
                            std::rethrow_exception(handlerError);
                        } catch (const std::exception& error) {
                            qWarning("TAdvHttp: an event handler failed: %s", error.what());
                        } catch (...) {
                            qWarning("TAdvHttp: an event handler failed");
                        }
                    }
                    finished->store(true);
                });
            } catch (const std::system_error&) {
                throw StartFailure { AsyncThreadFailed };
            }
            m_workers.push_back(std::move(worker));
            return true;
        }
    } catch (const StartFailure& failure) {
        closeRequest();
        setLastError(failure.code, failure.detail);
        raise(Event::Error, assignedEvents());
        if (m_raiseExceptions)
            throw ZelkoraError(ErrorMessage(failure.code));
        return false;
    }

    const std::exception_ptr handlerError = runRequest(request);
    if (handlerError)
        std::rethrow_exception(handlerError);
    const int error = LastError();
    if (error == 0)
        return true;
    if (m_raiseExceptions)
        throw ZelkoraError(ErrorMessage(error));
    return false;
}

void TAdvHttp::AbortRequest()
{
    if (!m_busy)
        return;
    m_aborted = true;
    if (m_session)
        curlApi().multi_wakeup(m_session->multi);
}

void TAdvHttp::reapWorkers(bool all)
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (all || (*it)->finished->load()) {
            if ((*it)->thread.joinable())
                (*it)->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

std::exception_ptr TAdvHttp::runRequest(const Request& request)
{
    Transfer transfer(this, request);
    Transfer::Exchange exchange;
    exchange.url = request.url;
    exchange.method = request.method;
    exchange.body = request.body;
    exchange.ssl = request.ssl;

    int redirects = 0;
    int authAttempts = 0;
    // A request that got no reply ends with its error and OnError, after the request has been closed.
    const auto fail = [&](int code) {
        setLastError(code, transfer.errorDetail);
        transfer.notifyFinal(Event::Error);
    };
    const auto errorOf
        = [&](CURLcode result) { return transfer.receiveTimedOut ? Timeout : fromCurl(result, transfer.verifyResult); };

    for (;;) {
        const CURLcode result = transfer.run(exchange);
        const bool aborted = m_aborted;

        if (transfer.finalReply) {
            // The reply arrived: whatever happened to its body, the request completes. A stop asked for by the
            // owner (AbortRequest, a failing OnDataAvailable handler) is not an error.
            if (result != CURLE_OK && !aborted && !transfer.handlerStoppedBody) {
                setLastError(errorOf(result), transfer.errorDetail);
                transfer.notify(Event::Error);
            }
            transfer.notifyFinal(Event::RequestComplete);
            break;
        }
        if (aborted) {
            fail(OperationCancelled);
            break;
        }
        if (result != CURLE_OK && transfer.authStatus == 0) {
            fail(errorOf(result));
            break;
        }
        if (transfer.redirectError != 0) {
            fail(transfer.redirectError);
            break;
        }
        if (!transfer.redirectTo.isEmpty()) {
            if (++redirects > kMaxRedirects || !transfer.followRedirect(exchange)) {
                fail(HttpRedirectFailed);
                break;
            }
            continue;
        }
        if (transfer.authStatus != 0) {
            transfer.notify(transfer.authStatus == 407 ? Event::NeedProxyAuth : Event::NeedAuth);
            if (authAttempts < request.authRetries && !m_aborted) {
                ++authAttempts;
                continue;
            }
            // The demand was not met within AuthRetries resends: the request is cancelled.
            fail(OperationCancelled);
            break;
        }
        fail(HttpInvalidServerResponse);
        break;
    }
    return transfer.handlerError;
}

// ---- one transfer ---------------------------------------------------------------------------------------

bool TAdvHttp::Transfer::notify(Event event)
{
    try {
        m_http->raise(event, m_request.assigned);
        return true;
    } catch (...) {
        if (!handlerError)
            handlerError = std::current_exception();
        return false;
    }
}

void TAdvHttp::Transfer::notifyFinal(Event event)
{
    try {
        m_http->raise(event, m_request.assigned, true);
    } catch (...) {
        if (!handlerError)
            handlerError = std::current_exception();
    }
}

void TAdvHttp::Transfer::setStatusText(const QString& text)
{
    std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
    m_http->m_statusText = text;
}

void TAdvHttp::Transfer::configure(CURL* easy, const Exchange& exchange, HeaderList& headers, char* errorBuffer)
{
    void* self = m_http;
    curlApi().easy_setopt(easy, CURLOPT_SHARE, m_http->m_session->share);
    curlApi().easy_setopt(easy, CURLOPT_URL, exchange.url.constData());
    curlApi().easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curlApi().easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curlApi().easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curlApi().easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curlApi().easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    curlApi().easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L); // redirects are followed by the request itself
    curlApi().easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curlApi().easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    if (!m_request.userAgent.isEmpty())
        curlApi().easy_setopt(easy, CURLOPT_USERAGENT, m_request.userAgent.constData());
    if (m_request.connectTimeout > 0)
        curlApi().easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(m_request.connectTimeout));

    {
        std::lock_guard<std::mutex> lock(m_http->m_credentialsMutex);
        if (!m_request.proxy.isEmpty())
            curlApi().easy_setopt(easy, CURLOPT_PROXY, m_request.proxy.constData());
        // Also for a proxy taken from the environment.
        if (!m_http->m_proxyUserName.isEmpty()) {
            curlApi().easy_setopt(easy, CURLOPT_PROXYUSERNAME, m_http->m_proxyUserName.toUtf8().constData());
            curlApi().easy_setopt(easy, CURLOPT_PROXYPASSWORD, m_http->m_proxyPassword.toUtf8().constData());
            curlApi().easy_setopt(easy, CURLOPT_PROXYAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST | CURLAUTH_NTLM);
        }
        // Credentials go only to the server the request was made for, never to one it was redirected to.
        if (exchange.sendCredentials && !m_request.flags.testFlag(ifNoAuth) && !m_http->m_userName.isEmpty()) {
            curlApi().easy_setopt(easy, CURLOPT_USERNAME, m_http->m_userName.toUtf8().constData());
            curlApi().easy_setopt(easy, CURLOPT_PASSWORD, m_http->m_password.toUtf8().constData());
            curlApi().easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST | CURLAUTH_NTLM);
        }
    }

    curlApi().easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curlApi().easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, m_request.flags.testFlag(ifIgnoreCertCnInvalid) ? 0L : 2L);
    if (!m_request.caFile.isEmpty())
        curlApi().easy_setopt(easy, CURLOPT_CAINFO, m_request.caFile.constData());
    const bool keep = m_request.flags.testFlag(ifKeepConnection);
    // Only OpenSSL lets the date rule go while the chain is still checked; with another TLS library the
    // certificate is checked in full.
    const CurlLibrary::OpenSsl* openSsl
        = m_request.flags.testFlag(ifIgnoreCertDateInvalid) ? CurlLibrary::openSsl() : nullptr;
    if (openSsl) {
        curlApi().easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &ignoreCertificateDates);
        curlApi().easy_setopt(easy, CURLOPT_SSL_CTX_DATA, openSsl);
        // A connection or TLS session accepted without its dates must not serve a later, stricter request.
        curlApi().easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
        curlApi().easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
        curlApi().easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    } else if (!keep) {
        curlApi().easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    }
    if (!m_request.flags.testFlag(ifNoCookies))
        curlApi().easy_setopt(easy, CURLOPT_COOKIEFILE, "");

    const QByteArray& method = exchange.method;
    if (method == "HEAD") {
        curlApi().easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else if (method == "GET" && exchange.body.isEmpty()) {
        curlApi().easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        if (method == "POST" || !exchange.body.isEmpty()) {
            curlApi().easy_setopt(easy, CURLOPT_POST, 1L);
            curlApi().easy_setopt(easy, CURLOPT_POSTFIELDS, exchange.body.constData());
            curlApi().easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(exchange.body.size()));
        }
        if (method != "POST")
            curlApi().easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.constData());
    }
    for (const QByteArray& line : m_request.headers)
        headers.append(line);
    curlApi().easy_setopt(easy, CURLOPT_HTTPHEADER, headers.list);

    curlApi().easy_setopt(easy, CURLOPT_RESOLVER_START_FUNCTION, &Transfer::onResolverStart);
    curlApi().easy_setopt(easy, CURLOPT_RESOLVER_START_DATA, self);
    curlApi().easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &Transfer::onOpenSocket);
    curlApi().easy_setopt(easy, CURLOPT_OPENSOCKETDATA, self);
    curlApi().easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &Transfer::onCloseSocket);
    curlApi().easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, self);
    curlApi().easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::onPrereq);
    curlApi().easy_setopt(easy, CURLOPT_PREREQDATA, self);
    curlApi().easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curlApi().easy_setopt(easy, CURLOPT_HEADERDATA, self);
    curlApi().easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onWrite);
    curlApi().easy_setopt(easy, CURLOPT_WRITEDATA, self);
    // The debug stream is where libcurl tells when the request's bytes went out.
    curlApi().easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &Transfer::onDebug);
    curlApi().easy_setopt(easy, CURLOPT_DEBUGDATA, self);
    curlApi().easy_setopt(easy, CURLOPT_VERBOSE, 1L);
}

CURLcode TAdvHttp::Transfer::run(const Exchange& exchange)
{
    finalReply = false;
    authStatus = 0;
    redirectTo.clear();
    redirectError = 0;
    receiveTimedOut = false;
    handlerStoppedBody = false;
    verifyResult = 0;
    errorDetail.clear();
    m_url = exchange.url;
    m_head = exchange.method == "HEAD";
    m_resolving = false;
    m_resolvedReported = false;
    m_opened = false;
    m_connectedReported = false;
    m_connected = false;
    m_inReply = false;
    m_bodySize = exchange.body.size();
    m_mode = BodyMode::Discard;

    CURL* easy = curlApi().easy_init();
    if (!easy)
        return CURLE_OUT_OF_MEMORY;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    HeaderList headers;
    configure(easy, exchange, headers, errorBuffer);

    CURLM* multi = m_http->m_session->multi;
    m_http->m_transfer = this;
    curlApi().multi_add_handle(multi, easy);
    CURLcode result = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curlApi().multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        bool done = false;
        int left = 0;
        while (CURLMsg* message = curlApi().multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
                result = message->data.result;
                done = true;
            }
        }
        if (done || running == 0)
            break;
        if (m_http->m_aborted) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (m_connected && m_request.receiveTimeout > 0
            && Clock::now() - m_lastActivity > std::chrono::milliseconds(m_request.receiveTimeout)) {
            receiveTimedOut = true;
            result = CURLE_OPERATION_TIMEDOUT;
            break;
        }
        curlApi().multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    }

    long connectCode = 0;
    curlApi().easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectCode);
    if (result != CURLE_OK && !finalReply) {
        // A failed exchange is no authentication demand, unless the proxy refused its tunnel for want of
        // credentials.
        authStatus = connectCode == 407 ? 407 : 0;
        if (authStatus != 0) {
            std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
            m_http->m_statusCode = 407;
        }
    }
    curlApi().easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    errorDetail = QString::fromUtf8(errorBuffer);
    // Removing an unfinished transfer closes its connection; the close is still this request's.
    curlApi().multi_remove_handle(multi, easy);
    curlApi().easy_cleanup(easy);
    m_http->m_transfer = nullptr;
    return result;
}

bool TAdvHttp::Transfer::followRedirect(Exchange& exchange) const
{
    HttpAddress::Parts parts;
    if (HttpAddress::crack(redirectTo, parts) != HttpAddress::CrackResult::Ok)
        return false;
    const int status = m_replyStatus;
    exchange.url = HttpAddress::requestUrl(parts.ssl, parts.hostName, parts.port, parts.urlPath, parts.extraInfo);
    exchange.sendCredentials = exchange.sendCredentials && parts.ssl == m_request.ssl
        && parts.hostName.compare(m_request.hostName, Qt::CaseInsensitive) == 0 && parts.port == m_request.port;
    exchange.ssl = parts.ssl;
    // As browsers do: only 307 and 308 send the body again; 303 turns any method but HEAD into GET, and 301
    // and 302 turn a POST into GET.
    if (status != 307 && status != 308) {
        exchange.body.clear();
        if ((status == 303 && exchange.method != "HEAD") || exchange.method == "POST")
            exchange.method = "GET";
    }
    return true;
}

void TAdvHttp::Transfer::requestSent()
{
    if (m_sentReported)
        return;
    m_sentReported = true;
    {
        std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
        m_http->m_bytesSent = m_sentBytes;
    }
    notify(Event::RequestSent);
}

void TAdvHttp::Transfer::endOfHeaders()
{
    m_inReply = false;
    {
        std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
        m_http->m_bytesReceived += m_replyHeaderBytes;
    }
    notify(Event::ResponseReceived);

    const int status = m_replyStatus;
    m_mode = BodyMode::Discard;
    if (status >= 100 && status < 200) {
        notify(Event::IntermediateResponse);
        return;
    }
    if (isFollowedRedirect(status) && !m_location.isEmpty() && !m_request.flags.testFlag(ifNoAutoRedirect)) {
        const QUrl base = QUrl::fromEncoded(m_url);
        const QUrl location = QUrl::fromEncoded(m_location.trimmed());
        const QString target = location.isRelative() ? base.resolved(location).toString(QUrl::FullyEncoded)
                                                     : QString::fromLatin1(m_location.trimmed());
        const QString scheme = HttpAddress::schemeOf(target);
        const bool fromSsl = m_url.startsWith("https:");
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            redirectError = RedirectSchemeChange;
        else if (fromSsl && scheme == QLatin1String("http") && !m_request.flags.testFlag(ifIgnoreRedirectToHttp))
            redirectError = HttpsToHttpOnRedir;
        else if (!fromSsl && scheme == QLatin1String("https") && !m_request.flags.testFlag(ifIgnoreRedirectToHttps))
            redirectError = HttpToHttpsOnRedir;
        if (redirectError == 0) {
            redirectTo = target;
            {
                std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
                m_http->m_redirectUrl = target;
            }
            notify(Event::Redirect);
        }
        return;
    }

    {
        std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
        m_http->m_statusCode = status;
    }
    if (status == 401 || status == 407) {
        // libcurl may answer the demand itself with UserName and Password; the reply after that decides.
        authStatus = status;
        return;
    }
    authStatus = 0;
    finalReply = true;
    m_mode = BodyMode::Deliver;
    std::lock_guard<std::mutex> lock(m_http->m_stateMutex);
    m_http->m_responseHeaders = m_replyLines;
    if (m_contentLength > 0 && !m_head)
        m_http->m_responseStream.reserve(static_cast<qsizetype>(std::min(m_contentLength, kMaxReserve)));
}

int TAdvHttp::Transfer::onResolverStart(void*, void*, void* clientp)
{
    auto* http = static_cast<TAdvHttp*>(clientp);
    Transfer* transfer = http->m_transfer;
    if (transfer) {
        transfer->m_resolving = true;
        transfer->notify(Event::ResolvingName);
    }
    return http->m_aborted ? 1 : 0;
}

curl_socket_t TAdvHttp::Transfer::onOpenSocket(void* clientp, curlsocktype purpose, curl_sockaddr* address)
{
    auto* http = static_cast<TAdvHttp*>(clientp);
    Transfer* transfer = http->m_transfer;
    if (transfer && purpose == CURLSOCKTYPE_IPCXN) {
        const QString ip = addressText(address);
        if (transfer->m_resolving && !transfer->m_resolvedReported) {
            transfer->m_resolvedReported = true;
            transfer->setStatusText(ip);
            transfer->notify(Event::NameResolved);
        }
        transfer->setStatusText(ip);
        transfer->notify(Event::ConnectingToServer);
        transfer->m_opened = true;
        transfer->m_connectedReported = false;
        if (http->m_aborted)
            return CURL_SOCKET_BAD;
    }
    return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

int TAdvHttp::Transfer::onCloseSocket(void* clientp, curl_socket_t socket)
{
    auto* http = static_cast<TAdvHttp*>(clientp);
    Transfer* transfer = http->m_transfer;
    // Only a connection that was made is reported closed, not an address that could not be reached.
    sockaddr_storage peer {};
    socklen_t length = sizeof peer;
    const bool connected = ::getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &length) == 0;
    if (transfer && connected)
        transfer->notify(Event::ClosingConnection);
    const int result = ::close(socket);
    if (transfer && connected)
        transfer->notify(Event::ConnectionClosed);
    return result;
}

int TAdvHttp::Transfer::onPrereq(void* clientp, char* primaryIp, char*, int, int)
{
    auto* http = static_cast<TAdvHttp*>(clientp);
    Transfer* transfer = http->m_transfer;
    if (!transfer)
        return CURL_PREREQFUNC_OK;
    // Called for every send; a connection opened for this send is reported connected first.
    if (transfer->m_opened && !transfer->m_connectedReported) {
        transfer->m_connectedReported = true;
        transfer->setStatusText(QString::fromLatin1(primaryIp));
        transfer->notify(Event::ConnectedToServer);
    }
    transfer->m_connected = true;
    transfer->m_lastActivity = Clock::now();
    transfer->m_sentReported = false;
    transfer->m_sentBytes = 0;
    transfer->m_bodySent = 0;
    transfer->notify(Event::SendingRequest);
    return http->m_aborted ? CURL_PREREQFUNC_ABORT : CURL_PREREQFUNC_OK;
}

int TAdvHttp::Transfer::onDebug(CURL*, curl_infotype type, char*, size_t size, void* clientp)
{
    Transfer* transfer = static_cast<TAdvHttp*>(clientp)->m_transfer;
    if (!transfer)
        return 0;
    switch (type) {
    case CURLINFO_HEADER_OUT:
        transfer->m_lastActivity = Clock::now();
        transfer->m_sentBytes += static_cast<qint64>(size);
        if (transfer->m_bodySize == 0)
            transfer->requestSent();
        break;
    case CURLINFO_DATA_OUT:
        transfer->m_lastActivity = Clock::now();
        transfer->m_sentBytes += static_cast<qint64>(size);
        transfer->m_bodySent += static_cast<qint64>(size);
        if (transfer->m_bodySent >= transfer->m_bodySize)
            transfer->requestSent();
        break;
    case CURLINFO_HEADER_IN:
    case CURLINFO_DATA_IN:
    case CURLINFO_SSL_DATA_IN:
    case CURLINFO_SSL_DATA_OUT:
        transfer->m_lastActivity = Clock::now();
        break;
    default:
        break;
    }
    return 0;
}

size_t TAdvHttp::Transfer::onHeader(char* buffer, size_t size, size_t count, void* clientp)
{
    auto* http = static_cast<TAdvHttp*>(clientp);
    Transfer* transfer = http->m_transfer;
    const size_t length = size * count;
    if (!transfer)
        return length;
    if (http->m_aborted)
        return 0;

    QByteArray line(buffer, static_cast<qsizetype>(length));
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);

    if (!transfer->m_inReply) {
        transfer->m_inReply = true;
        transfer->m_replyHeaderBytes = 0;
        transfer->m_replyLines.clear();
        transfer->m_location.clear();
        transfer->m_contentLength = -1;
        transfer->m_replyStatus = 0;
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 2)
            transfer->m_replyStatus = words.at(1).toInt();
        transfer->requestSent(); // a reply before the whole body went out still follows its request
        transfer->notify(Event::ReceivingResponse);
    }
    transfer->m_replyHeaderBytes += static_cast<qint64>(length);
    if (line.isEmpty()) {
        transfer->endOfHeaders();
    } else {
        const int colon = line.indexOf(':');
        if (colon > 0) {
            const QByteArray name = line.left(colon).trimmed().toLower();
            if (name == "location")
                transfer->m_location = line.mid(colon + 1).trimmed();
            else if (name == "content-length")
                transfer->m_contentLength = line.mid(colon + 1).trimmed().toLongLong();
        }
        transfer->m_replyLines.append(QString::fromLatin1(line));
    }
    return http->m_aborted ? 0 : length;
}

size_t TAdvHttp::Transfer::onWrite(char* buffer, size_t size, size_t count, void* clientp)
{
    auto* http = static_cast<TAdvHttp*>(clientp);
    Transfer* transfer = http->m_transfer;
    const size_t length = size * count;
    if (http->m_aborted)
        return 0;
    if (!transfer || transfer->m_mode != BodyMode::Deliver)
        return length;

    // libcurl reads in large blocks; the owner sees the body in chunks of at most kChunkSize, each one
    // a turn of the read loop that an abort or a failing handler ends.
    for (size_t offset = 0; offset < length; offset += kChunkSize) {
        const auto piece = static_cast<qsizetype>(std::min(kChunkSize, length - offset));
        transfer->notify(Event::ReceivingResponse);
        {
            std::lock_guard<std::mutex> lock(http->m_stateMutex);
            http->m_bytesReceived += piece;
        }
        transfer->notify(Event::ResponseReceived);
        {
            std::lock_guard<std::mutex> lock(http->m_stateMutex);
            http->m_chunkOffset = http->m_responseStream.size();
            http->m_responseStream.append(buffer + offset, piece);
            http->m_chunkSize = piece;
            http->m_bytesRead += piece;
        }
        if (!transfer->notify(Event::DataAvailable)) {
            transfer->handlerStoppedBody = true;
            return 0;
        }
        if (http->m_aborted)
            return 0;
    }
    return length;
}
