#include "TSMSBaseForm.h"

#include "AttemptWire.h"
#include "WorkerClient.h"

#include "BrowserLoader.h"
#include "PageOperations.h"
#include "common/ErrorReport.h"
#include "common/ResStrings.h"
#include "common/TimerInterval.h"
#include "common/UserPrompt.h"
#include "common/WebAddress.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <cstdio>
#include <utility>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcEngine, "zelkora.engine", QtInfoMsg)

namespace {
const QString kBlankPage = QStringLiteral("about:blank");
constexpr int kMinimumBrowserVersion = 4;
// How much longer than an attempt's time-out the engine worker may take to end it before it counts as hung.
constexpr int WorkerAnswerMargin = 10000;

void checkBrowserVersion()
{
    if (BrowserLoader::majorVersion() >= kMinimumBrowserVersion)
        return;
    UserPrompt::current()->information(ResStrings::browserTooOld());
    std::fflush(nullptr);
    // Nothing else of the program may run on, so no destructors and no event loop.
    ::_exit(1);
}
} // namespace

TSMSBaseForm::TSMSBaseForm(QObject* parent, BrowserMaker makeBrowser)
    : QObject(parent)
    , m_makeBrowser(std::move(makeBrowser))
{
    if (!m_makeBrowser) {
        checkBrowserVersion();
        m_makeBrowser = [](QObject* owner) { return BrowserLoader::createBrowser(owner); };
    }
    timeOutTimer = new QTimer(this);
    timeOutTimer->setObjectName(QStringLiteral("timeOutTimer"));
    timeOutTimer->setInterval(90000);
    connect(timeOutTimer, &QTimer::timeout, this, &TSMSBaseForm::timedOut);
    m_personTimer = new QTimer(this);
    m_personTimer->setSingleShot(true);
    connect(m_personTimer, &QTimer::timeout, this, [this] {
        qCWarning(lcEngine, "nobody answered the site's page within %d s", PersonLimit / 1000);
        if (m_checking)
            checkStep(QStringLiteral("message page"), false,
                QCoreApplication::translate("DefinitionCheck", "איש לא ענה על דף האתר תוך %1 שניות").arg(PersonLimit / 1000));
        else
            fail(ssFailed, FailureReason::PersonUnanswered);
    });
    m_settleTimer = new QTimer(this);
    m_settleTimer->setSingleShot(true);
    connect(m_settleTimer, &QTimer::timeout, this, &TSMSBaseForm::watchSettled);

    TimeOut = 0;
    OnStatus = nullptr;
    SetStatus(ssReady);
    AreaDefs.clear();
    Providers.clear();
}

TSMSBaseForm::~TSMSBaseForm()
{
    timeOutTimer->stop();
    if (m_browser) {
        m_browser->setDocumentComplete(nullptr);
        m_browser->setNavigateComplete(nullptr);
        m_browser->setPageLost(nullptr);
        m_browser->setTextChanged(nullptr);
        m_browser->setDialogShown(nullptr);
        m_browser->setWindowOpened(nullptr);
        m_browser->setActivity(nullptr);
    }
}

IWebBrowser* TSMSBaseForm::browser()
{
    if (!m_browser) {
        m_browser = m_makeBrowser(this);
        if (m_browser) {
            m_browser->setNavigateComplete(
                [this](FrameRef frame, const QString& address) { WebBrowser1NavigateComplete2(frame, address); });
            // The browser's handler stays; which step it reaches is the engine's binding, and with no step
            // bound the event is dropped.
            m_browser->setDocumentComplete(
                [this](FrameRef frame, const QString& address) { dispatchDocumentComplete(frame, address); });
            m_browser->setPageLost([this] { WebBrowser1PageLost(); });
            m_browser->setTextChanged(
                [this](FrameRef frame, const QString& address) { WebBrowser1TextChanged(frame, address); });
            m_browser->setDialogShown(
                [this](FrameRef frame, const QString& text) { WebBrowser1DialogShown(frame, text); });
            m_browser->setWindowOpened(
                [this](FrameRef window, const QString& address) { WebBrowser1WindowOpened(window, address); });
            m_browser->setActivity([this] {
                if (m_watch.active)
                    watchActivity();
            });
        }
    }
    return m_browser.get();
}

void TSMSBaseForm::Send(const QString& from, const QString& areaCode, const QString& phone, const QString& message,
    const QString& userName, const QString& password)
{
    start(false, from, areaCode, phone, message, userName, password);
}

void TSMSBaseForm::Check(const QString& from, const QString& areaCode, const QString& phone, const QString& message,
    const QString& userName, const QString& password)
{
    start(true, from, areaCode, phone, message, userName, password);
}

void TSMSBaseForm::start(bool checking, const QString& from, const QString& areaCode, const QString& phone,
    const QString& message, const QString& userName, const QString& password)
{
    From = from;
    AreaCode = areaCode;
    Phone = phone;
    Message = message;
    UserName = userName;
    Password = password;
    m_checking = checking;
    SendNow();
}

int TSMSBaseForm::timeOutInterval() const
{
    return TimeOut > 0 ? secondsToTimerInterval(TimeOut) : 60000;
}

