#include "TMsgForm.h"

#include "CompositionFields.h"
#include "EditCaret.h"
#include "FirstStepsGuide.h"
#include "HandsetAccess.h"
#include "HandsetSkin.h"
#include "StatusDisplay.h"
#include "TrayPresenter.h"
#include "WindowStacking.h"
#include "app/FirstFrameWork.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "common/Messages.h"
#include "common/StartupTrace.h"
#include "language/LanguageModules.h"
#include "sending/PersonPageWindow.h"
#include "settings/AutoStart.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TTrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

#include <algorithm>

TMsgForm::TMsgForm()
    : TMsgForm(Options())
{
}

TMsgForm::TMsgForm(const Options& options)
    : QWidget(nullptr)
    , m_options(options)
{
    if (m_options.session) {
        m_session = m_options.session;
    } else {
        m_ownSession = std::make_unique<MainSession>(m_options.makeBrowser);
        m_session = m_ownSession.get();
    }
    StartupTrace::mark("session made");
    // A page of an operator's that only a person can answer opens over this window.
    m_personPages = new PersonPages(m_session->engine(), this);
    // When the engine worker shows that page, it shows it in this window's language, over it while it is shown.
    m_session->engine().PersonWindowPlace = [this] {
        return std::pair(LanguageModules::activeModuleFile(), isVisible() ? frameGeometry() : QRect());
    };
    m_firstFrameWork = new FirstFrameWork(*this);
    m_ui = HandsetBuilder::build(*this);
    StartupTrace::mark("handset built");
    m_skin = new HandsetSkin(*this, m_ui);
    m_fields = new CompositionFields(m_ui, *m_session, this);
    m_status = new StatusDisplay(*this, *m_ui.statusLine, *m_session);
    m_tray = new TrayPresenter(*this);
    m_access = new HandsetAccess(*this);
    m_firstSteps = new FirstStepsGuide(*this);
    connectCommands();
    StartupTrace::mark("window parts made");
    if (m_options.hiddenForm) {
        // The hidden root window runs the exit command when the desktop session ends.
        m_options.hiddenForm->setMainWindow(this, [this] { exitClicked(); });
    }
    setUp();
    // Whoever made the window (the program's start, the language switch), the first steps are looked at once
    // it is built and the events waiting have run.
    QMetaObject::invokeMethod(m_firstSteps, &FirstStepsGuide::start, Qt::QueuedConnection);
}

TMsgForm::~TMsgForm()
{
    // Work that waited for a frame that never came goes on with the session, without this window.
    m_firstFrameWork->setHeir(m_session);
    delete m_firstFrameWork;
    tearDown();
    // Before the session this window may own: it lets the engine go.
    m_session->engine().PersonWindowPlace = nullptr;
    delete m_personPages;
    m_personPages = nullptr;
}

std::unique_ptr<MainSession> TMsgForm::takeSession()
{
    return std::move(m_ownSession);
}

void TMsgForm::adoptSession(std::unique_ptr<MainSession> session)
{
    if (session.get() == m_session)
        m_ownSession = std::move(session);
}

