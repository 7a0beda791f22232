#pragma once

#include "HandsetBuilder.h"
#include "engine/TSMSBaseForm.h"
#include "phonebook/PhoneBookSession.h"
#include "session/MainSession.h"
#include "session/MainView.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class CompositionFields;
class EditCaret;
class FirstFrameWork;
class FirstStepsGuide;
class HandsetAccess;
class HandsetSkin;
class PersonPages;
class TeachWorker;
class StatusDisplay;
class THiddenForm;
class THistoryForm;
class TPhoneBookForm;
class TPopUpStatusForm;
class TPreferencesForm;
class TrayPresenter;
class WelcomeBox;

// The main window: a small skinned picture of a device that normally lives hidden behind its icon in the
// notification area and is shown to compose a message. It is a view of the program's session (MainSession),
// which holds the engine, the service connection, the banners, what is typed and the sends. The window builds
// its components (HandsetBuilder), shows what the session tells it through MainView, and forwards the user's
// actions; its parts each keep one concern: the skin (HandsetSkin), the fields and the composition
// (CompositionFields), the status texts (StatusDisplay), the tray (TrayPresenter), the keyboard and screen
// readers (HandsetAccess) and a new user's first steps (FirstStepsGuide). It may be destroyed and built
// again around the same session within one run (a new interface language does that).
//
// Its own files: lifecycle and the menus (TMsgForm.cpp), sending and the phone book (TMsgFormSending.cpp),
// the history and the queue (TMsgFormHistory.cpp), the side commands (TMsgFormCommands.cpp,
// TMsgFormTeach.cpp) and the first steps (TMsgFormWelcome.cpp).
class TMsgForm : public QWidget, public MainView
{
    Q_OBJECT
public:
    struct Options
    {
        // The hidden root window that ends the program; the exit command posts UM_SHUTDOWN to it.
        THiddenForm* hiddenForm = nullptr;
        // Replaces the browser library (tests); empty: the real one, with its version check.
        TSMSBaseForm::BrowserMaker makeBrowser;
        // The session the window shows; null: a session of the window's own, made with makeBrowser.
        MainSession* session = nullptr;
        // What the phone book's address-book mode reaches the address book with; none: that mode cannot
        // connect.
        PhoneBookSession::OutlookSteps outlookSteps {};
    };

    // Builds the window around its session and sets it up; the session reports what fails in its start-up,
    // and the window exists all the same.
    TMsgForm();
    explicit TMsgForm(const Options& options);
    ~TMsgForm() override;

    // What the window was made with; a window that replaces it is made with the same.
    const Options& options() const { return m_options; }
    MainSession& session() const { return *m_session; }
    // The windows in which a person answers an operator's site during a send.
    PersonPages* personPages() const { return m_personPages; }
    // The session the window made for itself, for a window built in its place (the language switch); null
    // when the window was given its session.
    std::unique_ptr<MainSession> takeSession();
    void adoptSession(std::unique_ptr<MainSession> session);
    const MsgFormUi& ui() const { return m_ui; }
    HandsetSkin& skin() const { return *m_skin; }
    CompositionFields& fields() const { return *m_fields; }
    StatusDisplay& statusDisplay() const { return *m_status; }
    EditCaret* caret() const { return m_caret; }
    // The current status window; null when none is current.
    TPopUpStatusForm* popUpStatusForm() const;
    // The phone book window while it is open.
    TPhoneBookForm* phoneBookForm() const;
    THistoryForm* historyForm() const;
    // The welcome box of the first start while it is open.
    WelcomeBox* welcomeBox() const;
    void setHelpFile(const QString& file) { m_helpFile = file; }

    // --- Showing and hiding
    // Shown and not minimised: a minimised window counts as hidden, so the toggle and a second start
    // bring it back.
    bool isShown() const;
    // Hides the window to the notification area, or minimises it where the desktop has none.
    void putAway();
    void toggleShown();
    // Posts the request that shows the window once the events waiting have run; work handed to afterFirstFrame
    // until then waits for the window's first frame.
    void postShowRequest();
    // The close button: the attempt under way is cancelled and the window hidden.
    void closeWindow();
    void exitClicked();
    bool isWindowCovered() const;

    // --- The user's commands
    void menuClicked();
    void sendClicked();
    void phoneBookClicked();
    // The menu item: the preferences as the user asked for them.
    void preferencesClicked() { openPreferences(true); }
    // The preferences on the tab of the service address, with the focus in its field.
    void openServiceAddress();
    void tellFriendsClicked();
    void showHelp();
    void showAbout();
    void languagesClicked();
    // The Languages item is disabled while any window that a rebuild of this one would take down is open:
    // each such window holds it once and lets go once.
    void holdLanguages(bool hold);
    // Holds the Languages item until `window` is destroyed.
    void holdLanguagesWhileOpen(QWidget* window);
    // Opens the teach window, or brings the open one forward. A definition it saves goes into the provider
    // list at once.
    void teachClicked();
    // Opens the history window, or brings the open one forward.
    void historyClicked();
    // The history window, with the entry of `id` chosen.
    void showHistoryEntry(qint64 id);
    // The composition goes into the queue for a time the user picks.
    void sendLaterClicked();

    // --- MainView
    void showConnectionState(ConnectionState state) override;
    void showStatus(const QString& text, StatusKind kind) override;
    void areaCodesChanged() override;
    void setOnlineHelpEnabled(bool enabled) override;
    void displayBanner(const QImage& picture) override;
    bool windowShown() const override { return isShown(); }
    bool bannerCovered() const override;
    void minimiseIfCovered() override;
    void openPreferencesForSend() override { openPreferences(false); }
    void beginList(const QStringList& names) override;
    void endList(bool cancelled) override;
    void compositionChanged() override;
    void showMissedSends(const QList<HistoryEntry>& entries) override;
    void showNextScheduled(const HistoryEntry* next) override;
    void historyChanged() override;
    void queuedSendEnded(const HistoryEntry& entry) override;
    void showDemoState(DemoState state, const QString& reason) override;
    void afterFirstFrame(std::function<void()> work) override;

signals:
    // The window was shown or hidden by toggleShown.
    void toggled(bool visible);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectCommands();
    void setUp();
    void tearDown();
    // The preferences dialog; opened by the program (the send workflow), it shows the provider of the area
    // code in the window.
    void openPreferences(bool byUser);
    bool isRectCovered(const QRect& screenRect) const;
    // The teach window in a worker of its own, when the engine's attempts run in the worker; false when no
    // worker could be started.
    bool teachInWorker();
    void comeBackAfterTeaching();
    // A definition written in the teach window goes into the provider list at once.
    void definitionSaved();

    Options m_options;
    std::unique_ptr<MainSession> m_ownSession;
    MainSession* m_session = nullptr;
    PersonPages* m_personPages = nullptr;
    MsgFormUi m_ui;
    HandsetSkin* m_skin = nullptr;
    CompositionFields* m_fields = nullptr;
    StatusDisplay* m_status = nullptr;
    TrayPresenter* m_tray = nullptr;
    HandsetAccess* m_access = nullptr;
    FirstStepsGuide* m_firstSteps = nullptr;
    EditCaret* m_caret = nullptr;
    QPointer<TPreferencesForm> m_preferencesForm;
    QPointer<TPhoneBookForm> m_phoneBookForm;
    TeachWorker* m_teachWorker = nullptr;
    bool m_shownWhenTeaching = false; // the handset was shown when the teach window opened
    QString m_helpFile;
    int m_languageHolds = 0;
    bool m_showing = false; // toggleShown is showing the window
    FirstFrameWork* m_firstFrameWork = nullptr;
};