void TSMSBaseForm::SendNow()
{
    // Each attempt starts from a clean binding, also one that replaces an attempt under way: no frame of the
    // replaced attempt's pages can stand in for the new one's, and the new attempt has its whole time-out.
    leavePersonWait();
    NavFrame.clear();
    m_following = false;
    m_watch = Watch();
    m_settleTimer->stop();
    Confirmed = false;
    Submitted = false;
    m_keptSession = false;
    m_sessionTry = false;
    Diagnostic.clear();
    Failure = SendFailure();
    m_pendingFailure = SendFailure();
    PersonPage.clear();
    timeOutTimer->stop();
    timeOutTimer->setInterval(timeOutInterval());

    ProviderIndex = FindProviderByArea(AreaCode);
    if (ProviderIndex == -1) {
        if (m_checking)
            checkStep(
                QStringLiteral("provider"), false, QCoreApplication::translate("DefinitionCheck", "אין מפעיל לקידומת %1").arg(AreaCode));
        fail(ssFailed, FailureReason::NoProvider, AreaCode);
        return;
    }
    const TProvider& provider = Providers[ProviderIndex];
    m_messageStep = provider.messageStep();
    if (m_worker) {
        AttemptWire::Request request;
        request.kind = m_checking ? AttemptWire::Request::Kind::Check : AttemptWire::Request::Kind::Send;
        request.provider = provider;
        request.areaDefs = AreaDefs;
        request.from = From;
        request.areaCode = AreaCode;
        request.phone = Phone;
        request.message = Message;
        request.userName = UserName;
        request.password = Password;
        request.timeOut = TimeOut;
        request.settleTime = SettleTime;
        request.personCanAnswer = PersonCanAnswer;
        request.personLimit = PersonLimit;
        request.keepSession = KeepSession;
        if (PersonWindowPlace)
            std::tie(request.languageModule, request.personNear) = PersonWindowPlace();
        request.attempt = ++m_workerAttemptNumber;
        m_workerAttempt = true;
        m_worker->setBusy(true);
        // The worker's own time-out ends the attempt there; this one, a little later, ends a worker that no
        // longer answers.
        timeOutTimer->setInterval(timeOutInterval() + WorkerAnswerMargin);
        if (!m_worker->request(request)) {
            workerStopped(QStringLiteral("the engine worker could not be started"));
            return;
        }
        // As an attempt here, the attempt is under way when Send returns; the worker's own "connecting"
        // follows and is not said twice.
        SetStatus(ssConnecting);
        return;
    }
    if (m_checking) {
        if (!checkStep(QStringLiteral("provider"), true, QCoreApplication::translate("DefinitionCheck", "%1 משרת את הקידומת %2").arg(provider.Name, AreaCode)))
            return;
        if (!provider.LoginUrl.isEmpty()
            && !checkStep(QStringLiteral("credentials"), !UserName.isEmpty() && !Password.isEmpty(),
                QCoreApplication::translate("DefinitionCheck", "שם משתמש וסיסמה של %1").arg(provider.Name)))
            return;
    }
    IWebBrowser* web = browser();
    if (!web) {
        if (m_checking)
            checkStep(QStringLiteral("browser"), false, QCoreApplication::translate("DefinitionCheck", "לא ניתן לטעון את הדפדפן המובנה"));
        fail(ssFailed, FailureReason::BrowserStopped, QString(), QStringLiteral("the embedded browser cannot be loaded"));
        return;
    }
    // The browser's login lasts while the site keeps it: a list's later recipient tries the message page
    // first, and a login made now replaces whatever the browser held.
    const QString site = loginSite(provider);
    const bool keep = KeepSession && !m_checking && provider.KeepSession != 0 && m_sessions.contains(site)
        && m_sessions.value(site) == UserName;
    if (!provider.LoginUrl.isEmpty() && keep) {
        m_sessionTry = true;
        bindDocumentComplete(&TSMSBaseForm::MessagePageComplete);
        web->Navigate(provider.MsgUrl);
    } else if (!provider.LoginUrl.isEmpty()) {
        m_sessions.remove(site);
        bindDocumentComplete(&TSMSBaseForm::LoginPageComplete);
        web->Navigate(provider.LoginUrl);
    } else {
        bindDocumentComplete(&TSMSBaseForm::MessagePageComplete);
        web->Navigate(provider.MsgUrl);
    }
    SetStatus(ssConnecting);
}

void TSMSBaseForm::useWorker(WorkerClient* worker)
{
    if (m_worker)
        m_worker->disconnect(this);
    m_worker = worker;
    if (!m_worker)
        return;
    connect(m_worker, &WorkerClient::reported, this, &TSMSBaseForm::workerReported);
    connect(m_worker, &WorkerClient::stopped, this, [this] { workerStopped(QStringLiteral("the engine worker stopped")); });
}

void TSMSBaseForm::leaveWorkerAttempt()
{
    m_workerAttempt = false;
    m_worker->setBusy(false);
}

void TSMSBaseForm::cancelWorkerAttempt()
{
    if (!m_workerAttempt)
        return;
    AttemptWire::Request cancel;
    cancel.kind = AttemptWire::Request::Kind::Cancel;
    m_worker->request(cancel);
    leaveWorkerAttempt();
}

