#pragma once

#include "engine/TSMSBaseForm.h"
#include "sending/SendWorkflow.h"
#include "sending/SendWorkflowHost.h"
#include "session/BannerRotation.h"
#include "session/ServiceConnectionHost.h"
#include "settings/PreferencesHost.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

class EditCaret;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTimer;
class ServiceConnection;
class ServiceState;
class TAdvHttp;
class TFormShaper;
class THalvernShape;
class THiddenForm;
class TImgButton;
class TImgLed;
class TListLabel;
class TPopUpStatusForm;
class TPhoneBookForm;
class TPreferencesForm;
class TTrayIcon;

// The main window: a small skinned picture of a device that normally lives hidden behind its icon in the
// notification area and is shown to compose a message. It owns the sending engine, the service connection
// (HTTP component, timers, service state and banner tables) and the status display, and it may be destroyed
// and made again within one run (a new interface language does that), so all it sets up in its creation it
// tears down in its destruction.
//
// The handlers are spread over files by subject: creation, lifecycle and the menus here
// (TMsgForm.cpp), the window description (TMsgFormComponents.cpp), the skin behaviour (TMsgFormSkin.cpp),
// the status display (TMsgFormStatus.cpp) and sending (TMsgFormSending.cpp, the window's side of the send
// workflow), the banner space (TMsgFormBanners.cpp, the window's side of the banner rotation) and the side
// commands (TMsgFormCommands.cpp).
class TMsgForm : public QWidget,
                 public ServiceConnectionHost,
                 public SendWorkflowHost,
                 public PreferencesHost,
                 public BannerRotationHost
{
    Q_OBJECT
public:
    struct Options
    {
        // The hidden root window that ends the program; the exit command posts UM_SHUTDOWN to it.
        THiddenForm* hiddenForm = nullptr;
        // Replaces the browser library (tests); empty: the real one, with its version check.
        TSMSBaseForm::BrowserMaker makeBrowser;
    };

    // Builds the window from its description and runs FormCreate. An error inside FormCreate reaches the
    // general error report, and the window exists all the same.
    TMsgForm();
    explicit TMsgForm(const Options& options);
    // FormDestroy.
    ~TMsgForm() override;

    // The program-wide reference to the current main window; null while there is none.
    static TMsgForm* current();
    // What the window was made with; a window that replaces it is made with the same.
    const Options& options() const { return m_options; }

    // --- Components (object names as the window description declares them)
    QLabel* Image1 = nullptr; // the device picture; dragging it moves the window
    QLabel* Image2 = nullptr; // the banner
    QLineEdit* Edit2 = nullptr; // sender
    TListLabel* ToLabel = nullptr; // recipient name or the list caption
    TImgButton* SpeedButton1 = nullptr; // phone book
    QPlainTextEdit* Memo1 = nullptr; // message
    QLabel* CharCount = nullptr;
    QLineEdit* ComboBox1 = nullptr; // area code
    TImgButton* ImgButton2 = nullptr; // area-code menu
    QLineEdit* Edit1 = nullptr; // phone number without the area code
    TImgButton* Button1 = nullptr; // send
    QLineEdit* Panel1 = nullptr; // status line
    TImgLed* Led = nullptr;
    TImgButton* ImgButton5 = nullptr; // main menu
    TImgButton* ImgButton4 = nullptr; // close
    THalvernShape* Shape1 = nullptr;
    THalvernShape* Shape5 = nullptr; // the separator line
    THalvernShape* HalvernShape1 = nullptr;
    THalvernShape* HalvernShape2 = nullptr;
    THalvernShape* HalvernShape3 = nullptr;
    QLabel* Label1 = nullptr; // "השולח:"
    QLabel* Label2 = nullptr; // "טלפון:"
    QLabel* Label3 = nullptr; // "אל:"
    QLabel* Label4 = nullptr; // "ההודעה: ("
    TTrayIcon* TrayIcon1 = nullptr;
    QList<QIcon> ImageList1; // tray images for connection states 0, 1, 2
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr; // area codes
    QAction* Open1 = nullptr;
    QAction* PhoneBook1 = nullptr;
    QAction* Preferences1 = nullptr;
    QAction* Teach1 = nullptr; // teaching the program an operator
    QAction* TellFriends1 = nullptr;
    QAction* HomePage1 = nullptr;
    QAction* N5 = nullptr; // help submenu
    QAction* N6 = nullptr; // local help
    QAction* OnlineHelpMenu = nullptr;
    QAction* N4 = nullptr; // About
    QAction* Languages = nullptr;
    QAction* Stop1 = nullptr;
    TFormShaper* FormShaper96 = nullptr;
    TFormShaper* FormShaper120 = nullptr;
    TSMSBaseForm* SMSBase = nullptr;
    ServiceConnection* Service = nullptr;
    // Parts of the service connection, under their own names.
    TAdvHttp* HTTP = nullptr;
    QTimer* InitTimer = nullptr;
    QTimer* StatsTimer = nullptr;
    QTimer* BannerTimer = nullptr;

    // --- Fields
    QString AppDir; // the data folder, ending in '/'
    QString HelpFile;
    QString LanguageCode;
    bool Online = false;
    bool UsePopupStatus = false;
    QString LastStatusText;
    QString MessageText;
    bool CancelRequested = false;
    bool ListSending = false;
    int CurrentRecipient = 0;
    // The current status window; null when none is current.
    QPointer<TPopUpStatusForm> PopUpStatusForm;
    // The preferences dialog and the phone book window while they are open.
    QPointer<TPreferencesForm> PreferencesForm;
    QPointer<TPhoneBookForm> PhoneBookForm;
    // The banner space: the rotation, its timer (BannerTimer), the chosen and the shown banner.
    BannerRotation* Banners = nullptr;

    ServiceState& state() const { return *m_state; }
    int ConnectionState() const;
    // The font colour of the status line, as a colour value (0x00BBGGRR).
    quint32 statusColor() const { return m_statusColor; }
    EditCaret* caret() const { return m_caret; }

    // --- Lifecycle and commands
    // Shown and not minimised: a minimised window counts as hidden, so the toggle and a second start
    // bring it back.
    bool isShown() const;
    // Hides the window to the notification area, or minimises it where the desktop has none.
    void putAway();
    void Open1Click();
    void FormClose();
    void Stop1Click();
    void CheckOnline();
    void ShowBanner(const QString& file) { Banners->ShowBanner(file); }
    bool IsRectCovered(const QRect& screenRect) const;
    bool IsWindowCovered() const;
    bool IsBannerCovered() const;
    void ImgButton5Click();
    void ImgButton4Click();
    void TrayIcon1DblClick();
    void Image2Click() { Banners->Image2Click(); }

    // --- Composing
    void UpdateCharCount();
    void Edit1Change();
    void BuildAreaMenu();
    void AreaMenuItemClick(const QString& areaCode);
    void ImgButton2MouseDown(const QPoint& pressed);
    // The recipient list is dropped after the user agreed (status window's button, area-code button):
    // true when it was.
    bool offerToDropRecipientList();

    // --- Status display
    void SetConnectionState(int state);
    void SendResult(TSMSStatus status);
    void SetStatusColor(quint32 colorValue);
    void ShowStatus(const QString& text);
    // A status window closes: the running list send stops when it was the current one and its button
    // still offered to cancel.
    void popUpStatusClosed(TPopUpStatusForm* form, bool cancelButton);
    // A status window owned by this window, wired to it.
    TPopUpStatusForm* makeStatusWindow();

    // --- Skin
    void Edit2Enter(QLineEdit* edit);
    void Panel1Enter();
    void FormActivate();
    // The outline for a screen density: 96 and 120 pixels per inch cut the window to the device picture,
    // any other density gives an ordinary framed window sized to its contents.
    void chooseOutline(int dotsPerInch);
    // The density of the window's screen in device pixels per inch.
    int screenDensity() const;
    bool isShaped() const;

    // --- Commands with windows of their own
    void Button1Click();
    // What the user composed, as the send command reads it, and the recipient's name as shown.
    struct Typed
    {
        SendWorkflow::Composition composition;
        QString recipientName;
    };
    Typed typed() const;
    // Puts what was composed back into the fields (the window built again in another language).
    void restoreTyped(const Typed& typed);
    void SpeedButton1Click();
    // The menu item: the preferences as the user asked for them.
    void Preferences1Click() { openPreferences(true); }
    // The preferences dialog; opened by the program (the send workflow), it shows the provider of the
    // area code in the window.
    void openPreferences(bool byUser);
    void TellFriends1Click();
    void N6Click();
    void N4Click();
    void LanguagesClick();
    // The Languages item is disabled while any window that a rebuild of this one would take down is open:
    // each such window holds it once and lets go once.
    void holdLanguages(bool hold);
    // Opens the teach window, or brings the open one forward. A definition it saves goes into the provider
    // list at once.
    void Teach1Click();

    // --- ServiceConnectionHost
    bool engineBusy() const override;
    bool checkOnline() override;
    void areaDefsChanged() override;
    void setOnlineHelpEnabled(bool enabled) override;
    void startBannerTimer(int milliseconds) override;
    void minimiseIfCovered() override;
    QObject* messageReceiver() override;

    // --- SendWorkflowHost
    bool isOnline() const override { return Online; }
    int connectionState() const override { return ConnectionState(); }
    void setConnectionState(int state) override;
    bool ask(const QString& question) override;
    void reportError(const QString& text) override;
    void suspendServiceRequests(bool suspended) override;
    void saveLastUsed() override;
    QString credentialsMissing(const TProvider& provider, bool listSend) override;
    void beginList(const QStringList& names) override;
    void setCurrentRecipient(int index) override { CurrentRecipient = index; }
    void endList(bool cancelled) override;
    bool cancelRequested() const override { return CancelRequested; }
    void setCancelRequested(bool requested) override { CancelRequested = requested; }
    SendWorkflow& workflow() const { return *m_workflow; }

    // --- BannerRotationHost (with checkOnline and minimiseIfCovered above)
    bool windowShown() const override { return isShown(); }
    bool bannerCovered() const override { return IsBannerCovered(); }
    void displayBanner(const QImage& picture) override;
    bool openUrl(const QUrl& url) override { return ServiceConnectionHost::openUrl(url); }

    // --- PreferencesHost
    TProviders& providers() override { return SMSBase->Providers; }
    bool definitionsAvailable() const override;
    void setUsePopupStatus(bool on) override { UsePopupStatus = on; }
    void setSendTimeOut(int seconds) override { SMSBase->TimeOut = seconds; }

signals:
    // The window was shown or hidden by Open1Click.
    void toggled(bool visible);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The recipient fields for one recipient, or for a list (the fields emptied and disabled).
    void showRecipient(const QString& name, const QString& area, const QString& phone);
    void showRecipientList(const QStringList& list);
    void createComponents();
    void createMenus();
    void applySkin();
    void FormCreate();
    void FormDestroy();
    // FormCreate's last steps, which also run when an earlier step failed.
    void finishCreation();
    // "adcache.dat" in the data folder: the banner table between runs.
    static QString bannerTableFile();
    void loadBannerTable();

public:
    // Writes the banner table to its file (the exit command, a language switch).
    void saveBannerTable();

private:
    void setRecipientFieldsEnabled(bool enabled);
    void focusFirstEmptyField();
    bool dragBackground(QEvent* event);

    Options m_options;
    int m_languageHolds = 0;
    std::unique_ptr<ServiceState> m_state;
    std::unique_ptr<SendWorkflow> m_workflow;
    EditCaret* m_caret = nullptr;
    quint32 m_statusColor = 0;
    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_showing = false; // Open1Click is showing the window
    bool m_closing = false; // FormClose is cancelling the attempt
};
