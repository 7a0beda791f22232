#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The HTTP component: one HTTP or HTTPS request at a time, on libcurl. Execute(false) returns at once; a
// worker thread made for the request runs it and raises the events. Every event handler runs on the thread
// the component lives in (the user-interface thread) while the worker waits for it to return, so handlers
// may read the component freely but must not wait for the request to end.
//
// A request raises, as far as they happen: OnResolvingName, OnNameResolved, OnConnectingToServer,
// OnConnectedToServer, OnSendingRequest, OnRequestSent, OnReceivingResponse, OnResponseReceived (with
// OnIntermediateResponse after a 1xx reply and OnRedirect before a redirect is followed), OnNeedAuth or
// OnNeedProxyAuth for a 401 or 407 reply, then for each body chunk OnReceivingResponse, OnResponseReceived and
// OnDataAvailable, OnClosingConnection and OnConnectionClosed when a connection is closed, and last either
// OnRequestComplete (a reply was received; preceded by OnError when reading its body failed) or OnError (no
// reply: the request failed or was cancelled, LastError tells why). The last event is raised after the
// request has ended (Busy is false), so its handler may start the next request.
//
// Handlers are assigned while no request runs. The component must not be deleted from one of its own event
// handlers (use deleteLater()).
class TAdvHttp : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int ConnectTimeout READ ConnectTimeout WRITE setConnectTimeout)
    Q_PROPERTY(bool RaiseExceptions READ RaiseExceptions WRITE setRaiseExceptions)
    Q_PROPERTY(QString UserAgent READ UserAgent WRITE setUserAgent)
    Q_PROPERTY(QString Proxy READ Proxy WRITE setProxy)
    Q_PROPERTY(bool SSL READ SSL WRITE setSSL)
    Q_PROPERTY(QString URL READ URL WRITE setURL)
    Q_PROPERTY(QString URLPath READ URLPath WRITE setURLPath)
    Q_PROPERTY(QString ExtraInfo READ ExtraInfo WRITE setExtraInfo)
    Q_PROPERTY(int Port READ Port WRITE setPort)
    Q_PROPERTY(QString UserName READ UserName WRITE setUserName)
    Q_PROPERTY(QString Password READ Password WRITE setPassword)
    Q_PROPERTY(QString ProxyUserName READ ProxyUserName WRITE setProxyUserName)
    Q_PROPERTY(QString ProxyPassword READ ProxyPassword WRITE setProxyPassword)
    Q_PROPERTY(QString HostName READ HostName WRITE setHostName)
    Q_PROPERTY(bool DefaultUi READ DefaultUi WRITE setDefaultUi)
    Q_PROPERTY(QStringList RequestHeaders READ RequestHeaders WRITE setRequestHeaders)
    Q_PROPERTY(QStringList AcceptTypes READ AcceptTypes WRITE setAcceptTypes)
    Q_PROPERTY(QString Method READ Method WRITE setMethod)
    Q_PROPERTY(QByteArray Text READ Text WRITE setText)
    Q_PROPERTY(int AuthRetries READ AuthRetries WRITE setAuthRetries)
    Q_PROPERTY(TInternetFlags InternetFlags READ InternetFlags WRITE setInternetFlags)