void TSMSBaseForm::workerReported(const AttemptWire::Report& report)
{
    // Reports of an attempt this side already ended (cancelled, given up) are late news, also when they arrive
    // during the next attempt.
    if (!m_workerAttempt || report.attempt != m_workerAttemptNumber)
        return;
    switch (report.kind) {
    case AttemptWire::Report::Kind::Status:
        Submitted = report.submitted;
        Confirmed = report.confirmed;
        m_keptSession = report.keptSession;
        Diagnostic = report.diagnostic;
        Failure = report.failure;
        PersonPage = report.personPage;
        if (report.status == Status && isBusyStatus(report.status))
            break;
        if (!isBusyStatus(report.status))
            leaveWorkerAttempt();
        SetStatus(report.status);
        break;
    case AttemptWire::Report::Kind::CheckStep:
        if (OnCheckStep)
            OnCheckStep(report.step);
        break;
    case AttemptWire::Report::Kind::PersonNeeded:
        PersonPage = report.address;
        // The person's time is not the site's: the worker's own limit ends a wait nobody answers, and this
        // side waits that long and its margin before it takes the worker for hung.
        m_waitingForPerson = true;
        timeOutTimer->start(PersonLimit + WorkerAnswerMargin);
        emit personNeeded(report.provider, report.address);
        break;
    case AttemptWire::Report::Kind::PersonDone:
        if (!m_waitingForPerson)
            break;
        m_waitingForPerson = false;
        // The attempt goes on there with its whole time-out.
        timeOutTimer->start(timeOutInterval() + WorkerAnswerMargin);
        emit personDone();
        break;
    case AttemptWire::Report::Kind::DefinitionSaved:
        break;
    }
}

void TSMSBaseForm::workerStopped(const QString& diagnostic)
{
    if (!m_workerAttempt)
        return;
    leaveWorkerAttempt();
    // What the worker had reported stays: a message it had submitted may have gone out, and the attempt ends
    // as one without a verdict (an unknown outcome), never as a message not sent.
    fail(Submitted ? ssTimedOut : ssFailed, FailureReason::BrowserStopped, QString(), diagnostic);
}

void TSMSBaseForm::Cancel()
{
    cancelWorkerAttempt();
    Failure = SendFailure { FailureReason::Cancelled, QString() };
    SetStatus(ssCancelled);
}

void TSMSBaseForm::Abort()
{
    cancelWorkerAttempt();
    leavePersonWait();
    timeOutTimer->stop();
    bindDocumentComplete(nullptr);
    if (m_browser)
        m_browser->Stop();
}

void TSMSBaseForm::SetStatus(TSMSStatus status)
{
    Status = status;
    switch (status) {
    case ssCancelled:
    case ssSent:
    case ssRejected:
    case ssFailed:
    case ssTimedOut:
        endAttempt();
        break;
    case ssConnecting:
        if (!timeOutTimer->isActive())
            timeOutTimer->start();
        break;
    default:
        break;
    }
    if (OnStatus)
        OnStatus(status);
    emit statusChanged(status);
}

void TSMSBaseForm::endAttempt()
{
    leavePersonWait();
    timeOutTimer->stop();
    bindDocumentComplete(nullptr);
    // A frame of the finished attempt's pages belongs to no later page; forgetting it here keeps an attempt
    // that ended by time-out or cancel from blocking the next one.
    NavFrame.clear();
    m_following = false;
    m_watch = Watch();
    m_settleTimer->stop();
    // Before the first attempt there is no page to blank.
    if (m_browser)
        m_browser->Navigate(kBlankPage);
}

bool TSMSBaseForm::checkStep(const QString& step, bool passed, const QString& detail)
{
    if (OnCheckStep)
        OnCheckStep(CheckStep { step, passed, detail });
    if (!passed)
        SetStatus(ssFailed);
    return passed;
}

bool TSMSBaseForm::checkSteps(const QVector<CheckStep>& steps)
{
    for (const CheckStep& step : steps) {
        if (!checkStep(step.step, step.passed, step.detail))
            return false;
    }
    return true;
}

int TSMSBaseForm::FindProviderByArea(const QString& areaCode) const
{
    return ::FindProviderByArea(Providers, areaCode);
}

void TSMSBaseForm::bindDocumentComplete(StepHandler handler)
{
    m_step = handler;
}

void TSMSBaseForm::dispatchDocumentComplete(FrameRef frame, const QString& address)
{
    if (!m_step)
        return;
    try {
        (this->*m_step)(frame, address);
    } catch (const BrowserError& error) {
        // The step stops where the browser refused; binding and status stay, so the attempt ends by time-out
        // unless the browser completes another page that the same step can handle. A dry run names the
        // refusal and ends there.
        if (m_checking && isBusyStatus(Status)) {
            checkStep(QStringLiteral("page access"), false, error.message());
        } else {
            qCWarning(lcEngine, "%s", qPrintable(error.message()));
            m_pendingFailure = SendFailure { FailureReason::PageUnreadable, error.message() };
        }
    }
}

