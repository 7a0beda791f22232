#pragma once

#include "engine/TSMSBaseForm.h"
#include "phonebook/PhoneBookSession.h"
#include "session/MainSession.h"
#include "session/MainView.h"

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

class EditCaret;
class FirstStepsGuide;
class TrayPresenter;
class HandsetAccess;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class TFormShaper;
class THalvernShape;
class PersonPages;
class THiddenForm;
class THistoryForm;
class TImgButton;
class TImgLed;
class TListLabel;
class TPopUpStatusForm;
class TPhoneBookForm;
class TPreferencesForm;
class TTrayIcon;
class WelcomeBox;

// The main window's components, under the names of its description.
struct MsgFormUi
{
    QLabel* devicePicture = nullptr; // the device picture; dragging it moves the window
    QLabel* bannerImage = nullptr; // the banner
    QLineEdit* senderEdit = nullptr; // sender
    TListLabel* recipientLabel = nullptr; // recipient name or the list caption
    TImgButton* phoneBookButton = nullptr; // phone book
    QPlainTextEdit* messageEdit = nullptr; // message
    QLabel* counterLabel = nullptr;
    QLineEdit* areaCodeEdit = nullptr; // area code
    TImgButton* areaMenuButton = nullptr; // area-code menu
    QLineEdit* numberEdit = nullptr; // phone number without the area code
    TImgButton* sendButton = nullptr; // send
    QLineEdit* statusLine = nullptr; // status line
    TImgLed* connectionLamp = nullptr;
    TImgButton* menuButton = nullptr; // main menu
    TImgButton* closeButton = nullptr; // close
    THalvernShape* senderFrame = nullptr;
    THalvernShape* separatorLine = nullptr; // the separator line
    THalvernShape* areaCodeFrame = nullptr;
    THalvernShape* numberFrame = nullptr;
    THalvernShape* messageFrame = nullptr;
    QLabel* senderLabel = nullptr; // "השולח:"
    QLabel* numberLabel = nullptr; // "טלפון:"
    QLabel* recipientCaption = nullptr; // "אל:"
    QLabel* messageLabel = nullptr; // "ההודעה: ("
    TTrayIcon* trayIcon = nullptr;
    QList<QIcon> trayImages; // tray images for connection states 0, 1, 2
    QMenu* mainMenu = nullptr;
    QMenu* areaMenu = nullptr; // area codes
    QAction* openAction = nullptr;
    QAction* phoneBookAction = nullptr;
    QAction* preferencesAction = nullptr;
    QAction* teachAction = nullptr; // teaching the program an operator
    QAction* sendLaterAction = nullptr;
    QAction* historyAction = nullptr;
    QAction* tellFriendsAction = nullptr;
    QAction* homePageAction = nullptr;
    QAction* helpMenuAction = nullptr; // help submenu
    QAction* localHelpAction = nullptr; // local help
    QAction* onlineHelpAction = nullptr;
    QAction* demoOperatorsAction = nullptr; // the demonstration operators, also after the first start
    QAction* aboutAction = nullptr; // About
    QAction* languagesAction = nullptr;
    QAction* exitAction = nullptr;
    TFormShaper* shaper96 = nullptr;
    TFormShaper* shaper120 = nullptr;
};