public:
    // The request flags. Each stands for the Internet library flag of the same name; flagWord() gives the
    // combined word. The cache flags have no effect here, as no reply is ever taken from a cache.
    enum TInternetFlag : quint32
    {
        ifCacheIfNetFail = 1u << 0,
        ifDontCache = 1u << 1,
        ifHyperLink = 1u << 2,
        ifIgnoreCertCnInvalid = 1u << 3, // accept a certificate issued for another host name
        ifIgnoreCertDateInvalid = 1u << 4, // accept a certificate outside its validity dates
        ifIgnoreRedirectToHttp = 1u << 5, // follow a redirect from https to http
        ifIgnoreRedirectToHttps = 1u << 6, // follow a redirect from http to https
        ifKeepConnection = 1u << 7, // keep the connection open for the next request
        ifNeedFile = 1u << 8,
        ifNoAuth = 1u << 9, // never answer an authentication demand with UserName and Password
        ifNoAutoRedirect = 1u << 10, // a redirect reply is the reply
        ifNoCacheWrite = 1u << 11,
        ifNoCookies = 1u << 12, // neither send nor keep cookies
        ifNoUi = 1u << 13,
        ifPragmaNoCache = 1u << 14, // send "Pragma: no-cache"
        ifReload = 1u << 15,
        ifResynchronize = 1u << 16,
    };
    Q_DECLARE_FLAGS(TInternetFlags, TInternetFlag)
    Q_FLAG(TInternetFlags)

    using TNotifyEvent = std::function<void(TAdvHttp* sender)>;

    explicit TAdvHttp(QObject* owner = nullptr);
    // Cancels a request in progress (no more events are raised) and waits for its worker to end.
    ~TAdvHttp() override;

    // Starts a request with the current properties. Asynchronous (the program's mode): returns true once the
    // request is under way; its outcome arrives through the events. Synchronous: runs the whole request on
    // the calling thread, raising the events there, and fails when the request fails. A failure raises
    // OnError (unless the component is busy with another request) and then an error when RaiseExceptions is
    // true, or returns false when it is false.
    bool Execute(bool synchronous = false);
    // Stops the request: before its reply arrived it ends with LastError 12017 and OnError; while the body is
    // read it ends at the next chunk with OnRequestComplete and the body read so far.
    void AbortRequest();
    bool Succeeded() const; // StatusCode is 200
    QString ErrorMessage(int code) const;

    int ConnectTimeout() const { return m_connectTimeout; }
    void setConnectTimeout(int milliseconds) { m_connectTimeout = milliseconds; }
    bool RaiseExceptions() const { return m_raiseExceptions; }
    void setRaiseExceptions(bool raise) { m_raiseExceptions = raise; }
    QString UserAgent() const { return m_userAgent; }
    void setUserAgent(const QString& userAgent) { m_userAgent = userAgent; }
    QString Proxy() const { return m_proxy; } // empty: the environment's proxy settings (http_proxy ...)
    void setProxy(const QString& proxy) { m_proxy = proxy; }
    bool SSL() const { return m_ssl; }
    void setSSL(bool ssl);
    QString URL() const { return m_url; }
    // Splits the address into SSL, HostName, Port, URLPath, ExtraInfo and, when it carries them, UserName and
    // Password. An https address turns SSL on and an http address turns it off. Raises an error (and keeps the
    // old address) for an address that cannot be split, or "Invalid protocol" for another scheme, whatever
    // RaiseExceptions says.
    void setURL(const QString& url);
    QString URLPath() const { return m_urlPath; }
    void setURLPath(const QString& path);
    QString ExtraInfo() const { return m_extraInfo; }
    void setExtraInfo(const QString& extraInfo);
    int Port() const { return m_port; }
    void setPort(int port);
    QString UserName() const;
    void setUserName(const QString& userName);
    QString Password() const;
    void setPassword(const QString& password);
    // Proxy credentials; set while a request runs (from OnNeedProxyAuth), they are used by its next send.
    QString ProxyUserName() const;
    void setProxyUserName(const QString& userName);
    QString ProxyPassword() const;
    void setProxyPassword(const QString& password);
    QString HostName() const { return m_hostName; }
    void setHostName(const QString& hostName);
    // Kept for the owner; there is no library authentication dialog here, so credentials for a 401 or 407
    // reply come from UserName and Password, or from the OnNeedAuth and OnNeedProxyAuth handlers.
    bool DefaultUi() const { return m_defaultUi; }
    void setDefaultUi(bool defaultUi) { m_defaultUi = defaultUi; }
    QStringList RequestHeaders() const { return m_requestHeaders; }
    void setRequestHeaders(const QStringList& lines) { m_requestHeaders = lines; }
    QStringList AcceptTypes() const { return m_acceptTypes; }
    void setAcceptTypes(const QStringList& types) { m_acceptTypes = types; }
    QString Method() const { return m_method; }
    void setMethod(const QString& method) { m_method = method; }
    // Read: the reply body up to its first NUL byte. Write: the bytes become the request body.
    QByteArray Text() const;
    void setText(const QByteArray& text);
    int AuthRetries() const { return m_authRetries; }
    void setAuthRetries(int retries) { m_authRetries = retries; }
    TInternetFlags InternetFlags() const { return m_internetFlags; }
    void setInternetFlags(TInternetFlags flags);
    // The Internet library's flag word of InternetFlags (0x00800000 is added for each secure request).
    quint32 flagWord() const { return m_flagWord; }
    static quint32 flagWordOf(TInternetFlags flags);

    // A PEM file of the certificate authorities to trust instead of the system's; empty: the system's.
    QString caCertificates() const { return m_caCertificates; }
    void setCaCertificates(const QString& pemFile) { m_caCertificates = pemFile; }
    // How long a connected request may go without receiving or sending a byte before it fails with 12002;
    // 0 or less waits without limit.
    int receiveTimeout() const { return m_receiveTimeout; }
    void setReceiveTimeout(int milliseconds) { m_receiveTimeout = milliseconds; }

    // The state of the last request.
    int StatusCode() const;
    int LastError() const;
    QString lastErrorDetail() const; // libcurl's own description of the last failure
    QStringList ResponseHeaders() const;
    QByteArray ResponseStream() const;
    QByteArray RequestStream() const;
    QString StatusText() const;
    QString RedirectURL() const;
    qint64 BytesSent() const;
    qint64 BytesReceived() const;
    qint64 BytesRead() const;
    qint64 ChunkSize() const;
    qint64 ChunkOffset() const;
    bool Busy() const { return m_busy.load(); }

    int Tag = 0; // free for the owner

    TNotifyEvent OnClosingConnection;
    TNotifyEvent OnConnectedToServer;
    TNotifyEvent OnConnectingToServer;
    TNotifyEvent OnConnectionClosed;
    TNotifyEvent OnIntermediateResponse;
    TNotifyEvent OnNameResolved;
    TNotifyEvent OnReceivingResponse;
    TNotifyEvent OnResponseReceived;
    TNotifyEvent OnRedirect;
    TNotifyEvent OnRequestComplete;
    TNotifyEvent OnRequestSent;
    TNotifyEvent OnResolvingName;
    TNotifyEvent OnSendingRequest;
    TNotifyEvent OnStateChange; // never raised: libcurl reports no such change
    TNotifyEvent OnDataAvailable;
    TNotifyEvent OnNeedAuth;
    TNotifyEvent OnNeedProxyAuth;
    TNotifyEvent OnError;