void TSMSBaseForm::WebBrowser1NavigateComplete2(FrameRef frame, const QString&)
{
    if (m_watch.active && frame == m_followed) {
        m_watch.samePage = false;
        m_watch.loaded = false;
    }
    if (!NavFrame.isEmpty())
        return;
    // After a submission only the window it went to counts: a frame that reloads itself meanwhile (an
    // advertisement, often of another site) is not the page the site answers with.
    if (m_following && (m_followed.isEmpty() || frame != m_followed))
        return;
    NavFrame = frame;
}

void TSMSBaseForm::followSubmission(
    const PageDocument& top, const PageDocument& document, const PageStep& step, const QString& page)
{
    const QList<int> from = step.frame > -1 ? QList<int> { step.frame } : QList<int>();
    const QString target = PageOperations::SubmissionTarget(document, step.submit, step.form, step.submitLookup);
    const std::optional<QList<int>> window = PageOperations::TargetWindow(top, from, target);
    m_following = true;
    m_followedPath = window.value_or(QList<int>());
    m_followed = window ? m_browser->Window(*window) : FrameRef();
    // The message's answer is watched for wherever it goes, a window the page opens included; a login
    // that goes to a window of its own leaves the message page unreachable.
    if (!window && !m_checking && m_step == &TSMSBaseForm::ResultPageComplete)
        m_watch.awaitsNewWindow = true;
    else if (!window)
        qCWarning(lcEngine, "the %s sends its form to a window of its own (target \"%s\"), which no step can follow",
            qPrintable(page), qPrintable(target));
}

void TSMSBaseForm::triggerSubmission(const PageDocument& document, const PageStep& step)
{
    switch (step.submit) {
    case 1:
        PageOperations::ClickLink(document, step.submitLookup);
        break;
    case 2:
        PageOperations::ClickFormElement(document, step.form, step.submitLookup);
        break;
    case 3:
        PageOperations::SubmitForm(document, step.form, step.submitValue);
        break;
    default:
        break;
    }
}

const PageDocument* TSMSBaseForm::stepDocument(
    std::shared_ptr<PageDocument>& top, const PageStep& step, const QString& address, const QString& page)
{
    const qint32 frameIndex = step.frame;
    const QString& expectedAddress = step.url;
    top = m_browser->Document();
    const PageDocument* document = top.get();
    // A frame number the page lacks gives no document, as does a frame that holds none.
    if (document && frameIndex > -1)
        document = top->frameDocument(frameIndex);
    if (m_checking) {
        if (!top) {
            checkStep(page, false,
                QCoreApplication::translate("DefinitionCheck", "שום דף של האתר לא נטען במקום %1").arg(shownAddress(expectedAddress)));
            return nullptr;
        }
        if (!checkStep(page, address == expectedAddress,
                address == expectedAddress ? QCoreApplication::translate("DefinitionCheck", "נטען בכתובת %1").arg(shownAddress(address))
                                           : QCoreApplication::translate("DefinitionCheck", "הדף שנטען הוא %1, לא %2")
                                                 .arg(shownAddress(address), shownAddress(expectedAddress))))
            return nullptr;
        if (frameIndex > -1
            && !checkStep(page + QStringLiteral(" frame"), document != nullptr,
                document ? QCoreApplication::translate("DefinitionCheck", "מסגרת %1").arg(frameIndex)
                         : QCoreApplication::translate("DefinitionCheck", "אין בדף מסגרת %1 שיש בה מסמך (מספר המסגרות בדף: %2)")
                               .arg(frameIndex)
                               .arg(top->frameCount())))
            return nullptr;
    }
    if (!document || address != expectedAddress) {
        if (!endedByPage(m_browser->Window({}), address))
            fail(ssFailed, FailureReason::OtherPage, shownAddress(address));
        return nullptr;
    }
    return document;
}

void TSMSBaseForm::LoginPageComplete(FrameRef frame, const QString& address)
{
    if (frame != NavFrame)
        return;
    NavFrame.clear();
    const TProvider provider = Providers.value(ProviderIndex);
    if (!m_checking && address != provider.LoginUrl && endedByPage(frame, address))
        return;
    std::shared_ptr<PageDocument> top;
    const PageStep login = provider.loginStep();
    const PageDocument* document = stepDocument(top, login, address, QStringLiteral("login page"));
    if (!document)
        return;
    if (m_checking && !checkSteps(DefinitionCheck::inspectLogin(*document, provider)))
        return;
    PageOperations::SetFormField(*document, provider.LoginForm, provider.UserField, UserName);
    PageOperations::SetFormField(*document, provider.LoginForm, provider.PassField, Password);
    bindDocumentComplete(&TSMSBaseForm::MessagePageComplete);
    followSubmission(*top, *document, login, QStringLiteral("login page"));
    triggerSubmission(*document, login);
    SetStatus(ssIdentifying);
}

QString TSMSBaseForm::loginSite(const TProvider& provider)
{
    return provider.Name + QLatin1Char('\n') + provider.LoginUrl;
}

