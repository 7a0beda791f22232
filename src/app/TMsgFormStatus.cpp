// The status display: the connection lamp and tray image, the texts and colours of the send statuses, and
// where a status text goes (the status line or the status window).

#include "TMsgForm.h"

#include "PlainText.h"
#include "TPopUpStatusForm.h"
#include "TrayPresenter.h"
#include "common/ListLine.h"
#include "common/ResStrings.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"
#include "widgets/SkinColors.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QLineEdit>
#include <QPushButton>

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
    default:
        return;
    }
    m_tray->showConnectionState(state);
}

namespace {
// The skin's colour for a status of that kind.
quint32 statusColour(StatusKind kind)
{
    switch (kind) {
    case StatusKind::Sent:
        return SkinColors::StatusColorSent;
    case StatusKind::Error:
        return SkinColors::StatusColorError;
    case StatusKind::Unknown:
        return SkinColors::StatusColorUnknown;
    case StatusKind::Info:
        break;
    }
    return SkinColors::StatusColorNormal;
}
} // namespace

void TMsgForm::showStatus(const QString& text, StatusKind kind)
{
    setStatusColor(statusColour(kind));
    showStatusText(text);
}

void TMsgForm::setStatusColor(quint32 colorValue)
{
    m_statusColor = colorValue;
    QPalette palette = m_ui.statusLine->palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        palette.setColor(group, QPalette::Text, SkinColors::toColor(colorValue));
    m_ui.statusLine->setPalette(palette);
}

void TMsgForm::showStatusText(const QString& text)
{
    m_lastStatusText = text;
    ++m_statusCount;
    if (!m_session->listSending()) {
        if (!m_session->usePopupStatus()) {
            m_ui.statusLine->setText(text);
            m_ui.statusLine->setCursorPosition(0);
            // The whole text in the tool tip, for one longer than the line.
            m_ui.statusLine->setToolTip(PlainText::toolTip(text));
            return;
        }
        if (!m_popUpStatusForm) {
            if (m_closing)
                return;
            m_ui.statusLine->clear();
            m_ui.statusLine->setToolTip(QString());
            m_popUpStatusForm = makeStatusWindow();
            m_popUpStatusForm->setMemoHeight(100);
            // Closing a window that shows single statuses cancels nothing.
            m_popUpStatusForm->setCancelButton(false);
            m_popUpStatusForm->setText(tr("המתן..."));
            m_popUpStatusForm->show();
        }
        m_popUpStatusForm->setText(text);
        m_popUpStatusForm->update();
        return;
    }
    // During a list send the text goes to the recipient's line; with the window closed it is only kept.
    if (m_popUpStatusForm) {
        const QString name = ListLine::parse(m_ui.recipientLabel->list().value(m_session->currentRecipient())).name;
        m_popUpStatusForm->setLine(m_session->currentRecipient(), name + QStringLiteral(": ") + text,
            m_statusColor == SkinColors::StatusColorUnknown);
    }
}

TPopUpStatusForm* TMsgForm::popUpStatusForm() const
{
    return m_popUpStatusForm;
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
    if (form != m_popUpStatusForm)
        return;
    m_popUpStatusForm = nullptr;
    if (cancelButton)
        m_session->cancelList();
}
