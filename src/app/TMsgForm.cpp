#include "TMsgForm.h"

#include "EditCaret.h"
#include "OnlineCheck.h"
#include "SkinColors.h"
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
#include "session/ServiceConnection.h"
#include "settings/AutoStart.h"
#include "settings/RegistryStore.h"
#include "settings/SmsIni.h"
#include "widgets/THalvernShape.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"
#include "widgets/TURLLabel.h"

#include <QAction>
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
    // The service connection works on the state, which works on the engine's lists: they go in that order.
    delete Service;
    Service = nullptr;
    m_state.reset();
    if (currentForm() == this)
        currentForm() = nullptr;
}

TMsgForm* TMsgForm::current()
{
    return currentForm();
}

int TMsgForm::ConnectionState() const
{
    return m_state->ConnectionState;
}

void TMsgForm::FormCreate()
{
    bool lastStepsDone = false;
    try {
        CheckOnline();
        m_state->InitInterval = 30000;
        InitTimer->stop();
        BannerTimer->stop();
        StatsTimer->stop();
        AppDir = AppPaths::appDir();

        LanguageCode = RegistryStore::readLanguage();
        if (LanguageCode.isEmpty())
            LanguageCode = QStringLiteral("ENU");

        {
            const SmsIni ini;
            Edit2->setText(ini.lastFrom());
            Edit1->setText(ini.lastPhone());
            ComboBox1->setText(ini.lastAreaCode());
            // After the two fields: their change handler empties the recipient label.
            ToLabel->setText(ini.lastRecipient());
            SMSBase->TimeOut = ini.timeOut();
            HTTP->setConnectTimeout(secondsToTimerInterval(SMSBase->TimeOut));
            UsePopupStatus = ini.usePopupStatus();
        }

        try {
            m_state->SendParams = QStringLiteral("yes");
            m_state->RefreshCount = 0;
            m_state->HitsUpdated = false;
            Banners->ClickURL = AppPaths::serviceUrl();
            m_state->HomePage = AppPaths::serviceUrl();

            m_caret = new EditCaret(this);
            m_caret->setBitmap(EditCaret::sizeFor(Edit1->font()), Edit2->palette().color(QPalette::Text));
            for (QWidget* field : { static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2),
                     static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Memo1) })
                m_caret->attach(field);

            Shape5->resize(Shape5->width(), 1);
            chooseOutline(screenDensity());

            SMSBase->OnStatus = [this](TSMSStatus status) { SendResult(status); };
            Service->Initialised = false;
            Service->LastIP = localAddress();

            Banners->BannerIndex = 1;
            ToLabel->clearList();
            // The message is emptied before the first status: emptying it clears the status line.
            Memo1->clear();
            SetStatusColor(SkinColors::StatusColorNormal);
            ShowStatus(tr("פעיל"));

            Service->InstallType = RegistryStore::readInstallationType();
            // The provider cache, then the banner table (so its list wins over the cache's), then the
            // credentials, connection state 0 and the first initialisation request one second later.
            Service->startUp([this] { loadBannerTable(); });
            lastStepsDone = true;
            if (m_state->Adverts.Count() > 0)
                BannerTimer->start();
            HelpFile = AppPaths::resourceFile(QStringLiteral("Zelkora_heb.HLP"));
        } catch (...) {
            if (!lastStepsDone)
                finishCreation();
            throw;
        }
    } catch (const ZelkoraError& error) {
        ErrorReport::report(error.message());
    } catch (const std::exception& error) {
        ErrorReport::report(QString::fromLocal8Bit(error.what()));
    }
}

void TMsgForm::finishCreation()
{
    try {
        Service->startRequests();
        if (m_state->Adverts.Count() > 0)
            BannerTimer->start();
        HelpFile = AppPaths::resourceFile(QStringLiteral("Zelkora_heb.HLP"));
    } catch (...) {
    }
}

void TMsgForm::FormDestroy()
{
    try {
        TrayIcon1->RemoveIcon();
        Service->stop();
        BannerTimer->stop();
        // Stops the browser without reporting a status to a window that is going away.
        SMSBase->OnStatus = nullptr;
        SMSBase->Abort();
        if (m_caret)
            m_caret->detachAll();
    } catch (...) {
    }
}

QString TMsgForm::bannerTableFile()
{
    return AppPaths::appDir() + QStringLiteral("adcache.dat");
}

void TMsgForm::loadBannerTable()
{
    if (QFileInfo::exists(bannerTableFile()))
        m_state->Adverts.LoadFromFile(bannerTableFile());
}

void TMsgForm::saveBannerTable()
{
    m_state->Adverts.SaveToFile(bannerTableFile());
}

void TMsgForm::CheckOnline()
{
    Online = OnlineCheck::isOnline();
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
        Open1->setText(tr("הודעה חדשה"));
        emit toggled(false);
        return;
    }
    const QScopedValueRollback<bool> showing(m_showing, true);
    // A list chosen in the phone book survives hiding; its fields stay disabled until the list is dropped.
    if (!ToLabel->isList())
        setRecipientFieldsEnabled(true);
    if (isMinimized())
        showNormal();
    else
        show();
    QCoreApplication::processEvents();
    raise();
    activateWindow();
    Open1->setText(tr("ביטול הודעה"));
    focusFirstEmptyField();
    UpdateCharCount();
    emit toggled(true);
}