const PageDocument* TSMSBaseForm::keptMessagePage(const PageDocument* top, const QString& address)
{
    const TProvider& provider = Providers.at(ProviderIndex);
    if (!top || address != provider.MsgUrl || !m_browser->LoadError().isEmpty()
        || m_browser->HttpStatus(m_browser->Window({})) >= 400)
        return nullptr;
    // Opened on its own, a message page that the site shows in a frame stands at the top; a message page
    // that is itself a frameset holds the form in its frame.
    QList<qint32> frames { -1 };
    if (provider.MsgFrame > -1)
        frames << provider.MsgFrame;
    for (const qint32 frame : frames) {
        const PageDocument* document = frame > -1 ? top->frameDocument(frame) : top;
        // A login form on the page is the site asking for the login, whatever else the page holds.
        if (document && PageOperations::FindForm(*document, provider.MsgForm)
            && !PageOperations::HoldsLoginForm(*document, provider)) {
            m_messageStep.frame = frame;
            return document;
        }
    }
    return nullptr;
}

void TSMSBaseForm::MessagePageComplete(FrameRef frame, const QString& address)
{
    if (frame != NavFrame)
        return;
    NavFrame.clear();
    const TProvider provider = Providers.value(ProviderIndex);
    if (std::exchange(m_sessionTry, false)) {
        const std::shared_ptr<PageDocument> top = m_browser->Document();
        const PageDocument* document = keptMessagePage(top.get(), address);
        if (m_checking) {
            // The dry run's second look, after the message form stood filled: whether a list's further
            // recipients can skip the login. Either way the definition works.
            checkStep(QStringLiteral("kept login"), true,
                document ? QCoreApplication::translate("DefinitionCheck",
                               "דף ההודעה נפתח שוב בלי כניסה נוספת: הנמענים הבאים ברשימה לא ייכנסו שוב")
                         : QCoreApplication::translate("DefinitionCheck",
                               "האתר מבקש כניסה לפני כל הודעה: כל נמען ברשימה ייכנס מחדש"));
            endAttempt();
            SetStatus(ssReady);
            return;
        }
        if (document) {
            m_keptSession = true;
            SetStatus(ssIdentified);
            fillMessage(*top, *document);
            return;
        }
        // The site ended the login (its login page, another page, no message form): the attempt logs in as
        // any first attempt does.
        qCInfo(lcEngine, "%s asked for its login again (%s): logging in", qPrintable(provider.Name),
            qPrintable(shownAddress(address)));
        m_sessions.remove(loginSite(provider));
        bindDocumentComplete(&TSMSBaseForm::LoginPageComplete);
        m_browser->Navigate(provider.LoginUrl);
        return;
    }
    SetStatus(ssIdentified);
    {
        // A page of the site's that is not its message page, or a message page without its form: the site
        // asks something first (a word in a picture, a code, new terms, the password again).
        const std::shared_ptr<PageDocument> top = m_browser->Document();
        const PageDocument* document
            = top && provider.MsgFrame > -1 ? top->frameDocument(provider.MsgFrame) : top.get();
        const bool expected
            = address == provider.MsgUrl && document && PageOperations::FindForm(*document, provider.MsgForm);
        if (!expected && !m_checking && endedByPage(frame, address))
            return;
        if (top && !expected && askPerson(address))
            return;
    }
    std::shared_ptr<PageDocument> top;
    const PageDocument* document = stepDocument(top, provider.messageStep(), address, QStringLiteral("message page"));
    if (!document)
        return;
    if (m_checking
        && !checkSteps(DefinitionCheck::inspectMessage(*document, provider, areaValueFor(AreaDefs, AreaCode))))
        return;
    if (!provider.LoginUrl.isEmpty())
        m_sessions.insert(loginSite(provider), UserName);
    fillMessage(*top, *document);
}

void TSMSBaseForm::fillMessage(const PageDocument& top, const PageDocument& document)
{
    const TProvider provider = Providers.value(ProviderIndex);
    // Nothing typed into a page without the form: the definition no longer fits the site.
    if (!m_checking && !provider.MsgForm.isEmpty() && !PageOperations::FindForm(document, provider.MsgForm)) {
        fail(ssFailed, FailureReason::FormMissing, provider.MsgForm);
        return;
    }
    QString text = Message;
    if (provider.ClearCRLF != 0)
        text.remove(QStringLiteral("\r\n"));

    if (!provider.FromField.isEmpty()) {
        PageOperations::SetFormField(document, provider.MsgForm, provider.FromField, From);
        PageOperations::SetFormField(document, provider.MsgForm, provider.MsgField, text);
    } else {
        PageOperations::SetFormField(
            document, provider.MsgForm, provider.MsgField, text + QStringLiteral(" (") + From + QLatin1Char(')'));
    }

    const QString area = areaValueFor(AreaDefs, AreaCode);
    if (!provider.AreaField.isEmpty()) {
        PageOperations::SetFormField(document, provider.MsgForm, provider.AreaField, area);
        PageOperations::SetFormField(document, provider.MsgForm, provider.PhoneField, Phone);
    } else {
        PageOperations::SetFormField(document, provider.MsgForm, provider.PhoneField, area + Phone);
    }

    if (m_checking) {
        // The form stands filled, and nothing of it reaches the site. On a login the site may keep, the
        // message page is opened once more on its own, as a list's next recipient opens it.
        if (!provider.LoginUrl.isEmpty() && provider.KeepSession != 0) {
            m_sessionTry = true;
            m_following = false;
            NavFrame.clear();
            bindDocumentComplete(&TSMSBaseForm::MessagePageComplete);
            m_browser->Navigate(provider.MsgUrl);
            return;
        }
        endAttempt();
        SetStatus(ssReady);
        return;
    }
    bindDocumentComplete(&TSMSBaseForm::ResultPageComplete);
    const PageStep step = m_messageStep;
    followSubmission(top, document, step, QStringLiteral("message page"));
    // What the page shows before the submission is no answer to it.
    startWatch();
    Submitted = PageOperations::SubmissionFound(document, step.submit, step.form, step.submitLookup, step.submitValue);
    if (!Submitted) {
        Diagnostic = QStringLiteral("the message page has nothing to send its form with (submission kind %1)")
                         .arg(provider.MsgSubmit);
        m_pendingFailure = SendFailure { FailureReason::NothingToSend, QString() };
    }
    triggerSubmission(document, step);
    SetStatus(ssSending);
}

