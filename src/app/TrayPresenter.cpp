#include "TrayPresenter.h"

#include "DesktopNotifier.h"
#include "TMsgForm.h"
#include "history/HistoryStore.h"
#include "history/QueueDialogs.h"
#include "widgets/TTrayIcon.h"

#include <QSystemTrayIcon>

namespace {
constexpr const char* ProgramName = "Zelkora";

QString recipientOf(const HistoryEntry& entry)
{
    return entry.name.isEmpty() ? entry.area + QLatin1Char('-') + entry.phone : entry.name;
}
} // namespace

TrayPresenter::TrayPresenter(TMsgForm& window)
    : QObject(&window)
    , m_window(window)
{
}

void TrayPresenter::showConnectionState(ConnectionState state)
{
    TTrayIcon* tray = m_window.ui().trayIcon;
    m_definitionsTip = definitionsTip(state);
    tray->setIcon(m_window.ui().trayImages.value(int(state)));
    updateHint();
    tray->UpdateIcon();
}

QString TrayPresenter::definitionsTip(ConnectionState state) const
{
    switch (state) {
    case ConnectionState::NoDefinitions:
        return TMsgForm::tr("אין הגדרות ספקים");
    case ConnectionState::Stored:
        // Yellow also while the first request to the service is under way, with nothing stored yet.
        return !m_window.session().providersKnown() ? TMsgForm::tr("מתחבר לשירות...")
                                                         : TMsgForm::tr("עובד מהגדרות שמורות או משלך");
    default:
        return TMsgForm::tr("הגדרות מהשירות");
    }
}

void TrayPresenter::showNextScheduled(const HistoryEntry* next)
{
    m_nextScheduledTip.clear();
    if (next)
        m_nextScheduledTip
            = TMsgForm::tr("שליחה הבאה: %1, אל %2").arg(QueueDialogs::shownTime(next->due), recipientOf(*next));
    updateHint();
}

void TrayPresenter::updateHint()
{
    // The tray cuts what is too long, so the queued send, which has its own window, comes last.
    QString hint = QLatin1String(ProgramName);
    if (!m_definitionsTip.isEmpty())
        hint += QLatin1Char('\n') + m_definitionsTip;
    if (!m_nextScheduledTip.isEmpty())
        hint += QLatin1Char('\n') + m_nextScheduledTip;
    m_window.ui().trayIcon->setHint(hint);
}

void TrayPresenter::queuedSendEnded(const HistoryEntry& entry)
{
    // Seen in the window's own status: a message only for a user who is not looking.
    if (m_window.isShown())
        return;
    TTrayIcon* tray = m_window.ui().trayIcon;
    if (!m_notifier) {
        m_notifier = new DesktopNotifier(
            [tray](const QString& title, const QString& body) {
                if (tray->isShown())
                    tray->systemTrayIcon()->showMessage(title, body);
            },
            this);
        connect(tray->systemTrayIcon(), &QSystemTrayIcon::messageClicked, this,
            [this] { m_window.showHistoryEntry(m_notifiedEntry); });
    }
    m_notifiedEntry = entry.id;
    m_notifier->notify(TMsgForm::tr("שליחה מתוזמנת אל %1").arg(recipientOf(entry)), entry.shownStatusText(),
        [this, id = entry.id] { m_window.showHistoryEntry(id); });
}
