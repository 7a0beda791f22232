#pragma once

#include "DefinitionCheck.h"
#include "IWebBrowser.h"
#include "common/SendFailure.h"
#include "common/SendOutcome.h"
#include "service/TProvider.h"

#include <QHash>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

class WorkerClient;
namespace AttemptWire {
struct Report;
}

// The one-byte status of a send attempt. 2 to 5 are busy; 0 and 6 to 9 end an attempt.
enum TSMSStatus : quint8
{
    ssCancelled = 0,
    ssReady = 1,
    ssConnecting = 2,
    ssIdentifying = 3,
    ssIdentified = 4,
    ssSending = 5,
    ssSent = 6,
    ssRejected = 7,
    ssFailed = 8,
    ssTimedOut = 9,
};

inline bool isBusyStatus(TSMSStatus status)
{
    return status >= ssConnecting && status <= ssSending;
}

// The status's own name, as "ssSent".
inline const char* statusName(TSMSStatus status)
{
    static const char* const names[] = { "ssCancelled", "ssReady", "ssConnecting", "ssIdentifying", "ssIdentified",
        "ssSending", "ssSent", "ssRejected", "ssFailed", "ssTimedOut" };
    return status <= ssTimedOut ? names[status] : "";
}

// The sending engine: one send attempt through one provider's web site, driven as a chain of browser events
// and reported status by status. The browser is made at the first attempt and lives as long as the engine.
class TSMSBaseForm : public QObject
{
    Q_OBJECT
public:
    using StatusCallback = std::function<void(TSMSStatus)>;
    using BrowserMaker = std::function<std::unique_ptr<IWebBrowser>(QObject* parent)>;

    // Checks the embedded browser's version first: a missing or too old browser ends the program with exit
    // code 1 after telling the user. `makeBrowser` replaces the browser library (tests).
    explicit TSMSBaseForm(QObject* parent = nullptr, BrowserMaker makeBrowser = {});
    ~TSMSBaseForm() override;

    void Send(const QString& from, const QString& areaCode, const QString& phone, const QString& message,
        const QString& userName, const QString& password);
    // A dry run of Send: the same pages under the same rules, each step reported to OnCheckStep as it is
    // taken. The login is submitted, since the message page lies behind it, but the message form, once
    // filled, is not. Ends with ssReady when a send would have reached the message's submission, with
    // ssFailed or ssTimedOut (after naming the step that failed) otherwise.
    void Check(const QString& from, const QString& areaCode, const QString& phone, const QString& message,
        const QString& userName, const QString& password);
    bool Checking() const { return m_checking; }
    void SendNow();
    void Cancel();
    void Abort();
    void SetStatus(TSMSStatus status);
    int FindProviderByArea(const QString& areaCode) const;

    TSMSStatus Status = ssReady;
    QString Phone;
    QString From;
    QString UserName;
    QString Password;
    QString AreaCode;
    QString Message;
    FrameRef NavFrame;
    TProviders Providers;
    StatusCallback OnStatus;
    std::function<void(const CheckStep&)> OnCheckStep;
    QStringList AreaDefs;
    qint32 ProviderIndex = -1;
    qint32 TimeOut = 0;
    // Whether the last attempt's result said so in words: true when ResAccepted or ResRejected appeared,
    // false for a definition without an accepted text (sent, but nothing could confirm it) and for an attempt
    // that ended otherwise.
    bool Confirmed = false;
    // Whether the last attempt's message submission left for the site: set the moment it is triggered. An
    // attempt that ends after it without a verdict may have delivered the message.
    bool Submitted = false;
    // Why the last attempt ended as it did, in words for a log or a terminal (never a credential); empty for
    // a verdict of the site's.
    QString Diagnostic;
    // Why the last attempt did not end with the site's acceptance, as a value the history keeps and every
    // interface words in its language (failureText); none for a verdict of the site's.
    SendFailure Failure;
    // After the message submission, how long the pages the watch follows may stay quiet (no load, no change
    // of their text, nothing under way) before the watch gives up on a verdict, in milliseconds.
    int SettleTime = 4000;
    // What became of the last attempt.
    SendOutcome Outcome() const { return sendOutcome(Status, Submitted, Confirmed); }

