#include "StatusDisplay.h"

#include "PlainText.h"
#include "TPopUpStatusForm.h"
#include "common/ResStrings.h"
#include "session/MainSession.h"
#include "widgets/SkinColors.h"

#include <QLineEdit>

namespace {
// The skin's colour for a status of that kind.
quint32 kindColour(StatusKind kind)
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

StatusDisplay::StatusDisplay(QWidget& window, QLineEdit& statusLine, MainSession& session)
    : QObject(&window)
    , m_window(window)
    , m_statusLine(statusLine)
    , m_session(session)
{
}

void StatusDisplay::setColour(quint32 colour)
{
    m_colour = colour;
    QPalette palette = m_statusLine.palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        palette.setColor(group, QPalette::Text, SkinColors::toColor(colour));
    m_statusLine.setPalette(palette);
}

void StatusDisplay::show(const QString& text, StatusKind kind)
{
    setColour(kindColour(kind));
    m_lastText = text;
    ++m_count;
    switch (m_session.statusPlace()) {
    case StatusPlace::StatusLine:
        m_statusLine.setText(text);
        m_statusLine.setCursorPosition(0);
        // The whole text in the tool tip, for one longer than the line.
        m_statusLine.setToolTip(PlainText::toolTip(text));
        return;
    case StatusPlace::StatusWindow:
        if (!m_statusWindow) {
            if (m_windowBarred)
                return;
            m_statusLine.clear();
            m_statusLine.setToolTip(QString());
            m_statusWindow = makeStatusWindow();
            m_statusWindow->setMemoHeight(100);
            // Closing a window that shows single statuses cancels nothing.
            m_statusWindow->setCancelButton(false);
            m_statusWindow->setText(tr("המתן..."));
            m_statusWindow->show();
        }
        m_statusWindow->setText(text);
        m_statusWindow->update();
        return;
    case StatusPlace::RecipientLine:
        // With the window closed the text is only kept.
        if (m_statusWindow) {
            const int index = m_session.currentRecipient();
            m_statusWindow->setLine(index, m_listNames.value(index) + QStringLiteral(": ") + text, kind == StatusKind::Unknown);
        }
        return;
    }
}

void StatusDisplay::beginList(const QStringList& names)
{
    m_listNames = names;
    m_statusLine.clear();
    m_statusWindow = makeStatusWindow();
    m_statusWindow->setText(QString());
    for (const QString& name : names)
        m_statusWindow->addLine(name + ResStrings::waitingLine());
    m_statusWindow->show();
}

void StatusDisplay::endList()
{
    // Closed by the user, the window no longer is the current one; otherwise it stays on screen with its
    // button offering only to close it.
    if (m_statusWindow && !m_session.cancelRequested()) {
        m_statusWindow->setCancelButton(false);
        if (const qint64 listId = m_session.lastListNotSent()) {
            m_statusWindow->offerRetry(true);
            connect(m_statusWindow, &TPopUpStatusForm::retryPressed, this, [this, listId] {
                m_session.composeNotSentOfList(listId);
                m_session.send();
            });
        }
    }
    m_statusWindow = nullptr;
}

TPopUpStatusForm* StatusDisplay::popUpStatusForm() const
{
    return m_statusWindow;
}

TPopUpStatusForm* StatusDisplay::makeStatusWindow()
{
    auto* form = new TPopUpStatusForm(&m_window);
    connect(form, &TPopUpStatusForm::buttonPressed, this, &StatusDisplay::dropListAsked);
    connect(form, &TPopUpStatusForm::closed, this, &StatusDisplay::statusWindowClosed);
    return form;
}

void StatusDisplay::dropStatusWindow()
{
    if (TPopUpStatusForm* form = m_statusWindow) {
        m_statusWindow = nullptr;
        delete form;
    }
}

void StatusDisplay::statusWindowClosed(TPopUpStatusForm* form, bool cancelButton)
{
    // Only the current window speaks for the list send under way; an older one left on screen does not.
    if (form != m_statusWindow)
        return;
    m_statusWindow = nullptr;
    if (cancelButton)
        m_session.cancelList();
}
