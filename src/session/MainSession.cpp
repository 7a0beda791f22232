#include "MainSession.h"

#include "DemoRun.h"
#include "engine/WorkerClient.h"
#include "MainView.h"
#include "OnlineCheck.h"
#include "ServiceConnection.h"
#include "common/AppPaths.h"
#include "common/ErrorReport.h"
#include "common/Messages.h"
#include "common/ResStrings.h"
#include "common/UserPrompt.h"
#include "contacts/SmsLink.h"
#include "LinkComposition.h"
#include "SendQueue.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"
#include "settings/ProgramSettings.h"
#include "settings/SmsIni.h"

#include <QCoreApplication>
#include <QFileInfo>

MainSession::MainSession(TSMSBaseForm::BrowserMaker makeBrowser, QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("MainSession"));
    // The engine checks the browser at its construction and may end the program there.
    const bool browserOfItsOwn = !makeBrowser;
    m_engine = new TSMSBaseForm(this, std::move(makeBrowser));
    // Attempts run in the engine worker, so that the browser's memory goes with it when it idles and a browser
    // that crashes or hangs takes only the attempt with it. ZELKORA_ENGINE_WORKER=0 keeps them in this
    // process (a browser of a test's always is).
    if (browserOfItsOwn && qEnvironmentVariable("ZELKORA_ENGINE_WORKER") != QLatin1String("0"))
        m_engine->useWorker(new WorkerClient(QString(), this));
    m_engine->setObjectName(QStringLiteral("SMSBase"));
    m_state = std::make_unique<ServiceState>(m_engine->Providers, m_engine->AreaDefs);
    m_service = new ServiceConnection(*m_state, this, this);
    m_service->setObjectName(QStringLiteral("ServiceConnection"));
    m_workflow = std::make_unique<SendWorkflow>(*m_engine, *this);
    m_banners = new BannerRotation(*m_state, *m_service, *this, this, this);
    m_queue = new SendQueue(*m_engine, *m_workflow, *this, this);
    m_demo = new DemoRun(*this);
    connect(m_queue, &SendQueue::historyChanged, this, &MainSession::historyChanged);
    connect(m_service, &ServiceConnection::initDone, this, &MainSession::serviceAnswered);
    connect(m_service, &ServiceConnection::statsDone, this, &MainSession::serviceAnswered);
    connect(m_banners, &BannerRotation::bannerShown, this, [this] { emit bannerShown(m_banners->ShownName); });
    // The window that shows the site's question is the view's; the status line is the session's.
    connect(m_engine, &TSMSBaseForm::personNeeded, this, [this] {
        if (m_view)
            m_view->showStatus(ResStrings::siteWaitsForYou(), StatusKind::Info);
    });
}

MainSession::~MainSession()
{
    m_view = nullptr;
    m_engine->OnStatus = nullptr;
    // The queue's recorder writes to its history while the engine reports.
    delete m_queue;
    // The service connection works on the state, which works on the engine's lists: they go in that order.
    delete m_banners;
    delete m_service;
    m_state.reset();
}

void MainSession::setView(MainView* view)
{
    m_view = view;
}

void MainSession::startUp()
{
    bool requestsStarted = false;
    bool firstStart = false;
    try {
        checkOnline();
        m_state->InitInterval = 30000;
        m_service->stop();
        m_banners->BannerTimer.stop();

        m_languageCode = ProgramSettings::readLanguage();
        if (m_languageCode.isEmpty())
            m_languageCode = ProgramSettings::desktopLanguage();
        {
            const SmsIni ini;
            // The service address the settings name comes into force (under the options' and the
            // environment's).
            ini.serviceUrl();
            // The last single send's values, at the first start only: a window built again keeps what was typed.
            if (!m_started) {
                m_composition = Composition();
                m_composition.sender = ini.lastFrom();
                m_composition.phone = ini.lastPhone();
                m_composition.area = ini.ValueExists(QStringLiteral("General"), QStringLiteral("LastAreaCode"))
                    ? ini.lastAreaCode()
                    : QString();
                m_composition.recipientName = ini.lastRecipient();
            }
            m_engine->TimeOut = ini.timeOut();
            m_usePopupStatus = ini.usePopupStatus();
        }
        firstStart = !m_started;
        m_started = true;

        m_state->SendParams = QStringLiteral("yes");
        m_state->RefreshCount = 0;
        m_state->HitsUpdated = false;
        m_banners->ClickURL = AppPaths::serviceUrl();
        m_state->HomePage = AppPaths::serviceUrl();
        m_engine->OnStatus = [this](TSMSStatus status) { SendResult(status); };
        m_banners->BannerIndex = 1;
        // The provider cache, then the banner table (so its list wins over the cache's), then the
        // credentials, connection state 0 and the first initialisation request one second later.
        m_service->startUp([this] { loadBannerTable(); });
        requestsStarted = true;
        // An area code no provider serves (the settings' default "03", one whose provider is gone) is no
        // choice to offer at the start.
        if (firstStart && !m_composition.listMode && !m_engine->Providers.isEmpty()
            && m_engine->FindProviderByArea(m_composition.area) < 0)
            m_composition.area.clear();
    } catch (const std::exception& error) {
        ErrorReport::report(ErrorReport::textOf(error));
    }
    // The history opens once the window is up: the queued sends missed meanwhile are its first question. A
    // window still on its way to the screen is painted first.
    QTimer::singleShot(0, m_queue, [this] {
        if (!m_view) {
            m_queue->start();
            return;
        }
        m_view->afterFirstFrame([queue = QPointer<SendQueue>(m_queue)] {
            if (queue)
                queue->start();
        });
    });
    // Whatever failed before, the requests and the rotation start.
    try {
        if (!requestsStarted)
            m_service->startRequests();
        if (m_state->Adverts.Count() > 0)
            m_banners->BannerTimer.start();
    } catch (...) {
    }
}

