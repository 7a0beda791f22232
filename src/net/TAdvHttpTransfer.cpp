// One transfer of the HTTP component through libcurl, on the request's own thread: the options of each
// exchange, libcurl's callbacks turned into the component's events, redirects and authentication resends.
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

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

using namespace InternetErrors;

namespace {
using namespace AdvHttpInside;

// A Content-Length is only a promise; never reserve more than this for it in advance.
constexpr qint64 kMaxReserve = qint64(64) * 1024 * 1024;
constexpr int kPollMilliseconds = 100;
// libcurl's receive buffer, as large as the curl program's; the body still reaches the owner in chunks
// of the component's read size.
constexpr long kReceiveBuffer = 100L * 1024;
constexpr size_t kChunkSize = 16384;

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
} // namespace

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
    m_easy = easy;

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

    // The status libcurl read from the status line is the one the exchange went by; the line itself may say
    // something else ("HTTP/.1 1401" is read as 200).
    long code = 0;
    if (m_easy && curlApi().easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code >= 100
        && code <= 999)
        m_replyStatus = int(code);
    else if (m_replyStatus < 100 || m_replyStatus > 999)
        m_replyStatus = 0;
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
    // A carriage return inside a line ends nothing: it reaches the reply's header lines as a blank.
    line.replace('\r', ' ');

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