void TMsgForm::connectCommands()
{
    connect(m_ui.closeButton, &TImgButton::clicked, this, &TMsgForm::closeWindow);
    connect(m_ui.menuButton, &TImgButton::clicked, this, &TMsgForm::menuClicked);
    connect(m_ui.sendButton, &TImgButton::clicked, this, &TMsgForm::sendClicked);
    connect(m_ui.phoneBookButton, &TImgButton::clicked, this, &TMsgForm::phoneBookClicked);
    connect(m_ui.trayIcon, &TTrayIcon::OnDblClick, this, &TMsgForm::toggleShown);
    connect(m_status, &StatusDisplay::dropListAsked, m_fields, &CompositionFields::offerToDropRecipientList);
    m_ui.bannerImage->installEventFilter(this);

    connect(m_ui.openAction, &QAction::triggered, this, &TMsgForm::toggleShown);
    connect(m_ui.phoneBookAction, &QAction::triggered, this, &TMsgForm::phoneBookClicked);
    connect(m_ui.preferencesAction, &QAction::triggered, this, &TMsgForm::preferencesClicked);
    connect(m_ui.teachAction, &QAction::triggered, this, &TMsgForm::teachClicked);
    connect(m_ui.demoOperatorsAction, &QAction::triggered, this, [this] { m_session->startDemo(); });
    connect(m_ui.sendLaterAction, &QAction::triggered, this, &TMsgForm::sendLaterClicked);
    connect(m_ui.historyAction, &QAction::triggered, this, &TMsgForm::historyClicked);
    connect(m_ui.tellFriendsAction, &QAction::triggered, this, &TMsgForm::tellFriendsClicked);
    connect(m_ui.homePageAction, &QAction::triggered, this, [this] { m_session->openHomePage(); });
    connect(m_ui.localHelpAction, &QAction::triggered, this, &TMsgForm::showHelp);
    connect(m_ui.onlineHelpAction, &QAction::triggered, this, [this] { m_session->openOnlineHelp(); });
    connect(m_ui.aboutAction, &QAction::triggered, this, &TMsgForm::showAbout);
    connect(m_ui.languagesAction, &QAction::triggered, this, &TMsgForm::languagesClicked);
    connect(m_ui.exitAction, &QAction::triggered, this, &TMsgForm::exitClicked);
}

void TMsgForm::setUp()
{
    // The session reports what fails in its own start-up, and starts what it can all the same.
    m_session->setView(this);
    m_session->startUp();
    StartupTrace::mark("session started");

    m_caret = new EditCaret(this);
    m_caret->setBitmap(EditCaret::sizeFor(m_ui.numberEdit->font()), m_ui.senderEdit->palette().color(QPalette::Text));
    for (QWidget* field : { static_cast<QWidget*>(m_ui.numberEdit), static_cast<QWidget*>(m_ui.senderEdit),
             static_cast<QWidget*>(m_ui.areaCodeEdit), static_cast<QWidget*>(m_ui.messageEdit) })
        m_caret->attach(field);

    m_skin->chooseOutline(m_skin->screenDensity());

    // What was composed: the last single send's values at the first start, what was typed when the window was
    // built again. The status line after it: filling the message clears the status line.
    m_fields->show();
    showStatus(tr("פעיל"), StatusKind::Info);
    showConnectionState(m_session->connectionState());
    m_fields->buildAreaMenu();
    m_helpFile = AppPaths::resourceFile(QStringLiteral("Zelkora_heb.HLP"));
    StartupTrace::mark("window set up");
}

void TMsgForm::tearDown()
{
    if (m_session->view() == this)
        m_session->setView(nullptr);
    m_ui.trayIcon->RemoveIcon();
    if (m_caret)
        m_caret->detachAll();
}

bool TMsgForm::isShown() const
{
    return isVisible() && !isMinimized();
}

void TMsgForm::putAway()
{
    // Without a notification area a hidden window could never be reached again: it is only minimised.
    if (TTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
}

void TMsgForm::toggleShown()
{
    // A toggle that arrives while the window is being shown (the pending events run below) does not undo it.
    if (m_showing)
        return;
    if (isShown()) {
        putAway();
        m_ui.openAction->setText(tr("הודעה חדשה"));
        emit toggled(false);
        return;
    }
    const QScopedValueRollback<bool> showing(m_showing, true);
    m_fields->prepareForShow();
    if (isMinimized())
        showNormal();
    else
        show();
    StartupTrace::mark("window show() returned");
    QCoreApplication::processEvents();
    raise();
    activateWindow();
    m_ui.openAction->setText(tr("ביטול הודעה"));
    m_fields->focusFirstEmptyField();
    m_fields->updateCharCount();
    emit toggled(true);
    StartupTrace::mark("window shown and focused");
    m_firstFrameWork->shown();
}

void TMsgForm::postShowRequest()
{
    m_firstFrameWork->expectFrame();
    postUserMessage(this, UM_TOGGLEWINDOW);
}

void TMsgForm::afterFirstFrame(std::function<void()> work)
{
    m_firstFrameWork->run(std::move(work));
}

void TMsgForm::closeWindow()
{
    // The cancel's status goes to a status window that is open; none is opened for it, only to be
    // destroyed at once.
    m_status->setWindowBarred(true);
    m_session->cancelSend();
    m_status->setWindowBarred(false);
    m_status->dropStatusWindow();
    if (isShown())
        toggleShown();
}

void TMsgForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    closeWindow();
}

