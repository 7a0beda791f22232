#include "TMsgForm.h"

#include "sending/PersonPageWindow.h"

#include "EditCaret.h"
#include "FirstStepsGuide.h"
#include "HandsetAccess.h"
#include "TrayPresenter.h"
#include "TPopUpStatusForm.h"
#include "WindowStacking.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "common/ErrorReport.h"
#include "common/ImageDecoders.h"
#include "common/Messages.h"
#include "common/TimerInterval.h"
#include "common/UserPrompt.h"
#include "net/TAdvHttp.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"
#include "service/TProvider.h"
#include "session/OnlineCheck.h"
#include "session/ServiceConnection.h"
#include "widgets/SkinColors.h"
#include "settings/AutoStart.h"
#include "settings/ProgramSettings.h"
#include "settings/SmsIni.h"
#include "widgets/THalvernShape.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"
#include "widgets/TURLLabel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <exception>

namespace {

TMsgForm*& currentForm()
{
    static TMsgForm* form = nullptr;
    return form;
}
} // namespace

TMsgForm::TMsgForm()
    : TMsgForm(Options())
{
}

TMsgForm::TMsgForm(const Options& options)
    : QWidget(nullptr)
    , m_options(options)
{
    // Whoever makes the window (the program's start, the language switch), the first steps are looked at once
    // it is built.
    m_firstSteps = new FirstStepsGuide(*this);
    m_tray = new TrayPresenter(*this);
    QMetaObject::invokeMethod(m_firstSteps, &FirstStepsGuide::start, Qt::QueuedConnection);
    currentForm() = this;
    if (m_options.session) {
        m_session = m_options.session;
    } else {
        m_ownSession = std::make_unique<MainSession>(m_options.makeBrowser);
        m_session = m_ownSession.get();
    }
    // A page of an operator's that only a person can answer opens over this window.
    m_personPages = new PersonPages(m_session->engine(), this);
    createComponents();
    applySkin();
    if (m_options.hiddenForm) {
        // The hidden root window runs the exit command when the desktop session ends.
        m_options.hiddenForm->setMainWindow(this, [this] { exitClicked(); });
    }
    setUp();
}

TMsgForm::~TMsgForm()
{
    tearDown();
    // Before the session this window may own: it lets the engine go.
    delete m_personPages;
    m_personPages = nullptr;
    if (currentForm() == this)
        currentForm() = nullptr;
}

TMsgForm* TMsgForm::current()
{
    return currentForm();
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

void TMsgForm::setUp()
{
    try {
        m_session->setView(this);
        m_session->startUp();

        m_caret = new EditCaret(this);
        m_caret->setBitmap(EditCaret::sizeFor(m_ui.numberEdit->font()), m_ui.senderEdit->palette().color(QPalette::Text));
        for (QWidget* field : { static_cast<QWidget*>(m_ui.numberEdit), static_cast<QWidget*>(m_ui.senderEdit),
                 static_cast<QWidget*>(m_ui.areaCodeEdit), static_cast<QWidget*>(m_ui.messageEdit) })
            m_caret->attach(field);

        m_ui.separatorLine->resize(m_ui.separatorLine->width(), 1);
        chooseOutline(screenDensity());

        // What was composed: the last single send's values at the first start, what was typed when the window
        // was built again. The status line after it: filling the message clears the status line.
        showComposition();
        setStatusColor(SkinColors::StatusColorNormal);
        showStatusText(tr("פעיל"));
        showConnectionState(m_session->connectionState());
        buildAreaMenu();
    } catch (const std::exception& error) {
        ErrorReport::report(ErrorReport::textOf(error));
    }
    m_helpFile = AppPaths::resourceFile(QStringLiteral("Zelkora_heb.HLP"));
}

void TMsgForm::tearDown()
{
    try {
        if (m_session->view() == this)
            m_session->setView(nullptr);
        m_ui.trayIcon->RemoveIcon();
        if (m_caret)
            m_caret->detachAll();
    } catch (...) {
    }
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
    // A list chosen in the phone book survives hiding; its fields stay disabled until the list is dropped.
    if (!m_ui.recipientLabel->isList())
        setRecipientFieldsEnabled(true);
    if (isMinimized())
        showNormal();
    else
        show();
    QCoreApplication::processEvents();
    raise();
    activateWindow();
    m_ui.openAction->setText(tr("ביטול הודעה"));
    focusFirstEmptyField();
    updateCharCount();
    emit toggled(true);
}

void TMsgForm::focusFirstEmptyField()
{
    if (m_ui.senderEdit->text().isEmpty() && m_ui.senderEdit->isEnabled())
        m_ui.senderEdit->setFocus(Qt::OtherFocusReason);
    else if (m_ui.numberEdit->text().isEmpty() && !m_ui.recipientLabel->isList() && m_ui.numberEdit->isEnabled())
        m_ui.numberEdit->setFocus(Qt::OtherFocusReason);
    else
        m_ui.messageEdit->setFocus(Qt::OtherFocusReason);
}

void TMsgForm::setRecipientFieldsEnabled(bool enabled)
{
    m_ui.numberEdit->setEnabled(enabled);
    m_ui.areaCodeEdit->setEnabled(enabled);
    m_ui.numberLabel->setEnabled(enabled);
    m_ui.areaMenuButton->setEnabled(enabled);
}

void TMsgForm::closeWindow()
{
    {
        // The cancel's status goes to a status window that is open; none is opened for it, only to be
        // destroyed at once.
        const QScopedValueRollback<bool> closing(m_closing, true);
        m_session->cancelSend();
    }
    if (TPopUpStatusForm* popup = m_popUpStatusForm) {
        // Destroyed without closing: a list send under way goes on with its next recipient.
        m_popUpStatusForm = nullptr;
        delete popup;
    }
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
    try {
        AutoStart::maintain();
    } catch (...) {
    }
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
    if (!isVisible())
        return false;
    return isRectCovered(frameGeometry());
}

bool TMsgForm::isBannerCovered() const
{
    const QPoint topLeft = m_ui.bannerImage->mapToGlobal(QPoint(0, 0));
    const QPoint bottomRight = m_ui.bannerImage->mapToGlobal(QPoint(m_ui.bannerImage->width() - 1, m_ui.bannerImage->height() - 1));
    return isRectCovered(QRect(topLeft, bottomRight));
}

void TMsgForm::menuClicked()
{
    m_ui.mainMenu->exec(QCursor::pos());
    m_ui.menuButton->ShowLeavePicture();
}

void TMsgForm::closeClicked()
{
    closeWindow();
}

void TMsgForm::trayDoubleClicked()
{
    toggleShown();
}

bool TMsgForm::event(QEvent* event)
{
    if (userMessageOf(event) == UM_TOGGLEWINDOW) {
        toggleShown();
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        windowActivated();
    if (event->type() == QEvent::ScreenChangeInternal)
        dressSkin();
    return QWidget::event(event);
}

void TMsgForm::bannerClicked()
{
    m_session->bannerClicked();
}

bool TMsgForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui.devicePicture)
        return dragBackground(event);
    if (watched == m_ui.bannerImage) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && m_ui.bannerImage->rect().contains(mouse->position().toPoint()))
                bannerClicked();
        }
        return false;
    }
    if (areaMenuKey(watched, event))
        return true;
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_ui.statusLine)
            statusLineEntered();
        else if (auto* edit = qobject_cast<QLineEdit*>(watched))
            fieldEntered(edit);
    }
    return QWidget::eventFilter(watched, event);
}

