// The status display: the connection lamp and tray image, the texts and colours of the send statuses, and
// where a status text goes (the status line or the status window).

#include "TMsgForm.h"

#include "PlainText.h"
#include "SkinColors.h"
#include "TPopUpStatusForm.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"
#include "common/ResStrings.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"

#include <QLineEdit>
#include <QPushButton>

void TMsgForm::SetConnectionState(int state)
{
    m_state->ConnectionState = state;
    switch (state) {
    case 0:
        Led->SetRed();
        break;
    case 1:
        Led->SetYellow();
        break;
    case 2:
        Led->SetGreen();
        break;
    default:
        return;
    }
    TrayIcon1->setIcon(ImageList1.value(state));
    TrayIcon1->UpdateIcon();
}

void TMsgForm::SendResult(TSMSStatus status)
{
    quint32 color = SkinColors::StatusColorNormal;
    switch (status) {
    case ssSent:
        color = SkinColors::StatusColorSent;
        break;
    case ssRejected:
    case ssFailed:
    case ssTimedOut:
        color = SkinColors::StatusColorError;
        break;
    default:
        break;
    }
    SetStatusColor(color);
    ShowStatus(ResStrings::sendStatusText(status));
}

void TMsgForm::SetStatusColor(quint32 colorValue)
{
    m_statusColor = colorValue;
    QPalette palette = Panel1->palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        palette.setColor(group, QPalette::Text, SkinColors::toColor(colorValue));
    Panel1->setPalette(palette);
}

void TMsgForm::ShowStatus(const QString& text)
{
    LastStatusText = text;
    if (!ListSending) {
        if (!UsePopupStatus) {
            Panel1->setText(text);
            Panel1->setCursorPosition(0);
            // The whole text in the tool tip, for one longer than the line.
            Panel1->setToolTip(PlainText::toolTip(text));
            return;
        }
        if (!PopUpStatusForm) {
            if (m_closing)
                return;
            Panel1->clear();
            Panel1->setToolTip(QString());
            PopUpStatusForm = makeStatusWindow();
            PopUpStatusForm->setMemoHeight(100);
            // Closing a window that shows single statuses cancels nothing.
            PopUpStatusForm->setCancelButton(false);
            PopUpStatusForm->setText(tr("המתן..."));
            PopUpStatusForm->show();
        }
        PopUpStatusForm->setText(text);
        PopUpStatusForm->update();
        return;
    }
    // During a list send the text goes to the recipient's line; with the window closed it is only kept.
    if (PopUpStatusForm) {
        const QString name = ToLabel->list().value(CurrentRecipient).section(QLatin1Char('='), 0, 0);
        PopUpStatusForm->setLine(CurrentRecipient, name + QStringLiteral(": ") + text);
    }
}

TPopUpStatusForm* TMsgForm::makeStatusWindow()
{
    auto* form = new TPopUpStatusForm(this);
    connect(form, &TPopUpStatusForm::buttonPressed, this, &TMsgForm::offerToDropRecipientList);
    connect(form, &TPopUpStatusForm::closed, this, &TMsgForm::popUpStatusClosed);
    return form;
}

void TMsgForm::popUpStatusClosed(TPopUpStatusForm* form, bool cancelButton)
{
    // Only the current window speaks for the list send under way; an older one left on screen does not.
    if (form != PopUpStatusForm)
        return;
    PopUpStatusForm = nullptr;
    if (cancelButton) {
        CancelRequested = true;
        workflow().cancelRequested();
    }
}