void TMsgForm::focusFirstEmptyField()
{
    if (Edit2->text().isEmpty() && Edit2->isEnabled())
        Edit2->setFocus(Qt::OtherFocusReason);
    else if (Edit1->text().isEmpty() && !ToLabel->isList() && Edit1->isEnabled())
        Edit1->setFocus(Qt::OtherFocusReason);
    else
        Memo1->setFocus(Qt::OtherFocusReason);
}

void TMsgForm::setRecipientFieldsEnabled(bool enabled)
{
    Edit1->setEnabled(enabled);
    ComboBox1->setEnabled(enabled);
    Label2->setEnabled(enabled);
    ImgButton2->setEnabled(enabled);
}

void TMsgForm::FormClose()
{
    {
        // The cancel's status goes to a status window that is open; none is opened for it, only to be
        // destroyed at once.
        const QScopedValueRollback<bool> closing(m_closing, true);
        SMSBase->Cancel();
    }
    if (TPopUpStatusForm* popup = PopUpStatusForm) {
        // Destroyed without closing: a list send under way goes on with its next recipient.
        PopUpStatusForm = nullptr;
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
    try {
        saveBannerTable();
    } catch (...) {
    }
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
    const QPoint topLeft = Image2->mapToGlobal(QPoint(0, 0));
    const QPoint bottomRight = Image2->mapToGlobal(QPoint(Image2->width() - 1, Image2->height() - 1));
    return IsRectCovered(QRect(topLeft, bottomRight));
}

void TMsgForm::ImgButton5Click()
{
    PopupMenu1->exec(QCursor::pos());
    ImgButton5->ShowLeavePicture();
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
    switch (userMessageOf(event)) {
    case UM_TOGGLEWINDOW:
        Open1Click();
        return true;
    case UM_INITDONE:
        Service->InitDone();
        return true;
    case UM_STATSDONE:
        Service->StatsDone();
        return true;
    case UM_BANNERCHOSEN:
        Banners->BannerChosen();
        return true;
    case UM_BANNERLOADED:
        Banners->BannerLoaded();
        return true;
    default:
        break;
    }
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

bool TMsgForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1)
        return dragBackground(event);
    if (watched == Image2) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && Image2->rect().contains(mouse->position().toPoint()))
                Image2Click();
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == Panel1)
            Panel1Enter();
        else if (auto* edit = qobject_cast<QLineEdit*>(watched))
            Edit2Enter(edit);
    }
    return QWidget::eventFilter(watched, event);
}

// --- Composing

void TMsgForm::UpdateCharCount()
{
    Panel1->clear();
    // As the send command counts: a line break of the message is sent as CR LF and counts as two.
    const int count = SendWorkflow::countedLength(Edit2->text()) + SendWorkflow::countedLength(Memo1->toPlainText());
    const QString limit = QString::number(SendWorkflow::MessageLimit);
    const QString typed = QString::number(count);
    if (layoutDirection() == Qt::RightToLeft)
        CharCount->setText(limit + QStringLiteral(" / ") + typed + tr(" תוים") + QStringLiteral(")"));
    else
        CharCount->setText(typed + QStringLiteral(" / ") + limit + tr(" תוים") + QStringLiteral(")"));
}

void TMsgForm::Edit1Change()
{
    ToLabel->setText(QString());
}

void TMsgForm::BuildAreaMenu()
{
    PopupMenu2->clear();
    for (const QString& item : std::as_const(SMSBase->AreaDefs)) {
        const QString code = item.section(QLatin1Char('='), 0, 0);
        // "&" would make an accelerator; the code is shown as it is.
        QAction* action = PopupMenu2->addAction(QString(code).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, code] { AreaMenuItemClick(code); });
    }
}

void TMsgForm::AreaMenuItemClick(const QString& areaCode)
{
    ComboBox1->setText(areaCode);
}

void TMsgForm::ImgButton2MouseDown(const QPoint& pressed)
{
    if (ToLabel->isList())
        offerToDropRecipientList();
    if (!ToLabel->isList())
        PopupMenu2->exec(ImgButton2->mapToGlobal(pressed));
    ImgButton2->ShowLeavePicture();
}

bool TMsgForm::offerToDropRecipientList()
{
    if (!ToLabel->isList())
        return false;
    if (!UserPrompt::current()->question(tr("?האם למחוק את רשימת הנמענים")))
        return false;
    ToLabel->setText(QString());
    setRecipientFieldsEnabled(true);
    return true;
}

// --- ServiceConnectionHost

bool TMsgForm::engineBusy() const
{
    return isBusyStatus(SMSBase->Status);
}

bool TMsgForm::checkOnline()
{
    CheckOnline();
    return Online;
}

void TMsgForm::setConnectionState(int state)
{
    SetConnectionState(state);
}

void TMsgForm::areaDefsChanged()
{
    BuildAreaMenu();
}

void TMsgForm::setOnlineHelpEnabled(bool enabled)
{
    OnlineHelpMenu->setEnabled(enabled);
}

void TMsgForm::startBannerTimer(int milliseconds)
{
    BannerTimer->stop();
    BannerTimer->setInterval(milliseconds);
    if (milliseconds > 0)
        BannerTimer->start();
}

void TMsgForm::minimiseIfCovered()
{
    if (isVisible() && !isMinimized() && IsWindowCovered())
        showMinimized();
}

QObject* TMsgForm::messageReceiver()
{
    return this;
}