private:
    enum class Event
    {
        ClosingConnection,
        ConnectedToServer,
        ConnectingToServer,
        ConnectionClosed,
        IntermediateResponse,
        NameResolved,
        ReceivingResponse,
        ResponseReceived,
        Redirect,
        RequestComplete,
        RequestSent,
        ResolvingName,
        SendingRequest,
        DataAvailable,
        NeedAuth,
        NeedProxyAuth,
        Error,
    };
    struct Request;
    struct Session;
    class Transfer;
    struct Worker;
    struct StartFailure
    {
        int code;
        QString detail = {};
    };

    const TNotifyEvent& handlerOf(Event event) const;
    quint32 assignedEvents() const;
    // Raises the event on the component's thread and waits for its handler; the handler's error is thrown
    // again here. `final` marks a request's last event.
    void raise(Event event, quint32 assigned, bool final = false);
    void callHandler(Event event);
    void rebuildURL();
    void setLastError(int code, const QString& detail = {});
    void closeRequest();
    Request makeRequest() const;
    // Runs a whole request on the current thread and raises its events; returns the handler error to throw
    // again in synchronous mode.
    std::exception_ptr runRequest(const Request& request);
    void reapWorkers(bool all);

    int m_connectTimeout = 30000;
    bool m_raiseExceptions = true;
    QString m_userAgent;
    QString m_proxy;
    bool m_ssl = false;
    QString m_url;
    QString m_urlPath;
    QString m_extraInfo;
    int m_port = 80;
    QString m_hostName;
    bool m_defaultUi = true;
    QStringList m_requestHeaders;
    QStringList m_acceptTypes;
    QString m_method;
    int m_authRetries = 3;
    TInternetFlags m_internetFlags;
    quint32 m_flagWord = 0;
    QString m_caCertificates;
    int m_receiveTimeout = 60000;

    // Credentials may be changed by a handler while the worker prepares a resend.
    mutable std::mutex m_credentialsMutex;
    QString m_userName;
    QString m_password;
    QString m_proxyUserName;
    QString m_proxyPassword;

    // The request's state, written by the thread running the request and read by the owner.
    mutable std::mutex m_stateMutex;
    int m_statusCode = 0;
    int m_lastError = 0;
    QString m_lastErrorDetail;
    QStringList m_responseHeaders;
    QByteArray m_responseStream;
    QByteArray m_requestStream;
    QString m_statusText;
    QString m_redirectUrl;
    qint64 m_bytesSent = 0;
    qint64 m_bytesReceived = 0;
    qint64 m_bytesRead = 0;
    qint64 m_chunkSize = 0;
    qint64 m_chunkOffset = 0;

    std::atomic<bool> m_busy { false };
    std::atomic<bool> m_aborted { false };
    std::atomic<bool> m_destroying { false };

    std::unique_ptr<Session> m_session;
    Transfer* m_transfer = nullptr; // the exchange running now; touched only by the thread that runs it
    std::vector<std::unique_ptr<Worker>> m_workers;

    std::mutex m_eventMutex;
    std::condition_variable m_eventDone;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TAdvHttp::TInternetFlags)