void MainSession::shutdown()
{
    try {
        m_service->stop();
        m_banners->BannerTimer.stop();
        m_queue->stop();
        // Stops the browser without reporting a status to a window that is going away. A window built again
        // around the session finds the engine idle, as a new one would be.
        m_engine->OnStatus = nullptr;
        m_engine->Abort();
        m_engine->Status = ssReady;
    } catch (...) {
    }
    try {
        saveBannerTable();
    } catch (...) {
    }
}

QString MainSession::bannerTableFile()
{
    return AppPaths::appDir() + QStringLiteral("adcache.dat");
}

void MainSession::loadBannerTable()
{
    if (QFileInfo::exists(bannerTableFile()))
        m_state->Adverts.LoadFromFile(bannerTableFile());
}

void MainSession::saveBannerTable()
{
    // The banners' hit counts are worth a line in the diagnostic output, never a question to the user.
    QString error;
    if (!m_state->Adverts.SaveToFile(bannerTableFile(), &error))
        ErrorReport::report(QStringLiteral("%1 could not be written: %2").arg(bannerTableFile(), error));
}

bool MainSession::openSmsLink(const QString& link)
{
    if (!Contacts::SmsLink::isLink(link))
        return false;
    const Contacts::SmsLink parsed = Contacts::SmsLink::parse(link, SmsIni().countryCode());
    showComposition(linkComposition(parsed, m_composition));
    if (m_view && !parsed.unreadable.isEmpty())
        m_view->showStatus(tr("לא ניתן לקרוא מהקישור את המספר: %1").arg(parsed.unreadable.join(QStringLiteral(", "))),
            StatusKind::Error);
    return true;
}

void MainSession::send()
{
    // The last send's outcome is no word on this one, also while this one first asks something.
    if (m_view && !usePopupStatus())
        m_view->showStatus(QString(), StatusKind::Info);
    history();
    m_service->reloadChangedDefinitions();
    m_workflow->send(m_composition);
    m_messageText = m_workflow->MessageText;
}

void MainSession::SendResult(TSMSStatus status)
{
    const SendOutcome outcome = sendOutcome(status, m_engine->Submitted, m_engine->Confirmed);
    StatusKind kind = StatusKind::Info;
    switch (outcome) {
    case SendOutcome::Sent:
        kind = StatusKind::Sent;
        break;
    case SendOutcome::Rejected:
    case SendOutcome::Failed:
        kind = StatusKind::Error;
        break;
    case SendOutcome::Unknown:
        kind = StatusKind::Unknown;
        break;
    default:
        break;
    }
    if (m_view)
        m_view->showStatus(ResStrings::outcomeText(status, outcome, m_engine->Failure), kind);
}

void MainSession::cancelList()
{
    m_cancelRequested = true;
    m_workflow->cancelRequested();
}

ConnectionState MainSession::connectionState() const
{
    return m_state->connection;
}

void MainSession::setConnectionState(ConnectionState state)
{
    m_state->connection = state;
    if (m_view)
        m_view->showConnectionState(state);
}

bool MainSession::listSending() const
{
    return m_workflow->ListSending;
}

StatusPlace MainSession::statusPlace() const
{
    if (listSending())
        return StatusPlace::RecipientLine;
    return m_usePopupStatus ? StatusPlace::StatusWindow : StatusPlace::StatusLine;
}

bool MainSession::engineBusy() const
{
    return isBusyStatus(m_engine->Status);
}

bool MainSession::checkOnline()
{
    m_online = OnlineCheck::isOnline();
    return m_online;
}

