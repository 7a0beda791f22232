#include "TAdvHttp.h"
#include "TAdvHttpTransfer.h"

#include "HttpAddress.h"
#include "InternetErrors.h"
#include "common/ErrorReport.h"

#include <QFile>
#include <QMetaObject>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>
#include <QtDebug>

using namespace InternetErrors;

namespace {
using namespace AdvHttpInside;

constexpr int kMaxRedirects = 20;

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
} // namespace

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