bool TSMSBaseForm::askPerson(const QString& address)
{
    PersonPage = address;
    const TProvider& provider = Providers.at(ProviderIndex);
    qCInfo(lcEngine, "%s answered with %s instead of its message page: a person must answer it",
        qPrintable(provider.Name), qPrintable(shownAddress(address)));
    if (!PersonCanAnswer)
        return false;
    if (m_checking)
        checkStep(QStringLiteral("message page"), true,
            QCoreApplication::translate("DefinitionCheck", "האתר מציג קודם את %1, שרק אדם יכול לענות עליו: עננו עליו בחלון שלו")
                .arg(shownAddress(address)));
    // The person's time is not the site's: the attempt's time-out waits, and the person has a limit of
    // their own, counted from the last page they opened.
    m_waitingForPerson = true;
    timeOutTimer->stop();
    m_following = false;
    NavFrame.clear();
    bindDocumentComplete(&TSMSBaseForm::PersonPageComplete);
    m_personTimer->start(PersonLimit);
    emit personNeeded(provider.Name, address);
    return true;
}

void TSMSBaseForm::PersonPageComplete(FrameRef frame, const QString& address)
{
    const TProvider provider = Providers.value(ProviderIndex);
    // The message page opens in the top window, or in the message frame of the top page. A frame of the
    // page's own (an advert, a picture) is no step of the person's.
    const bool topWindow = frame == m_browser->Window({});
    if (!topWindow && (provider.MsgFrame < 0 || frame != m_browser->Window({ provider.MsgFrame })))
        return;
    m_personTimer->start(PersonLimit);
    if (address != provider.MsgUrl)
        return;
    const std::shared_ptr<PageDocument> top = m_browser->Document();
    const PageDocument* document = top && provider.MsgFrame > -1 ? top->frameDocument(provider.MsgFrame) : top.get();
    if (!document || !PageOperations::FindForm(*document, provider.MsgForm))
        return;
    leavePersonWait();
    // The attempt goes on where the person brought it, with its whole time-out.
    timeOutTimer->start();
    if (m_checking
        && !checkSteps(QVector<CheckStep> { CheckStep { QStringLiteral("message page"), true,
                           QCoreApplication::translate("DefinitionCheck", "נטען בכתובת %1 אחרי תשובת האדם").arg(shownAddress(address)) } }
            + DefinitionCheck::inspectMessage(*document, provider, areaValueFor(AreaDefs, AreaCode))))
        return;
    if (!provider.LoginUrl.isEmpty())
        m_sessions.insert(loginSite(provider), UserName);
    fillMessage(*top, *document);
}

void TSMSBaseForm::leavePersonWait()
{
    if (!m_waitingForPerson)
        return;
    m_waitingForPerson = false;
    m_personTimer->stop();
    emit personDone();
}

void TSMSBaseForm::PersonCancelled()
{
    if (!m_waitingForPerson)
        return;
    if (m_workerAttempt) {
        AttemptWire::Request cancelled;
        cancelled.kind = AttemptWire::Request::Kind::PersonCancelled;
        m_worker->request(cancelled);
        return;
    }
    if (m_checking)
        checkStep(QStringLiteral("message page"), false, QCoreApplication::translate("DefinitionCheck", "דף האתר לא נענה"));
    else
        fail(ssFailed, FailureReason::PersonUnanswered);
}

void TSMSBaseForm::startWatch()
{
    m_watch.active = true;
    m_watch.samePage = true;
    if (!m_followed.isEmpty()) {
        m_watch.windows = { m_followed };
        m_watch.before = m_browser->WindowText(m_followed);
    }
    watchActivity();
}

bool TSMSBaseForm::watches(FrameRef frame) const
{
    for (const FrameRef& window : m_watch.windows) {
        if (m_browser->Contains(window, frame))
            return true;
    }
    return false;
}

void TSMSBaseForm::watchActivity()
{
    m_settleTimer->start(qMax(0, SettleTime));
}