// The main window: a small skinned picture of a device that normally lives hidden behind its icon in the
// notification area and is shown to compose a message. It is a view of the program's session (MainSession),
// which holds the engine, the service connection, the banners, what is typed and the list send; the window
// keeps the components of its description and forwards their handlers. It may be destroyed and built again
// around the same session within one run (a new interface language does that).
//
// The handlers are spread over files by subject: creation, lifecycle and the menus here
// (TMsgForm.cpp), the window description (TMsgFormComponents.cpp), the skin behaviour (TMsgFormSkin.cpp),
// the status display (TMsgFormStatus.cpp), sending (TMsgFormSending.cpp), the banner space
// (TMsgFormBanners.cpp) and the side commands (TMsgFormCommands.cpp, TMsgFormTeach.cpp).
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
        // What the phone book's Outlook mode reaches the address book with; none: that mode cannot connect.
        PhoneBookSession::OutlookSteps outlookSteps {};
    };

    // Builds the window from its description around its session and runs setUp. An error inside
    // setUp reaches the general error report, and the window exists all the same.
    TMsgForm();
    explicit TMsgForm(const Options& options);
    // tearDown.
    ~TMsgForm() override;

    // The program-wide reference to the current main window; null while there is none.
    static TMsgForm* current();
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

    ServiceState& state() const { return m_session->state(); }
    ConnectionState connectionState() const { return m_session->connectionState(); }
    // The font colour of the status line, as a colour value (0x00BBGGRR).
    quint32 statusColor() const { return m_statusColor; }
    EditCaret* caret() const { return m_caret; }
    // How many status texts were shown so far: whoever showed one can tell whether another came since.
    quint64 statusCount() const { return m_statusCount; }
    // The last status text shown, wherever it went.
    QString lastStatusText() const { return m_lastStatusText; }
    // The current status window; null when none is current.
    TPopUpStatusForm* popUpStatusForm() const;
    // The phone book window while it is open.
    TPhoneBookForm* phoneBookForm() const;
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString& file) { m_helpFile = file; }

    // --- Lifecycle and commands
    // Shown and not minimised: a minimised window counts as hidden, so the toggle and a second start
    // bring it back.
    bool isShown() const;
    // Hides the window to the notification area, or minimises it where the desktop has none.
    void putAway();
    void toggleShown();
    void closeWindow();
    void exitClicked();
    bool isRectCovered(const QRect& screenRect) const;
    bool isWindowCovered() const;
    bool isBannerCovered() const;
    void menuClicked();
    void closeClicked();
    void trayDoubleClicked();
    void bannerClicked();

    // --- Composing
    void updateCharCount();
    void numberChanged();
    void buildAreaMenu();
    void areaChosen(const QString& areaCode);
    // The area-code menu under its button, its first item selected, for the keyboard.
    void openAreaMenuFromKeyboard();
    void areaMenuPressed(const QPoint& pressed);
    // The recipient list is dropped after the user agreed (status window's button, area-code button):
    // true when it was.
    bool offerToDropRecipientList();
    // Puts what the session holds as composed into the fields (the window built again in another language).
    void showComposition();

    // --- Status display
    void setStatusColor(quint32 colorValue);
    void showStatusText(const QString& text);
    // A status window closes: the running list send stops when it was the current one and its button
    // still offered to cancel.
    void popUpStatusClosed(TPopUpStatusForm* form, bool cancelButton);
    // A status window owned by this window, wired to it.
    TPopUpStatusForm* makeStatusWindow();

    // --- Skin
    void fieldEntered(QLineEdit* edit);
    void statusLineEntered();
    void windowActivated();
    // The outline for a screen density: 96 and 120 pixels per inch cut the window to the device picture,
    // any other density gives an ordinary framed window sized to its contents.
    void chooseOutline(int dotsPerInch);
    // The logical density of the window's screen in pixels per inch.
    int screenDensity() const;
    bool isShaped() const;
    // Whether the window system cuts windows to an outline (X11). Elsewhere an outlined window is drawn
    // transparent outside the outline, and the outline only limits where it takes the mouse.
    static bool platformShapesWindows();
    // Whether the window is drawn with an alpha channel, transparent outside its outline.
    bool isCutOut() const;

    // --- Commands with windows of their own
    void sendClicked();
    void phoneBookClicked();
    // The menu item: the preferences as the user asked for them.
    void preferencesClicked() { openPreferences(true); }
    // The preferences dialog; opened by the program (the send workflow), it shows the provider of the
    // area code in the window.
    void openPreferences(bool byUser);
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
    THistoryForm* historyForm() const;

    // --- First steps (TMsgFormWelcome.cpp)
    // Whether the program knows any provider at all (the service's, the cache's or the user's own).
    bool providersKnown() const;
    // The welcome box of the first start while it is open.
    WelcomeBox* welcomeBox() const;
    // The preferences on the tab of the service address, with the focus in its field.
    void openServiceAddress();

    // --- MainView
    void showConnectionState(ConnectionState state) override;
    void showStatus(const QString& text, StatusKind kind) override;
    void areaCodesChanged() override { buildAreaMenu(); }
    void setOnlineHelpEnabled(bool enabled) override;
    void displayBanner(const QImage& picture) override;
    bool windowShown() const override { return isShown(); }
    bool bannerCovered() const override { return isBannerCovered(); }
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

signals:
    // The window was shown or hidden by toggleShown.
    void toggled(bool visible);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The recipient fields for one recipient, or for a list (the fields emptied and disabled).
    void showRecipient(const QString& name, const QString& area, const QString& phone);
    void showRecipientList(const QStringList& list);
    // The fields as the user left them, into the session's composition.
    void keepComposition();
    void createComponents();
    void createMenus();
    // The area-code menu's keys on the area-code field (Alt+Down, the menu key); true when it took the key.
    bool areaMenuKey(QObject* watched, QEvent* event);
    void applySkin();
    void setUp();
    void tearDown();
    void setRecipientFieldsEnabled(bool enabled);
    void focusFirstEmptyField();
    bool dragBackground(QEvent* event);
    // The skin's pictures for the pixel density of the window's screen: again when the window moves to
    // another screen.
    void dressSkin();
    // The device picture's image, cut to the outline when the window is drawn transparent outside it.
    void dressBackground();
    const TFormShaper* activeShaper() const;
    void placeOnScreen();
    TSMSBaseForm& engine() const { return m_session->engine(); }

    Options m_options;
    std::unique_ptr<MainSession> m_ownSession;
    MainSession* m_session = nullptr;
    PersonPages* m_personPages = nullptr;
    MsgFormUi m_ui;
    QPointer<TPopUpStatusForm> m_popUpStatusForm;
    QPointer<TPreferencesForm> m_preferencesForm;
    QPointer<TPhoneBookForm> m_phoneBookForm;
    QString m_lastStatusText;
    QString m_helpFile;
    int m_languageHolds = 0;
    EditCaret* m_caret = nullptr;
    quint32 m_statusColor = 0;
    TrayPresenter* m_tray = nullptr;
    HandsetAccess* m_access = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
    // The device picture's image as drawn, before any cut, at the density of the window's screen.
    QPixmap m_background;
    bool m_showing = false; // toggleShown is showing the window
    bool m_closing = false; // closeWindow is cancelling the attempt
    bool m_restoring = false; // showComposition is filling the fields

    FirstStepsGuide* m_firstSteps = nullptr;
    quint64 m_statusCount = 0; // how many status texts were shown
};