    // Someone can show the browser's page to a person (a window that listens to personNeeded). Then an
    // attempt that meets another page than the message page after the login, or a message page without
    // its form, waits for the person to answer that page instead of failing; its time-out pauses meanwhile.
    bool PersonCanAnswer = false;
    // How long a person may leave the page without a page load before the attempt fails: 5 minutes.
    int PersonLimit = 300000;
    // The page of the last attempt that needed a person (whether or not one could answer it); empty when
    // none did.
    QString PersonPage;
    bool waitingForPerson() const { return m_waitingForPerson; }
    // The person gave up (Cancel, or closed the window): the attempt fails.
    void PersonCancelled();
    // With the worker, the worker shows the page that waits for a person itself: in the language module
    // and over the part of the screen this gives at each attempt (the program's interface and its window).
    std::function<std::pair<QString, QRect>()> PersonWindowPlace;

    // The attempt may use a login of the attempts before it: a list sets it for each recipient after its
    // first. When an earlier attempt logged in to the same provider with the same user name (and no login to
    // that site came since) and the provider keeps sessions (KeepSession), it opens the message page directly and fills it without logging in; a
    // site that asks to log in instead (another page, its login form, no message form) gets the login as
    // usual. Set before Send; a dry run always logs in.
    bool KeepSession = false;
    // Whether the last attempt went straight to the message page on the login it kept.
    bool UsedKeptSession() const { return m_keptSession; }

    QTimer* timeOutTimer = nullptr;

    // Attempts run in the engine worker (zelkora-engine) instead of a browser of this process: the statuses,
    // findings and check steps are the worker's engine's, mirrored here. A worker that dies or no longer
    // answers (the attempt's time-out and a margin) ends the attempt with "the browser stopped". Null: here.
    void useWorker(WorkerClient* worker);
    WorkerClient* worker() const { return m_worker; }

    // The browser, made on first use; null before the first attempt.
    IWebBrowser* WebBrowser1() const { return m_browser.get(); }

    // The time-out in force for the next attempt, in milliseconds.
    int timeOutInterval() const;

signals:
    // Every status, right after OnStatus has had it; for those who wait for an attempt's end.
    void statusChanged(TSMSStatus status);
    // The attempt waits for a person to answer the page at `address` on `provider`'s site, in the browser's
    // own page (WebBrowser1()->pageView()).
    void personNeeded(const QString& provider, const QString& address);
    // The wait is over: the message page opened, or the attempt ended. The page's window closes.
    void personDone();

private:
    // Send and Check: the attempt's values, then SendNow.
    void start(bool checking, const QString& from, const QString& areaCode, const QString& phone,
        const QString& message, const QString& userName, const QString& password);
    using StepHandler = void (TSMSBaseForm::*)(FrameRef, const QString&);

    IWebBrowser* browser();
    void bindDocumentComplete(StepHandler handler);
    void dispatchDocumentComplete(FrameRef frame, const QString& address);
    // The document a step works on, the top-level one or that of the step's frame; null after failing the
    // attempt when there is none or the loaded address is not the step's. `top` keeps it alive.
    const PageDocument* stepDocument(
        std::shared_ptr<PageDocument>& top, const PageStep& step, const QString& address, const QString& page);
    // Ends an attempt: no step bound, no time-out running, the browser on a blank page.
    void endAttempt();
    // In a dry run, hands the step on; a failed step ends the run with ssFailed. Returns whether it passed.
    bool checkStep(const QString& step, bool passed, const QString& detail);
    bool checkSteps(const QVector<CheckStep>& steps);
    void triggerSubmission(const PageDocument& document, const PageStep& step);
    // From a submission on, the next step waits for the window the submission goes to and for no other.
    void followSubmission(
        const PageDocument& top, const PageDocument& document, const PageStep& step, const QString& page);
    // The watch after the message submission: every event of the windows it follows, until a verdict.
    void startWatch();
    bool watches(FrameRef frame) const;
    // Looks for a verdict in the followed windows' text and in the dialogs' texts; ends the attempt with it
    // and returns true when there is one. `changed`: something new was shown since the submission.
    bool readVerdict(bool changed);
    // A document of a followed window completed: an error page or the site's login page ends the attempt.
    bool readLoadedPage(FrameRef frame, const QString& address);
    // Something happened in a followed window: the quiet period begins anew.
    void watchActivity();
    void watchSettled();
    void endWithDiagnostic(TSMSStatus status, const QString& diagnostic);
    // Ends the attempt with `status` for `reason`; `diagnostic` (English, for the log) defaults to the reason's
    // words.
    void fail(TSMSStatus status, FailureReason reason, const QString& detail = QString(),
        const QString& diagnostic = QString());
    // A page that completed in place of the one a step expected and that says by itself why: the browser's
    // page for a load that failed, an HTTP error, or the login form again after the login. Ends the attempt
    // and returns true for such a page.
    bool endedByPage(FrameRef frame, const QString& address);
    void WebBrowser1TextChanged(FrameRef frame, const QString& address);
    void WebBrowser1DialogShown(FrameRef frame, const QString& text);
    void WebBrowser1WindowOpened(FrameRef window, const QString& address);
    // The message step on a message page: fills and submits its form.
    void fillMessage(const PageDocument& top, const PageDocument& document);
    // The attempt opened the message page on the login it kept: the page's document when it holds the
    // message form (at the top or in the message frame) and not the login form, with m_messageStep set to
    // where it is; null when the site asks for a login.
    const PageDocument* keptMessagePage(const PageDocument* top, const QString& address);
    // Whose login the browser may hold: the provider and its login page.
    static QString loginSite(const TProvider& provider);
    // The page the login led to is not the message page: a person answers it when one can; false when
    // the attempt is to fail instead.
    bool askPerson(const QString& address);
    void leavePersonWait();