void TSMSBaseForm::watchSettled()
{
    if (!m_watch.active)
        return;
    if (m_browser->Waiting()) {
        watchActivity();
        return;
    }
    if (Submitted)
        fail(ssTimedOut, FailureReason::NoVerdict, QString::number(SettleTime / 1000.0),
            QStringLiteral("the site gave no verdict: its pages stayed quiet for %1 s after the message was sent, "
                           "without \"%2\" or \"%3\"; the message may have been sent")
                .arg(SettleTime / 1000.0)
                .arg(Providers.value(ProviderIndex).ResAccepted, Providers.value(ProviderIndex).ResRejected));
    else
        fail(ssFailed, FailureReason::NothingToSend, QString(), Diagnostic);
}

void TSMSBaseForm::fail(TSMSStatus status, FailureReason reason, const QString& detail, const QString& diagnostic)
{
    Failure = SendFailure { reason, detail };
    // The log's words stay English whatever the interface's language.
    endWithDiagnostic(status, diagnostic.isEmpty() ? failureText(Failure) : diagnostic);
}

bool TSMSBaseForm::endedByPage(FrameRef frame, const QString& address)
{
    const QString loadError = m_browser->LoadError();
    if (!loadError.isEmpty()) {
        fail(ssFailed, FailureReason::Unreachable, loadError,
            QStringLiteral("%1 could not be reached: %2").arg(shownAddress(address), loadError));
        return true;
    }
    const int httpStatus = m_browser->HttpStatus(frame);
    if (httpStatus >= 400) {
        fail(ssFailed, FailureReason::HttpError, QString::number(httpStatus),
            QStringLiteral("the site answered with HTTP status %1 (%2)").arg(httpStatus).arg(shownAddress(address)));
        return true;
    }
    // After the login, the login form once more: the site did not take the user name and password. A person
    // who can answer the page may type them right there.
    const TProvider provider = Providers.value(ProviderIndex);
    if (m_step != &TSMSBaseForm::MessagePageComplete || provider.LoginUrl.isEmpty() || PersonCanAnswer)
        return false;
    const std::shared_ptr<PageDocument> top = m_browser->Document();
    const PageDocument* document = top && provider.LoginFrame > -1 ? top->frameDocument(provider.LoginFrame) : top.get();
    if (!document || !PageOperations::HoldsLoginForm(*document, provider))
        return false;
    fail(ssFailed, FailureReason::LoginRefused, QString(),
        QStringLiteral("the site showed its login form again after the login (%1)").arg(shownAddress(address)));
    return true;
}

void TSMSBaseForm::endWithDiagnostic(TSMSStatus status, const QString& diagnostic)
{
    Diagnostic = diagnostic;
    // The callers show it where the user looks (zelkora-cli on standard error, beside the recipient).
    if (!Diagnostic.isEmpty())
        qCInfo(lcEngine, "%s", qPrintable(Diagnostic));
    SetStatus(status);
}

void TSMSBaseForm::ResultPageComplete(FrameRef frame, const QString& address)
{
    if (!watches(frame))
        return;
    if (frame == m_followed) {
        m_watch.samePage = false;
        m_watch.loaded = true;
    }
    if (readLoadedPage(frame, address) || readVerdict(true))
        return;
    const TProvider provider = Providers.value(ProviderIndex);
    if (!provider.LoginUrl.isEmpty() && !m_watch.samePage) {
        // The site's session ended before the message: its login page instead of an answer.
        bool login = address == provider.LoginUrl;
        const std::shared_ptr<PageDocument> top = m_browser->Document();
        if (!login && top && frame == m_followed && m_browser->Contains(m_browser->Window({}), frame)) {
            const PageDocument* document = nullptr;
            try {
                document = PageOperations::WindowDocument(*top, m_followedPath);
            } catch (const BrowserError&) {
            }
            login = document && PageOperations::HoldsLoginForm(*document, provider);
        }
        if (login) {
            fail(ssFailed, FailureReason::LoginAgain, QString(),
                QStringLiteral("the site asked to log in again (%1) instead of answering the message")
                    .arg(shownAddress(address)));
            return;
        }
    }
    watchActivity();
}

bool TSMSBaseForm::readLoadedPage(FrameRef frame, const QString& address)
{
    if (frame != m_followed)
        return false;
    // An error page is no answer to the message, whatever it says: the site may never have taken it.
    const int httpStatus = m_browser->HttpStatus(frame);
    if (httpStatus >= 400) {
        fail(ssFailed, FailureReason::HttpError, QString::number(httpStatus),
            QStringLiteral("the site answered the message with HTTP status %1 (%2)")
                .arg(httpStatus)
                .arg(shownAddress(address)));
        return true;
    }
    if (!m_browser->Contains(m_browser->Window({}), frame))
        return false;
    const std::shared_ptr<PageDocument> top = m_browser->Document();
    bool denied = false;
    const PageDocument* document = nullptr;
    if (top) {
        try {
            document = PageOperations::WindowDocument(*top, m_followedPath);
        } catch (const BrowserError&) {
            denied = true;
        }
    }
    if (!document && !denied) {
        // No page of the site's: the load failed, or the frame it went to is gone.
        fail(ssFailed, FailureReason::Unreachable, m_browser->LoadError(),
            QStringLiteral("no answer to the message could be loaded: the load of %1 failed, or the window it went "
                           "to is gone")
                .arg(shownAddress(address)));
        return true;
    }
    return false;
}

