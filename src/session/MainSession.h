#pragma once

#include "engine/TSMSBaseForm.h"
#include "sending/SendWorkflow.h"
#include "sending/SendWorkflowHost.h"
#include "session/BannerRotation.h"
#include "session/MainView.h"
#include "session/SendQueue.h"
#include "session/ServiceConnectionHost.h"
#include "settings/PreferencesHost.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

class DemoRun;
class HistoryStore;
struct HistoryEntry;
class MainView;
class ServiceConnection;
class ServiceState;

// The program's session without widgets: the sending engine, the service state and connection, the banner
// rotation, the send workflow, what the user is composing and the state of a list send. It outlives the main
// window that shows it: the language switch takes the window down and builds a new one around the same
// session, which then keeps what was typed. One shutdown() serves the exit command and the rebuild.
//
// It is the host of every part it owns, and it reaches the window through one MainView.
class MainSession : public QObject,
                    public ServiceConnectionHost,
                    public SendWorkflowHost,
                    public BannerRotationHost,
                    public PreferencesHost,
                    public SendQueueHost
{
    Q_OBJECT
public:
    // What the user composed: the send command's reading of the fields, with the recipient's name as shown
    // for one recipient.
    using Composition = SendWorkflow::Composition;

    // `makeBrowser` replaces the browser library (tests); empty: the real one, whose version the engine
    // checks at its construction, ending the program there when it is missing or too old.
    explicit MainSession(TSMSBaseForm::BrowserMaker makeBrowser = {}, QObject* parent = nullptr);
    ~MainSession() override;

    // The window that shows the session; null: none (the session goes on without one).
    void setView(MainView* view);
    MainView* view() const override { return m_view; }

    // The session's part of the main window's creation: the online test, the language, the settings (the
    // last single send's values become the composition at the first start), the provider cache, the banner
    // table (its list wins over the cache's), the credentials, connection state 0 and the first
    // initialisation request one second later.
    void startUp();
    // Everything that must not run on once the window is gone: the timers, the request in flight and the
    // engine's attempt (silently) stop, and the banner table is kept. The exit command and the language
    // switch both end here.
    void shutdown();

    TSMSBaseForm& engine() const { return *m_engine; }
    ServiceState& state() const { return *m_state; }
    ServiceConnection& service() const { return *m_service; }
    BannerRotation& banners() const { return *m_banners; }
    SendWorkflow& workflow() const { return *m_workflow; }

    Composition& composition() { return m_composition; }
    const Composition& composition() const { return m_composition; }

    // The send command on what was composed.
    void send();
    // Every status of the engine, in its text and colour.
    void SendResult(TSMSStatus status);
    // The list send under way stops after its current recipient.
    void cancelList();
    // The attempt under way stops (the window's close button during a send).
    void cancelSend() { m_engine->Cancel(); }

    // What the window offers and opens, as the definitions in force have it.
    bool providersKnown() const { return !m_engine->Providers.isEmpty(); }
    const QStringList& areaDefs() const { return m_engine->AreaDefs; }
    // The name of the provider that serves the area code; empty when none does.
    QString providerNameForArea(const QString& areaCode) const;
    // A definition file of the user's was written: the definitions are read again.
    void localDefinitionsChanged();
    void openHomePage();
    // The program's home page, as the service or the settings give it.
    QString homePage() const;
    void openOnlineHelp();
    void bannerClicked();

    ConnectionState connectionState() const override;
    // Whether the user asked the list send under way to stop.
    bool cancelRequested() const override { return m_cancelRequested; }
    // Opens an address in the desktop's browser or mail program; false when none took it.
    bool openUrl(const QUrl& url) override { return ServiceConnectionHost::openUrl(url); }
    bool online() const { return m_online; }
    // As the last online test found it (CheckOnline); the send command reads it.
    void setOnline(bool online) { m_online = online; }
    bool usePopupStatus() const { return m_usePopupStatus; }
    QString languageCode() const { return m_languageCode; }
    void setLanguageCode(const QString& code) { m_languageCode = code; }
    int currentRecipient() const { return m_currentRecipient; }
    bool listSending() const;
    StatusPlace statusPlace() const;
    // The message of the send under way, as the engine got it.
    QString messageText() const { return m_messageText; }

    // --- History and the queue of sends set for later
    // history.db, opened at its first use.
    HistoryStore& history();
    // The composition, checked as the send command checks it, goes into the queue for `due`: one entry per
    // recipient. The refusal's text, empty when it was queued.
    QString scheduleComposition(const QDateTime& due);
    // Sends the first queued send that is due, when the engine is free; the queue's timer calls it.
    void sendDue();
    void setQueueInterval(int milliseconds);
    void missedSendChoice(qint64 id, MissedSendChoice choice);
    // The queued sends this run holds back until the user says what becomes of them.
    QSet<qint64> heldSends() const;
    // The queue changed (a send set for later, changed or dropped): the window's tray tip and history follow.
    void queueChanged();
    // The history window's "send again": a finished entry, or the not-sent recipients of a list, become the
    // composition the window shows.
    void composeAgain(const HistoryEntry& entry);
    void composeNotSentOfList(qint64 listId);
    // An sms: or smsto: link from a web page or a mail: its recipients and text become the composition the
    // window shows (several recipients a list); nothing is sent. A number that could not be read is named in
    // the status line. False when the text is not such a link.
    bool openSmsLink(const QString& link);
    // The list this session sent last, when some of its recipients were not sent; else 0.
    qint64 lastListNotSent() const;

    // Starts the demo operators (the package's sandbox network on this computer) for this run (DemoRun); the
    // view hears how it goes. Nothing when they were started already.
    void startDemo();
    bool demoRunning() const;

    // "adcache.dat" in the data folder: the banner table between runs.
    static QString bannerTableFile();
    void saveBannerTable();

protected:
    bool event(QEvent* event) override;

signals:
    // Something was written to the history or the queue changed.
    void historyChanged();
    // The service answered a request for definitions or a statistics report (or the request ended without
    // one): the definitions in force may have changed.
    void serviceAnswered();
    // A banner went into the banner space; `name` is its name as the service gave it.
    void bannerShown(const QString& name);

private:
    // The hosts' side: the parts the session owns reach it through these, and no one else does.
    // --- SendQueueHost (with view() above)
    void reloadChangedDefinitions() override;

    // --- ServiceConnectionHost
    bool engineBusy() const override;
    bool checkOnline() override;
    void setConnectionState(ConnectionState state) override;
    void areaDefsChanged() override;
    void setOnlineHelpEnabled(bool enabled) override;
    void startBannerTimer(int milliseconds) override;
    void minimiseIfCovered() override;
    QObject* messageReceiver() override { return this; }

    // --- SendWorkflowHost
    bool isOnline() const override { return m_online; }
    bool ask(const QString& question) override;
    void reportError(const QString& text) override;
    void suspendServiceRequests(bool suspended) override;
    void saveLastUsed() override;
    QString credentialsMissing(const TProvider& provider, bool listSend) override;
    bool acceptLoginOrigin(const TProvider& provider, const QString& origin) override;
    void bindLoginOrigin(const TProvider& provider, const QString& origin) override;
    void beginList(const QStringList& names) override;
    void setCurrentRecipient(int index) override { m_currentRecipient = index; }
    void endList(bool cancelled) override;
    void setCancelRequested(bool requested) override { m_cancelRequested = requested; }

    // --- BannerRotationHost (with checkOnline and minimiseIfCovered above)
    bool windowShown() const override;
    bool bannerCovered() const override;
    void displayBanner(const QImage& picture) override;

    // --- PreferencesHost
    TProviders& providers() override { return m_engine->Providers; }
    bool definitionsAvailable() const override;
    void setUsePopupStatus(bool on) override { m_usePopupStatus = on; }
    void setSendTimeOut(int seconds) override { m_engine->TimeOut = seconds; }
    void serviceUrlChanged() override;

    void loadBannerTable();
    // A composition made by the session (the history's "send again"), for the view to show.
    void showComposition(const Composition& composition);

    MainView* m_view = nullptr;
    TSMSBaseForm* m_engine = nullptr;
    std::unique_ptr<ServiceState> m_state;
    ServiceConnection* m_service = nullptr;
    std::unique_ptr<SendWorkflow> m_workflow;
    BannerRotation* m_banners = nullptr;
    SendQueue* m_queue = nullptr;
    DemoRun* m_demo = nullptr;

    Composition m_composition;
    bool m_started = false; // the composition came from SMS.INI once; a rebuilt window keeps it
    bool m_online = false;
    bool m_usePopupStatus = false;
    bool m_cancelRequested = false;
    int m_currentRecipient = 0;
    QString m_languageCode;
    QString m_messageText;
};
