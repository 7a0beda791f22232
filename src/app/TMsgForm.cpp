#include "TMsgForm.h"

#include "sending/PersonPageWindow.h"

#include "EditCaret.h"
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
#include "settings/RegistryStore.h"
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
        m_options.hiddenForm->setMainWindow(this, [this] { Stop1Click(); });
    }
    FormCreate();
}

TMsgForm::~TMsgForm()
{
    FormDestroy();
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

void TMsgForm::FormCreate()
{
    try {
        m_session->setView(this);
        m_session->startUp();

        m_caret = new EditCaret(this);
        m_caret->setBitmap(EditCaret::sizeFor(m_ui.Edit1->font()), m_ui.Edit2->palette().color(QPalette::Text));
        for (QWidget* field : { static_cast<QWidget*>(m_ui.Edit1), static_cast<QWidget*>(m_ui.Edit2),
                 static_cast<QWidget*>(m_ui.ComboBox1), static_cast<QWidget*>(m_ui.Memo1) })
            m_caret->attach(field);

        m_ui.Shape5->resize(m_ui.Shape5->width(), 1);
        chooseOutline(screenDensity());

        // What was composed: the last single send's values at the first start, what was typed when the window
        // was built again. The status line after it: filling the message clears the status line.
        showComposition();
        SetStatusColor(SkinColors::StatusColorNormal);
        ShowStatus(tr("פעיל"));
        showConnectionState(m_session->connectionState());
        BuildAreaMenu();
    } catch (const std::exception& error) {
        ErrorReport::report(ErrorReport::textOf(error));
    }
    m_helpFile = AppPaths::resourceFile(QStringLiteral("Zelkora_heb.HLP"));
}

void TMsgForm::FormDestroy()
{
    try {
        if (m_session->view() == this)
            m_session->setView(nullptr);
        m_ui.TrayIcon1->RemoveIcon();
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

void TMsgForm::Open1Click()
{
    // A toggle that arrives while the window is being shown (the pending events run below) does not undo it.
    if (m_showing)
        return;
    if (isShown()) {
        putAway();
        m_ui.Open1->setText(tr("הודעה חדשה"));
        emit toggled(false);
        return;
    }
    const QScopedValueRollback<bool> showing(m_showing, true);
    // A list chosen in the phone book survives hiding; its fields stay disabled until the list is dropped.
    if (!m_ui.ToLabel->isList())
        setRecipientFieldsEnabled(true);
    if (isMinimized())
        showNormal();
    else
        show();
    QCoreApplication::processEvents();
    raise();
    activateWindow();
    m_ui.Open1->setText(tr("ביטול הודעה"));
    focusFirstEmptyField();
    UpdateCharCount();
    emit toggled(true);
}

void TMsgForm::focusFirstEmptyField()
{
    if (m_ui.Edit2->text().isEmpty() && m_ui.Edit2->isEnabled())
        m_ui.Edit2->setFocus(Qt::OtherFocusReason);
    else if (m_ui.Edit1->text().isEmpty() && !m_ui.ToLabel->isList() && m_ui.Edit1->isEnabled())
        m_ui.Edit1->setFocus(Qt::OtherFocusReason);
    else
        m_ui.Memo1->setFocus(Qt::OtherFocusReason);
}

void TMsgForm::setRecipientFieldsEnabled(bool enabled)
{
    m_ui.Edit1->setEnabled(enabled);
    m_ui.ComboBox1->setEnabled(enabled);
    m_ui.Label2->setEnabled(enabled);
    m_ui.ImgButton2->setEnabled(enabled);
}

void TMsgForm::FormClose()
{
    {
        // The cancel's status goes to a status window that is open; none is opened for it, only to be
        // destroyed at once.
        const QScopedValueRollback<bool> closing(m_closing, true);
        m_session->engine().Cancel();
    }
    if (TPopUpStatusForm* popup = m_popUpStatusForm) {
        // Destroyed without closing: a list send under way goes on with its next recipient.
        m_popUpStatusForm = nullptr;
        delete popup;
    }
    if (isShown())
        Open1Click();
}

void TMsgForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    FormClose();
}

void TMsgForm::Stop1Click()
{
    try {
        AutoStart::maintain();
    } catch (...) {
    }
    m_session->shutdown();
    if (m_options.hiddenForm)
        postUserMessage(m_options.hiddenForm, UM_SHUTDOWN);
}

bool TMsgForm::IsRectCovered(const QRect& screenRect) const
{
    return WindowStacking::isRectCovered(screenRect, WindowStacking::windowsAbove(this));
}

bool TMsgForm::IsWindowCovered() const
{
    if (!isVisible())
        return false;
    return IsRectCovered(frameGeometry());
}

bool TMsgForm::IsBannerCovered() const
{
    const QPoint topLeft = m_ui.Image2->mapToGlobal(QPoint(0, 0));
    const QPoint bottomRight = m_ui.Image2->mapToGlobal(QPoint(m_ui.Image2->width() - 1, m_ui.Image2->height() - 1));
    return IsRectCovered(QRect(topLeft, bottomRight));
}

void TMsgForm::ImgButton5Click()
{
    m_ui.PopupMenu1->exec(QCursor::pos());
    m_ui.ImgButton5->ShowLeavePicture();
}

void TMsgForm::ImgButton4Click()
{
    FormClose();
}

void TMsgForm::TrayIcon1DblClick()
{
    Open1Click();
}

bool TMsgForm::event(QEvent* event)
{
    if (userMessageOf(event) == UM_TOGGLEWINDOW) {
        Open1Click();
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    if (event->type() == QEvent::ScreenChangeInternal)
        dressSkin();
    return QWidget::event(event);
}

void TMsgForm::Image2Click()
{
    m_session->banners().Image2Click();
}

bool TMsgForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui.Image1)
        return dragBackground(event);
    if (watched == m_ui.Image2) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && m_ui.Image2->rect().contains(mouse->position().toPoint()))
                Image2Click();
        }
        return false;
    }
    if (areaMenuKey(watched, event))
        return true;
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_ui.Panel1)
            Panel1Enter();
        else if (auto* edit = qobject_cast<QLineEdit*>(watched))
            Edit2Enter(edit);
    }
    return QWidget::eventFilter(watched, event);
}