bool TSMSBaseForm::readVerdict(bool changed)
{
    const TProvider provider = Providers.value(ProviderIndex);
    if (provider.ResAccepted.isEmpty()) {
        // The definition names no accepted text: any answer counts as sent, and nothing confirms it.
        if (!changed)
            return false;
        Confirmed = false;
        fail(ssSent, FailureReason::NoAcceptedText, QString(),
            QStringLiteral("the definition of %1 names no accepted text: nothing on the site's answer can confirm "
                           "the message")
                .arg(provider.Name));
        return true;
    }
    const auto shown = [this](const QString& text) {
        for (const FrameRef& window : std::as_const(m_watch.windows)) {
            const QString windowText = m_browser->WindowText(window);
            // On the page the message was submitted from, only what its scripts added since counts.
            if (window == m_followed && m_watch.samePage
                    ? windowText.count(text, Qt::CaseInsensitive) > m_watch.before.count(text, Qt::CaseInsensitive)
                    : windowText.contains(text, Qt::CaseInsensitive))
                return true;
        }
        for (const QString& dialog : std::as_const(m_watch.dialogs)) {
            if (dialog.contains(text, Qt::CaseInsensitive))
                return true;
        }
        return false;
    };
    // Acceptance is looked for first, so an answer that holds both texts counts as sent. An empty rejected
    // text is found nowhere: it cannot confirm a refusal.
    TSMSStatus verdict = ssReady;
    if (shown(provider.ResAccepted))
        verdict = ssSent;
    else if (!provider.ResRejected.isEmpty() && shown(provider.ResRejected))
        verdict = ssRejected;
    else
        return false;
    Confirmed = true;
    SetStatus(verdict);
    return true;
}

void TSMSBaseForm::WebBrowser1TextChanged(FrameRef frame, const QString&)
{
    if (!m_watch.active || !watches(frame))
        return;
    // A page still loading may yet prove an error page: its text is read when its load completes.
    if (!m_watch.loaded || !readVerdict(true))
        watchActivity();
}

void TSMSBaseForm::WebBrowser1DialogShown(FrameRef, const QString& text)
{
    // A dialog of any of the attempt's pages may carry the verdict (the page often leaves right after it).
    if (!m_watch.active)
        return;
    m_watch.dialogs << text;
    if (!readVerdict(true))
        watchActivity();
}

void TSMSBaseForm::WebBrowser1WindowOpened(FrameRef window, const QString&)
{
    if (!m_watch.active)
        return;
    m_watch.windows << window;
    if (m_watch.awaitsNewWindow && m_followed.isEmpty())
        m_followed = window;
    watchActivity();
}

void TSMSBaseForm::WebBrowser1PageLost()
{
    // No page of this attempt will ever complete.
    if (m_checking && isBusyStatus(Status))
        checkStep(QStringLiteral("browser"), false, QCoreApplication::translate("DefinitionCheck", "תהליך התצוגה של הדף הסתיים"));
    else if (isBusyStatus(Status))
        fail(ssFailed, FailureReason::BrowserStopped, QString(), QStringLiteral("the page's renderer process ended"));
}

void TSMSBaseForm::timedOut()
{
    if (m_workerAttempt) {
        // The worker's own time-out would have ended the attempt by now: it no longer answers.
        m_worker->kill();
        workerStopped(QStringLiteral("the engine worker did not answer within %1 s; it was ended")
                          .arg(timeOutTimer->interval() / 1000));
        return;
    }
    const QString seconds = QString::number(timeOutTimer->interval() / 1000);
    if (m_watch.active && Submitted) {
        Failure = SendFailure { FailureReason::NoVerdict, seconds };
        Diagnostic = QStringLiteral("the site gave no verdict within %1 s of the attempt's start; the message may have "
                                    "been sent")
                         .arg(seconds);
    } else if (!m_checking && !m_pendingFailure.isNone()) {
        // What stopped the attempt before the time ran out says more than the time-out.
        Failure = m_pendingFailure;
        Diagnostic = failureText(Failure);
    } else if (!m_checking) {
        Failure = SendFailure { FailureReason::TimedOut, seconds };
        Diagnostic = QStringLiteral("the site's pages did not arrive within %1 s").arg(seconds);
    }
    if (!Diagnostic.isEmpty())
        qCInfo(lcEngine, "%s", qPrintable(Diagnostic));
    if (m_checking && OnCheckStep) {
        const QString page = m_step == &TSMSBaseForm::LoginPageComplete ? QStringLiteral("login page")
                                                                        : QStringLiteral("message page");
        OnCheckStep(
            CheckStep { page, false, QCoreApplication::translate("DefinitionCheck", "אף דף לא נטען עד סופו תוך %1 שניות").arg(timeOutTimer->interval() / 1000) });
    }
    // A page that lacked what the definition names is a failure of its own, not a slow site.
    SetStatus(Failure.reason == FailureReason::PageUnreadable || Failure.reason == FailureReason::NothingToSend
            ? ssFailed
            : ssTimedOut);
}
