#pragma once

#include "service/ProviderCache.h"

#include "ServiceConnectionHost.h"
#include "net/TAdvHttp.h"
#include "service/ServiceHost.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class ServiceState;

// The main window's service connection: the initialisation request that fetches the definitions, the
// periodic statistics report, and the one HTTP component they share with the banner downloads. The main
// window owns it together with the ServiceState it works on; the connection makes itself that state's host,
// so the service tags reach the window through the ServiceConnectionHost.
//
// Everything runs on the user-interface thread: timers, the component's events and the posted completion
// messages. One request is in flight at a time; isHttpIdle() says whether the component is free, and every
// request is started through the connection.
class ServiceConnection : public QObject, public ServiceHost
{
    Q_OBJECT

public:
    enum TRequestKind
    {
        rkInit = 0,
        rkStats = 1,
        rkBanner = 2
    };

    // `host` null: ServiceConnectionHost::fallback(). Reads the connect time-out from SMS.INI, the
    // installation type from the machine's registry and the local address, as startUp() does again.
    explicit ServiceConnection(ServiceState& state, ServiceConnectionHost* host = nullptr, QObject* parent = nullptr);
    // Stops the timers and any request in flight; the state gets its default host back.
    ~ServiceConnection() override;

    ServiceState& state() const { return m_state; }
    ServiceConnectionHost* host() const { return m_host; }

    // The service's part of the main window's creation: what the constructor reads, then the provider cache,
    // `loadBannerTable` (the banner table from adcache.dat, so that its list wins over the cache's), the
    // credentials, connection state 0 and the first initialisation tick one second later. The first three
    // may fail without stopping the last two.
    void startUp(const std::function<void()>& loadBannerTable = {});
    // Connection state 0 and the first initialisation tick one second later (the end of startUp).
    void startRequests();
    // The settings name another service address: its definitions are asked for at the next tick, soon.
    void serviceAddressChanged();
    // While held (a send command runs), no initialisation request starts: the timer stays off, whatever
    // ends meanwhile, and is enabled again on release. An interval of 0 or below never runs a timer.
    void hold(bool held);
    bool held() const { return m_held; }
    // Reads the definitions again when providers.dat or providers.d changed on disk since they were last read
    // or written here (zelkora-cli refreshed them, the user added a definition); before every send.
    void reloadChangedDefinitions();
    // Stops both timers and any request in flight; nothing of the connection runs on afterwards.
    void stop();

    void InitTimerTimer();
    void StatsTimerTimer();
    void HTTPConnectingToServer(TAdvHttp* sender);
    void HTTPConnect();
    void HTTPRequestComplete(TAdvHttp* sender);
    void HTTPError(TAdvHttp* sender);
    void HTTPSuccess();
    // The reply handling itself, on the reply's text (the body up to its first NUL byte), for a request of that
    // kind.
    void HTTPSuccess(TRequestKind kind, const QByteArray& text);
    void HTTPFailure();
    // UM_INITDONE: the initialisation attempt is over, whatever its outcome.
    void finishInit();
    // UM_STATSDONE: a statistics report is over; counts it did not settle are kept for the next one.
    void finishStats();
    void openHomePage();
    void openOnlineHelp();

    // For the banner rotation: whether the component is free (taken under ServiceLock).
    bool isHttpIdle() const;
    // Starts the download of a banner picture when the component is free; false when another request is in
    // flight or the download could not be started. Its end is bannerLoaded(), after which
    // bannerReplyStatus() and bannerReply() tell the outcome (status 0 when no reply came).
    bool StartBannerDownload(const QString& url);
    int bannerReplyStatus() const { return m_bannerStatus; }
    QByteArray bannerReply() const { return m_bannerReply; }

    // ServiceHost: what the service tags do to the window.
    void showMessage(const QString& text) override;
    void areaDefsChanged() override;
    void setOnlineHelpEnabled(bool enabled) override;
    void setConnectionState(ConnectionState state) override;
    void finished() override;
    // Shown once in an information box, posted so that it never holds up start-up or a reply; the same set
    // of problems is not shown again in this run.
    void localDefinitionsReport(const QStringList& lines) override;
    // A local definition file was written or removed: the provider list is built again from the files and
    // the service's definitions, with the credentials SMS.INI holds.
    void localDefinitionsChanged();

    // No service document or banner picture comes near this; a reply that goes past it (a server that
    // streams without end) is stopped and counts as a failed request.
    static constexpr qint64 MaxReplySize = ProviderCache::MaxDocumentSize;

    TAdvHttp HTTP;

    // The first tick one second after start-up, then every InitInterval; 5000 ms while it must wait.
    const QTimer& initTimer() const { return m_initTimer; }
    // Started by FINISHED at 3000 ms, then every StatisticsInterval; 5000 ms while it must wait.
    const QTimer& statsTimer() const { return m_statsTimer; }
    // A live document arrived up to FINISHED and the local address has not changed since.
    bool initialised() const { return m_initialised; }
    // The local address when the last initialisation ended, and the installation type the statistics carry.
    QString lastIP() const { return m_lastIP; }
    QString installType() const { return m_installType; }

signals:
    void initDone();
    void statsDone();
    // A banner download ended (UM_BANNERLOADED): bannerReplyStatus() and bannerReply() tell how.
    void bannerLoaded();

protected:
    bool event(QEvent* event) override;

private:
    // Whether a service address is in force; the first time there is none, the diagnostic output says so.
    static bool serviceConfigured();
    // The lamp while the service gives nothing: 1 with usable definitions (stored or the user's own), else 0.
    ConnectionState stateWithoutService() const;
    bool isInitialisationReply() const;
    // Sets the request up and starts it; HttpIdle is already false or becomes so. A request that cannot be
    // started is finished here as a failed one, unless the component reported the failure itself.
    bool startRequest(TRequestKind kind, const QString& url);
    // Posts the completion message of RequestKind and frees the component.
    void finishRequest();
    void setHttpIdle(bool idle);
    // The connect time-out, the installation type and the local address.
    void readSetup();
    QObject* messageReceiver();
    // Enables InitTimer at its interval unless the requests are held.
    void enableInit();
    // The sizes and times of providers.dat and of the files in providers.d.
    static QString definitionFilesStamp();

    ServiceState& m_state;
    ServiceConnectionHost* m_host;
    quint64 m_completions = 0; // requests finished through the component's events, for startRequest
    bool m_replyTooLarge = false; // the request in flight was stopped at MaxReplySize
    // The first tick one second after start-up, then every InitInterval.
    QTimer m_initTimer;
    QTimer m_statsTimer;
    mutable QMutex m_lock;
    bool m_httpIdle = true; // read and written only while holding m_lock
    TRequestKind m_requestKind = rkInit;
    bool m_initialised = false;
    QString m_lastIP;
    QString m_installType;
    bool m_held = false;
    int m_bannerStatus = 0;
    QByteArray m_bannerReply;
    // definitionFilesStamp() when this program last read or wrote the definitions' files.
    QString m_filesStamp;
};