// --- Composing

void TMsgForm::UpdateCharCount()
{
    m_ui.Panel1->clear();
    // As the send command counts: a line break of the message is sent as CR LF and counts as two.
    const int count
        = SendWorkflow::countedLength(m_ui.Edit2->text()) + SendWorkflow::countedLength(m_ui.Memo1->toPlainText());
    const QString limit = QString::number(SendWorkflow::MessageLimit);
    const QString typed = QString::number(count);
    if (layoutDirection() == Qt::RightToLeft) {
        m_ui.CharCount->setText(limit + QStringLiteral(" / ") + typed + tr(" תוים") + QStringLiteral(")"));
    } else {
        // Left to right, the caption and the counter are one label, read in one go.
        m_ui.CharCount->setText(
            m_ui.Label4->text() + typed + QStringLiteral(" / ") + limit + tr(" תוים") + QStringLiteral(")"));
    }
    describeCounter(count, SendWorkflow::MessageLimit);
    keepComposition();
}

void TMsgForm::Edit1Change()
{
    m_ui.ToLabel->setText(QString());
    keepComposition();
}

void TMsgForm::BuildAreaMenu()
{
    m_ui.PopupMenu2->clear();
    for (const QString& item : std::as_const(m_session->engine().AreaDefs)) {
        const QString code = areaCodeOf(item);
        // "&" would make an accelerator; the code is shown as it is.
        QAction* action = m_ui.PopupMenu2->addAction(QString(code).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, code] { AreaMenuItemClick(code); });
    }
}

void TMsgForm::AreaMenuItemClick(const QString& areaCode)
{
    m_ui.ComboBox1->setText(areaCode);
}

void TMsgForm::ImgButton2MouseDown(const QPoint& pressed)
{
    if (m_ui.ToLabel->isList())
        offerToDropRecipientList();
    if (!m_ui.ToLabel->isList())
        m_ui.PopupMenu2->exec(m_ui.ImgButton2->mapToGlobal(pressed));
    m_ui.ImgButton2->ShowLeavePicture();
}

bool TMsgForm::offerToDropRecipientList()
{
    if (!m_ui.ToLabel->isList())
        return false;
    if (!UserPrompt::current()->question(tr("?האם למחוק את רשימת הנמענים")))
        return false;
    m_ui.ToLabel->setText(QString());
    setRecipientFieldsEnabled(true);
    keepComposition();
    return true;
}

// --- MainView

void TMsgForm::setOnlineHelpEnabled(bool enabled)
{
    m_ui.OnlineHelpMenu->setEnabled(enabled);
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
    if (isVisible() && !isMinimized() && !otherWindowShown && IsWindowCovered())
        showMinimized();
}
