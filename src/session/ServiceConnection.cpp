#include "ServiceConnection.h"

#include "common/AppPaths.h"
#include "common/ErrorReport.h"
#include "common/Messages.h"
#include "common/TimerInterval.h"
#include "common/WebAddress.h"
#include "service/LocalDefinitions.h"
#include "service/ServiceRequests.h"
#include "service/ServiceState.h"
#include "settings/Credentials.h"
#include "settings/ProgramSettings.h"
#include "settings/SmsIni.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <limits>

namespace {
constexpr int FirstInitDelay = 1000;
constexpr int FirstStatsDelay = 3000;
constexpr int FirstBannerDelay = 4000;
constexpr int RetryDelay = 5000;

// A timer whose interval is 0 or less stays off rather than firing on every turn of the event loop; an
// interval of 0 from the service thus stops the repetition. Enabling a running timer leaves it running.
void enable(QTimer& timer)
{
    if (timer.interval() > 0 && !timer.isActive())
        timer.start();
}

void restart(QTimer& timer, int milliseconds)
{
    timer.stop();
    timer.setInterval(milliseconds);
    enable(timer);
}

} // namespace

ServiceConnection::ServiceConnection(ServiceState& state, ServiceConnectionHost* host, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_host(host ? host : ServiceConnectionHost::fallback())
{
    HTTP.setObjectName(QStringLiteral("HTTP"));
    m_initTimer.setObjectName(QStringLiteral("InitTimer"));
    m_statsTimer.setObjectName(QStringLiteral("StatsTimer"));

    // A service reached over https is verified in full: the two flags that forgive a certificate issued for
    // another name or outside its dates stay off, or any holder of some other site's certificate could feed
    // the program provider definitions that send the users' operator passwords elsewhere.
    HTTP.setRaiseExceptions(false);
    HTTP.setMethod(QStringLiteral("GET"));
    HTTP.setAuthRetries(3);
    HTTP.setInternetFlags(TAdvHttp::ifIgnoreRedirectToHttp | TAdvHttp::ifIgnoreRedirectToHttps
        | TAdvHttp::ifKeepConnection | TAdvHttp::ifNoUi | TAdvHttp::ifReload);
    HTTP.OnConnectingToServer = [this](TAdvHttp* sender) { HTTPConnectingToServer(sender); };
    HTTP.OnRequestComplete = [this](TAdvHttp* sender) { HTTPRequestComplete(sender); };
    HTTP.OnError = [this](TAdvHttp* sender) { HTTPError(sender); };
    HTTP.OnDataAvailable = [this](TAdvHttp*) {
        if (!m_replyTooLarge && HTTP.BytesRead() > MaxReplySize) {
            m_replyTooLarge = true;
            HTTP.AbortRequest();
        }
    };

    m_initTimer.setInterval(FirstInitDelay);
    m_statsTimer.setInterval(FirstStatsDelay);
    connect(&m_initTimer, &QTimer::timeout, this, &ServiceConnection::InitTimerTimer);
    connect(&m_statsTimer, &QTimer::timeout, this, &ServiceConnection::StatsTimerTimer);

    m_state.setHost(this);
    m_state.setCredentialSource(credentialsFromSmsIni());
    readSetup();
}

void ServiceConnection::readSetup()
{
    m_initialised = false;
    m_lastIP = m_host->localAddress();
    m_installType = ProgramSettings::readInstallationType();
    HTTP.setConnectTimeout(secondsToTimerInterval(SmsIni().timeOut()));
}

ServiceConnection::~ServiceConnection()
{
    stop();
    if (m_state.host() == this)
        m_state.setHost(nullptr);
}

bool ServiceConnection::serviceConfigured()
{
    if (!AppPaths::serviceUrl().isEmpty())
        return true;
    static bool told = false;
    if (!told) {
        told = true;
        qInfo("zelkora: no service address is set (ServiceURL in SMS.INI, ZELKORA_SERVICE_URL or --service-url): "
              "no service requests are made, and only the stored and the user's own definitions are used");
    }
    return false;
}

ConnectionState ServiceConnection::stateWithoutService() const
{
    // Yellow while stored definitions or the user's own can be used; red when neither gives a provider. What
    // a reply broken off before FINISHED left behind does not count: the service is not in working order.
    if (m_state.CacheLoaded)
        return ConnectionState::Stored;
    const bool ownProvider = std::any_of(m_state.Providers.cbegin(), m_state.Providers.cend(),
        [](const TProvider& p) { return p.Origin == ProviderOrigin::Local; });
    return ownProvider ? ConnectionState::Stored : ConnectionState::NoDefinitions;
}

QString ServiceConnection::definitionFilesStamp()
{
    QStringList parts;
    const auto stamp = [&parts](const QFileInfo& file) {
        parts << file.fileName() + QLatin1Char(':') + QString::number(file.size()) + QLatin1Char(':')
                + QString::number(file.lastModified().toMSecsSinceEpoch());
    };
    const QFileInfo cache(AppPaths::providerCacheFile());
    if (cache.exists())
        stamp(cache);
    const QDir folder(LocalDefinitions::folder());
    for (const QFileInfo& file : folder.entryInfoList({ QStringLiteral("*.def") }, QDir::Files, QDir::Name))
        stamp(file);
    return parts.join(QLatin1Char('|'));
}

void ServiceConnection::reloadChangedDefinitions()
{
    const QString stamp = definitionFilesStamp();
    if (stamp == m_filesStamp)
        return;
    m_filesStamp = stamp;
    qInfo("the definitions changed on disk: read again before the send");
    const ConnectionState state = m_state.connection;
    try {
        m_state.LoadProviderCache();
    } catch (const std::exception& error) {
        ErrorReport::report(ErrorReport::textOf(error));
    }
    // What the service gave lives on in the file that was read; the lamp says what it said before.
    if (state == ConnectionState::Service) {
        m_state.CacheLoaded = false;
        m_state.setConnectionState(ConnectionState::Service);
    } else {
        m_state.setConnectionState(stateWithoutService());
    }
}

void ServiceConnection::startUp(const std::function<void()>& loadBannerTable)
{
    try {
        readSetup();
        m_filesStamp = definitionFilesStamp();
        m_state.LoadProviderCache();
        if (loadBannerTable)
            loadBannerTable();
    } catch (const std::exception& error) {
        ErrorReport::report(ErrorReport::textOf(error));
    }
    startRequests();
}

void ServiceConnection::startRequests()
{
    m_state.setConnectionState(ConnectionState::NoDefinitions);
    m_initTimer.stop();
    m_initTimer.setInterval(FirstInitDelay);
    enableInit();
}

void ServiceConnection::serviceAddressChanged()
{
    // The next tick asks the new address for its definitions, a second from now; until then the lamp keeps
    // what it shows.
    m_initialised = false;
    m_initTimer.stop();
    m_initTimer.setInterval(FirstInitDelay);
    enableInit();
}

void ServiceConnection::hold(bool held)
{
    m_held = held;
    if (held)
        m_initTimer.stop();
    else
        enableInit();
}

void ServiceConnection::stop()
{
    m_initTimer.stop();
    m_statsTimer.stop();
    HTTP.AbortRequest();
}

void ServiceConnection::enableInit()
{
    if (!m_held)
        enable(m_initTimer);
}

void ServiceConnection::InitTimerTimer()
{
    // Without a service address the timer goes on looking, so that an address set meanwhile is used.
    if (!serviceConfigured()) {
        // An address taken away after its document arrived: what it gave lives on in providers.dat.
        if (m_state.connection == ConnectionState::Service && !m_state.CacheLoaded)
            m_state.LoadProviderCache();
        m_initialised = false;
        m_state.setConnectionState(stateWithoutService());
        return;
    }
    const bool online = m_host->checkOnline();
    {
        QMutexLocker lock(&m_lock);
        if (m_host->engineBusy() || !m_httpIdle) {
            m_initTimer.stop();
            m_initTimer.setInterval(RetryDelay);
            enableInit();
            return;
        }
    }
    if (!online) {
        m_initialised = false;
        m_state.setConnectionState(stateWithoutService());
        return;
    }
    // Definitions are fetched again only when the machine's address changed or the last attempt did not
    // complete.
    const QString address = m_host->localAddress();
    if (m_initialised && address == m_lastIP)
        return;

    HTTP.Tag = 0;
    m_initTimer.stop();
    m_initTimer.setInterval(m_state.InitInterval);
    m_initialised = false;
    m_state.setConnectionState(ConnectionState::Stored);
    startRequest(rkInit, AppPaths::serviceUrl() + InitRequestPath(address));
    enableInit();
}

void ServiceConnection::StatsTimerTimer()
{
    m_statsTimer.stop();
    if (!serviceConfigured())
        return;
    if (m_state.StatisticsInterval > 0 && m_state.StatisticsInterval != m_statsTimer.interval())
        m_statsTimer.setInterval(m_state.StatisticsInterval);
    m_host->minimiseIfCovered();
    const bool online = m_host->checkOnline();
    {
        QMutexLocker lock(&m_lock);
        // A table of banners none of which was shown has nothing to report; an empty table still reports,
        // so that the service can hand out a first list.
        const bool somethingToReport = m_state.Adverts.Count() == 0 || !m_state.Adverts.HitsText().isEmpty();
        if (!somethingToReport || !m_httpIdle || !online) {
            restart(m_statsTimer, RetryDelay);
            return;
        }
        m_httpIdle = false;
    }

    // StatsTimer stays off until UM_STATSDONE; a request that cannot start finishes at once (startRequest).
    m_state.HitsUpdated = false;
    const QString hits = PercentEncode(m_state.Adverts.HitsText());
    // The snapshot of what is reported: UPDATED settles it, anything else gives the counts back.
    m_state.AdvertsStaging.Assign(m_state.Adverts);
    m_state.Adverts.ResetHits();
    // Only Hits is encoded; the other values travel as they are.
    const QString url = AppPaths::serviceUrl() + QStringLiteral("/smsupdate?ID=") + m_state.SessionID
        + QStringLiteral("&Type=") + m_installType + QStringLiteral("&RefreshCount=")
        + QString::number(m_state.RefreshCount) + QStringLiteral("&SendParams=") + m_state.SendParams
        + QStringLiteral("&Hits=") + hits;
    startRequest(rkStats, url);
}

bool ServiceConnection::StartBannerDownload(const QString& url)
{
    // No service, no banners: a program without one asks nobody for anything.
    if (!serviceConfigured())
        return false;
    {
        QMutexLocker lock(&m_lock);
        if (!m_httpIdle)
            return false;
        m_httpIdle = false;
    }
    m_bannerStatus = 0;
    m_bannerReply.clear();
    return startRequest(rkBanner, url);
}

bool ServiceConnection::startRequest(TRequestKind kind, const QString& url)
{
    m_requestKind = kind;
    m_replyTooLarge = false;
    const quint64 completionsBefore = m_completions;
    try {
        HTTP.setMethod(QStringLiteral("GET"));
        HTTP.setURL(url);
        setHttpIdle(false);
        if (HTTP.Execute(false))
            return true;
    } catch (...) {
    }
    // The component reports most failures to start through OnError, which already finished the request;
    // one it did not report would otherwise leave HttpIdle false and stop every later request.
    if (m_completions == completionsBefore) {
        if (kind != rkBanner)
            HTTPFailure();
        finishRequest();
    }
    return false;
}

void ServiceConnection::HTTPConnectingToServer(TAdvHttp*)
{
    HTTPConnect();
}

void ServiceConnection::HTTPConnect()
{
    // Only the initialisation request moves the lamp: a statistics report or a banner download says
    // nothing about the definitions.
    if (HTTP.Tag == 0 && m_requestKind == rkInit)
        m_state.setConnectionState(ConnectionState::Stored);
}

void ServiceConnection::HTTPRequestComplete(TAdvHttp*)
{
    try {
        if (m_requestKind == rkBanner) {
            // A banner picture comes from the advertiser's own address; it is kept for the banner code and
            // never read as a service document. One stopped for its size is no picture.
            m_bannerStatus = m_replyTooLarge ? 0 : HTTP.StatusCode();
            m_bannerReply = m_replyTooLarge ? QByteArray() : HTTP.ResponseStream();
        } else if (HTTP.Succeeded() && !m_replyTooLarge) {
            HTTPSuccess();
        } else {
            HTTPFailure();
        }
    } catch (...) {
    }
    finishRequest();
}

void ServiceConnection::HTTPError(TAdvHttp*)
{
    try {
        if (m_requestKind != rkBanner)
            HTTPFailure();
    } catch (...) {
    }
    // While the component is still busy, the error was in reading a reply's body and OnRequestComplete
    // follows for the same request: that event finishes it, so the request is never reported twice and the
    // component is not taken for free while it still works.
    if (HTTP.Busy())
        return;
    finishRequest();
}

bool ServiceConnection::isInitialisationReply() const
{
    // The kind is tested with the Tag: after a failed re-initialisation the Tag is 0 again while the
    // statistics timer goes on, and a statistics reply with FINISHED must not become the provider cache.
    return m_requestKind == rkInit && HTTP.Tag == 0;
}

void ServiceConnection::HTTPSuccess()
{
    HTTPSuccess(m_requestKind, HTTP.Text());
}

void ServiceConnection::HTTPSuccess(TRequestKind kind, const QByteArray& text)
{
    m_requestKind = kind;
    // Any document may carry PROVIDERS or AREAS; the local definitions are applied again after each, so they
    // keep coming first.
    if (!isInitialisationReply()) {
        m_state.ProcessDocument(text);
        m_state.ApplyLocalDefinitions();
        return;
    }

    // The definitions in force, in case the reply breaks off before FINISHED (see below).
    const TProviders providersBefore = m_state.Providers;
    const QStringList areaDefsBefore = m_state.AreaDefs;
    const ServiceState::ServiceDefinitions serviceBefore = m_state.serviceDefinitions();

    m_state.setConnectionState(ConnectionState::NoDefinitions);
    const ProcessResult result = m_state.ProcessDocument(text);
    if (!result.ok)
        qWarning("ServiceConnection: the initialisation reply is invalid: %s", qUtf8Printable(result.error));

    // An invalid document counts as one that never reached FINISHED, even when its FINISHED came before the
    // fault.
    if (result.ok && m_state.connection == ConnectionState::Service) {
        m_initialised = true;
        m_state.CacheLoaded = false;
        if (QString why; !m_state.SaveProviderCache(&why))
            qWarning("providers.dat could not be written (%s); the definitions are used from memory", qPrintable(why));
        m_state.ApplyLocalDefinitions();
        m_filesStamp = definitionFilesStamp();
        return;
    }

    m_initialised = false;
    if (m_state.CacheLoaded) {
        // State 1 promises the cache's definitions. A reply cut short after PROVIDERS would otherwise leave
        // a part of the new list in their place, and sends to the other operators would fail.
        m_state.Providers = providersBefore;
        m_state.restoreServiceDefinitions(serviceBefore);
        if (m_state.AreaDefs != areaDefsBefore) {
            m_state.AreaDefs = areaDefsBefore;
            m_host->areaDefsChanged();
        }
    }
    m_state.ApplyLocalDefinitions();
    m_state.setConnectionState(stateWithoutService());
}

void ServiceConnection::HTTPFailure()
{
    if (!isInitialisationReply())
        return;
    m_state.setConnectionState(stateWithoutService());
    m_initialised = false;
}

void ServiceConnection::finishRequest()
{
    ++m_completions;
    switch (m_requestKind) {
    case rkInit:
        postUserMessage(messageReceiver(), UM_INITDONE);
        break;
    case rkStats:
        postUserMessage(messageReceiver(), UM_STATSDONE);
        break;
    case rkBanner:
        // Posted, as the other completions are: it is handled later, after this request has let go.
        QMetaObject::invokeMethod(this, &ServiceConnection::bannerLoaded, Qt::QueuedConnection);
        break;
    }
    setHttpIdle(true);
}

void ServiceConnection::finishInit()
{
    try {
        // The credentials came with the definitions (ServiceState applies them after every load).
        if (m_state.connection == ConnectionState::Service) {
            m_host->ClearBannerCache();
        } else {
            HTTP.Tag = 0;
            if (!m_state.CacheLoaded)
                m_state.LoadProviderCache();
            m_state.setConnectionState(stateWithoutService());
        }
    } catch (...) {
    }
    m_lastIP = m_host->localAddress();
    enableInit();
    emit initDone();
}

void ServiceConnection::finishStats()
{
    // Without UPDATED the service did not take the counts: the banners still listed get back what was
    // reported, replacing what they counted meanwhile, and are reported again next time.
    if (!m_state.HitsUpdated)
        m_state.Adverts.CopyHitsFrom(m_state.AdvertsStaging);
    enable(m_statsTimer);
    emit statsDone();
}

namespace {
// Addresses from the service are opened only when they are web addresses: the desktop handler would also
// run a local file or some other scheme's handler.
void openWebAddress(ServiceConnectionHost* host, const QString& address)
{
    const QUrl url(address.trimmed());
    if (!isWebAddress(url))
        return;
    host->openUrl(url);
}
} // namespace

void ServiceConnection::openHomePage()
{
    openWebAddress(m_host, m_state.HomePage);
}

void ServiceConnection::openOnlineHelp()
{
    openWebAddress(m_host, m_state.OnlineHelpURL.isEmpty() ? AppPaths::serviceUrl() : m_state.OnlineHelpURL);
}

bool ServiceConnection::isHttpIdle() const
{
    QMutexLocker lock(&m_lock);
    return m_httpIdle;
}

void ServiceConnection::setHttpIdle(bool idle)
{
    QMutexLocker lock(&m_lock);
    m_httpIdle = idle;
}

QObject* ServiceConnection::messageReceiver()
{
    QObject* receiver = m_host->messageReceiver();
    return receiver ? receiver : this;
}

void ServiceConnection::showMessage(const QString& text)
{
    m_host->showMessage(text);
}

void ServiceConnection::areaDefsChanged()
{
    m_host->areaDefsChanged();
}

void ServiceConnection::setOnlineHelpEnabled(bool enabled)
{
    m_host->setOnlineHelpEnabled(enabled);
}

void ServiceConnection::setConnectionState(ConnectionState state)
{
    m_host->setConnectionState(state);
}

void ServiceConnection::localDefinitionsReport(const QStringList& lines)
{
    // Every document reads the files again; a problem the user has seen once in this run, even in a window
    // since replaced, is not news. A set that went away and came back is.
    static QStringList lastShown;
    if (lines == lastShown)
        return;
    lastShown = lines;
    if (lines.isEmpty())
        return;
    const QString text
        = tr("Problems in the local provider definitions:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    QMetaObject::invokeMethod(
        this, [this, text] { m_host->showMessage(text); }, Qt::QueuedConnection);
}

void ServiceConnection::localDefinitionsChanged()
{
    m_state.ApplyLocalDefinitions();
}

void ServiceConnection::finished()
{
    HTTP.Tag = 1;
    restart(m_statsTimer, FirstStatsDelay);
    m_host->startBannerTimer(FirstBannerDelay);
}

bool ServiceConnection::event(QEvent* event)
{
    switch (userMessageOf(event)) {
    case UM_INITDONE:
        finishInit();
        return true;
    case UM_STATSDONE:
        finishStats();
        return true;
    default:
        return QObject::event(event);
    }
}