void TMsgForm::exitClicked()
{
    // The autostart entry is kept as the settings have it; failing that, the program still ends.
    AutoStart::maintain();
    m_session->shutdown();
    if (m_options.hiddenForm)
        postUserMessage(m_options.hiddenForm, UM_SHUTDOWN);
}

bool TMsgForm::isRectCovered(const QRect& screenRect) const
{
    return WindowStacking::isRectCovered(screenRect, WindowStacking::windowsAbove(this));
}

bool TMsgForm::isWindowCovered() const
{
    return isVisible() && isRectCovered(frameGeometry());
}

bool TMsgForm::bannerCovered() const
{
    const QLabel* banner = m_ui.bannerImage;
    return isRectCovered(QRect(banner->mapToGlobal(QPoint(0, 0)), banner->mapToGlobal(QPoint(banner->width() - 1, banner->height() - 1))));
}

void TMsgForm::menuClicked()
{
    m_ui.mainMenu->exec(QCursor::pos());
    m_ui.menuButton->ShowLeavePicture();
}

bool TMsgForm::event(QEvent* event)
{
    if (userMessageOf(event) == UM_TOGGLEWINDOW) {
        toggleShown();
        return true;
    }
    return QWidget::event(event);
}

bool TMsgForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui.bannerImage && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_ui.bannerImage->rect().contains(mouse->position().toPoint()))
            m_session->bannerClicked();
    }
    return QWidget::eventFilter(watched, event);
}

// --- MainView

void TMsgForm::showConnectionState(ConnectionState state)
{
    switch (state) {
    case ConnectionState::NoDefinitions:
        m_ui.connectionLamp->SetRed();
        break;
    case ConnectionState::Stored:
        m_ui.connectionLamp->SetYellow();
        break;
    case ConnectionState::Service:
        m_ui.connectionLamp->SetGreen();
        break;
    default: // no state of the lamp's
        return;
    }
    m_tray->showConnectionState(state);
}

void TMsgForm::showStatus(const QString& text, StatusKind kind)
{
    m_status->show(text, kind);
}

TPopUpStatusForm* TMsgForm::popUpStatusForm() const
{
    return m_status->popUpStatusForm();
}

void TMsgForm::areaCodesChanged()
{
    m_fields->buildAreaMenu();
}

void TMsgForm::setOnlineHelpEnabled(bool enabled)
{
    m_ui.onlineHelpAction->setEnabled(enabled);
}

void TMsgForm::displayBanner(const QImage& picture)
{
    m_ui.bannerImage->setPixmap(QPixmap::fromImage(picture));
    m_ui.bannerImage->update();
}

void TMsgForm::minimiseIfCovered()
{
    // A window manager minimises a window's dialogs with it: while the user works in another window of the
    // program (help, teach, preferences, the phone book), the handset stays as it is.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool otherWindowShown = std::any_of(windows.cbegin(), windows.cend(), [this](const QWidget* window) {
        const Qt::WindowType type = window->windowType();
        return window != this && window->isVisible() && !window->isMinimized()
            && (type == Qt::Window || type == Qt::Dialog);
    });
    if (isShown() && !otherWindowShown && isWindowCovered())
        showMinimized();
}

void TMsgForm::beginList(const QStringList& names)
{
    m_status->beginList(names);
}

void TMsgForm::endList(bool)
{
    m_status->endList();
}