void MainSession::areaDefsChanged()
{
    if (m_view)
        m_view->areaCodesChanged();
}

void MainSession::setOnlineHelpEnabled(bool enabled)
{
    if (m_view)
        m_view->setOnlineHelpEnabled(enabled);
}

void MainSession::startBannerTimer(int milliseconds)
{
    QTimer& timer = m_banners->BannerTimer;
    timer.stop();
    timer.setInterval(milliseconds);
    if (milliseconds > 0)
        timer.start();
}

void MainSession::minimiseIfCovered()
{
    if (m_view)
        m_view->minimiseIfCovered();
}

bool MainSession::ask(const QString& question)
{
    return UserPrompt::current()->question(question);
}

void MainSession::reportError(const QString& text)
{
    if (m_view)
        m_view->showStatus(text, StatusKind::Error);
}

void MainSession::suspendServiceRequests(bool suspended)
{
    m_service->hold(suspended);
}

void MainSession::saveLastUsed()
{
    // What the window will hold next time is no condition of this send: a settings file that cannot be
    // written (a full disk, a read-only folder) is said, and the send goes on.
    try {
        SmsIni ini;
        ini.setLastFrom(m_composition.sender);
        ini.setLastPhone(m_composition.phone);
        ini.setLastRecipient(m_composition.listMode ? QString() : m_composition.recipientName);
        ini.setLastAreaCode(m_composition.area);
        ini.setTimeOut(m_engine->TimeOut);
    } catch (const std::exception& error) {
        qWarning("the last-used fields were not saved: %s", qPrintable(ErrorReport::textOf(error)));
        if (m_view)
            m_view->showStatus(
                tr("ההגדרות לא נשמרו: %1").arg(ErrorReport::textOf(error)), StatusKind::Error);
    }
}

bool MainSession::acceptLoginOrigin(const TProvider& provider, const QString& origin)
{
    return UserPrompt::current()->question(SendWorkflow::loginMovedQuestion(provider, origin));
}

void MainSession::bindLoginOrigin(const TProvider& provider, const QString& origin)
{
    try {
        SmsIni().setLoginOrigin(provider.Name, origin);
    } catch (const std::exception& error) {
        // Not kept: the next send asks again, which costs a question and nothing more.
        qWarning("the login page's origin of %s was not saved: %s", qPrintable(provider.Name),
            qPrintable(ErrorReport::textOf(error)));
    }
}

QString MainSession::credentialsMissing(const TProvider& provider, bool listSend)
{
    if (listSend)
        return SendWorkflow::missingCredentialsText(provider);
    UserPrompt::current()->information(ResStrings::missingCredentialsBox().replace(QLatin1String("%s"), provider.Name));
    if (m_view)
        m_view->openPreferencesForSend();
    return ResStrings::pressSendAgain();
}

void MainSession::beginList(const QStringList& names)
{
    if (m_view)
        m_view->beginList(names);
}

void MainSession::endList(bool cancelled)
{
    if (m_view)
        m_view->endList(cancelled);
}

bool MainSession::windowShown() const
{
    return m_view && m_view->windowShown();
}

bool MainSession::bannerCovered() const
{
    return m_view && m_view->bannerCovered();
}

void MainSession::displayBanner(const QImage& picture)
{
    if (m_view)
        m_view->displayBanner(picture);
}

void MainSession::serviceUrlChanged()
{
    m_service->serviceAddressChanged();
}

QString MainSession::providerNameForArea(const QString& areaCode) const
{
    const int index = m_engine->FindProviderByArea(areaCode);
    return index < 0 ? QString() : m_engine->Providers.at(index).Name;
}

void MainSession::localDefinitionsChanged()
{
    m_service->localDefinitionsChanged();
}

void MainSession::openHomePage()
{
    m_service->openHomePage();
}

QString MainSession::homePage() const
{
    return m_state->HomePage;
}

void MainSession::openOnlineHelp()
{
    m_service->openOnlineHelp();
}

void MainSession::bannerClicked()
{
    m_banners->bannerClicked();
}

void MainSession::startDemo()
{
    m_demo->start();
}

bool MainSession::demoRunning() const
{
    return m_demo->running();
}

bool MainSession::definitionsAvailable() const
{
    return m_service->initialised() || m_state->CacheLoaded;
}

bool MainSession::event(QEvent* event)
{
    switch (userMessageOf(event)) {
    case UM_INITDONE:
        m_service->finishInit();
        return true;
    case UM_STATSDONE:
        m_service->finishStats();
        return true;
    case UM_BANNERCHOSEN:
        m_banners->BannerChosen();
        return true;
    default:
        return QObject::event(event);
    }
}