    void WebBrowser1NavigateComplete2(FrameRef frame, const QString& address);
    void LoginPageComplete(FrameRef frame, const QString& address);
    void MessagePageComplete(FrameRef frame, const QString& address);
    void ResultPageComplete(FrameRef frame, const QString& address);
    void PersonPageComplete(FrameRef frame, const QString& address);
    void WebBrowser1PageLost();
    void timedOut();

    BrowserMaker m_makeBrowser;
    std::unique_ptr<IWebBrowser> m_browser;
    StepHandler m_step = nullptr;
    bool m_checking = false;
    // A reason met on the way that the attempt may still get past (a page completed without the form its step
    // needs, where a later completion may hold it); the time-out ends the attempt with it.
    SendFailure m_pendingFailure;
    // Set by a submission: the window whose navigation the next step waits for, as a path of frame numbers
    // and as the browser's reference (empty when the submission goes to a window no step can follow).
    bool m_following = false;
    bool m_waitingForPerson = false;
    QTimer* m_personTimer = nullptr;
    QList<int> m_followedPath;
    FrameRef m_followed;
    // The message page's step of this attempt: the definition's, or where a message page opened on a kept
    // login holds its form.
    PageStep m_messageStep;
    // The logins the browser holds, by site (loginSite), each with its user name: from a login that reached
    // the message page, until a new login to that site or the site asks for one.
    QHash<QString, QString> m_sessions;
    // This attempt opened the message page on the login it kept; m_sessionTry until that page completed.
    bool m_keptSession = false;
    bool m_sessionTry = false;

    // The watch for the site's verdict, from the message submission to the end of the attempt.
    struct Watch
    {
        bool active = false;
        // The submission goes to a window that does not exist yet: the first window the page opens.
        bool awaitsNewWindow = false;
        // The windows whose text may hold the verdict: the followed one and those the page opened since.
        QList<FrameRef> windows;
        // The followed window still shows the page the message was submitted from, whose text before the
        // submission (`before`) is no verdict: only what is added to it is.
        bool samePage = true;
        QString before;
        // The followed window's document has completed since it last navigated: its HTTP status is known,
        // and an error page's text is never taken for a verdict.
        bool loaded = true;
        QStringList dialogs;
    };
    Watch m_watch;
    QTimer* m_settleTimer = nullptr;
    WorkerClient* m_worker = nullptr;
    bool m_workerAttempt = false; // an attempt runs in the worker
    qint64 m_workerAttemptNumber = 0; // the last attempt handed to the worker
    void workerReported(const AttemptWire::Report& report);
    void workerStopped(const QString& diagnostic);
    // The attempt under way in the worker is over for this side: the worker may be let go.
    void leaveWorkerAttempt();
    // Asks the worker to give up the attempt under way, if one is.
    void cancelWorkerAttempt();
};