// --- Composing

void TMsgForm::updateCharCount()
{
    m_ui.statusLine->clear();
    // As the send command counts: a line break of the message is sent as CR LF and counts as two.
    const int count
        = SendWorkflow::countedLength(m_ui.senderEdit->text()) + SendWorkflow::countedLength(m_ui.messageEdit->toPlainText());
    const QString limit = QString::number(SendWorkflow::MessageLimit);
    const QString typed = QString::number(count);
    if (layoutDirection() == Qt::RightToLeft) {
        m_ui.counterLabel->setText(limit + QStringLiteral(" / ") + typed + tr(" תוים") + QStringLiteral(")"));
    } else {
        // Left to right, the caption and the counter are one label, read in one go.
        m_ui.counterLabel->setText(
            m_ui.messageLabel->text() + typed + QStringLiteral(" / ") + limit + tr(" תוים") + QStringLiteral(")"));
    }
    if (m_access)
        m_access->describeCounter(count, SendWorkflow::MessageLimit);
    keepComposition();
}

void TMsgForm::numberChanged()
{
    m_ui.recipientLabel->setText(QString());
    keepComposition();
}

void TMsgForm::buildAreaMenu()
{
    m_ui.areaMenu->clear();
    for (const QString& item : m_session->areaDefs()) {
        const QString code = areaCodeOf(item);
        // "&" would make an accelerator; the code is shown as it is.
        QAction* action = m_ui.areaMenu->addAction(QString(code).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, code] { areaChosen(code); });
    }
}

void TMsgForm::areaChosen(const QString& areaCode)
{
    m_ui.areaCodeEdit->setText(areaCode);
}

void TMsgForm::areaMenuPressed(const QPoint& pressed)
{
    if (m_ui.recipientLabel->isList())
        offerToDropRecipientList();
    if (!m_ui.recipientLabel->isList())
        m_ui.areaMenu->exec(m_ui.areaMenuButton->mapToGlobal(pressed));
    m_ui.areaMenuButton->ShowLeavePicture();
}

bool TMsgForm::offerToDropRecipientList()
{
    if (!m_ui.recipientLabel->isList())
        return false;
    if (!UserPrompt::current()->question(tr("?האם למחוק את רשימת הנמענים")))
        return false;
    m_ui.recipientLabel->setText(QString());
    setRecipientFieldsEnabled(true);
    keepComposition();
    return true;
}

// --- MainView

void TMsgForm::setOnlineHelpEnabled(bool enabled)
{
    m_ui.onlineHelpAction->setEnabled(enabled);
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
    if (isVisible() && !isMinimized() && !otherWindowShown && isWindowCovered())
        showMinimized();
}
