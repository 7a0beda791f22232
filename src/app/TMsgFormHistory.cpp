// The history window, sending later, and the queued sends whose time passed while the program was not running.

#include "TMsgForm.h"

#include "DesktopNotifier.h"
#include "TPopUpStatusForm.h"
#include "history/HistoryStore.h"
#include "history/QueueDialogs.h"
#include "history/THistoryForm.h"
#include "widgets/SkinColors.h"
#include "widgets/TTrayIcon.h"

#include <QAction>
#include <QSystemTrayIcon>

namespace {
constexpr const char* ProgramName = "Zelkora";
} // namespace

THistoryForm* TMsgForm::historyForm() const
{
    return findChild<THistoryForm*>(QString(), Qt::FindDirectChildrenOnly);
}

void TMsgForm::historyClicked()
{
    THistoryForm* form = historyForm();
    if (!form) {
        form = new THistoryForm(m_session->history(), this);
        holdLanguagesWhileOpen(form);
        connect(form, &THistoryForm::sendAgain, this,
            [this](const HistoryEntry& entry) { m_session->composeAgain(entry); });
        connect(form, &THistoryForm::sendAgainToNotSent, this,
            [this](qint64 listId) { m_session->composeNotSentOfList(listId); });
        connect(form, &THistoryForm::queueChanged, this, [this] { m_session->queueChanged(); });
    }
    form->showNormal();
    form->raise();
    form->activateWindow();
}

void TMsgForm::sendLaterClicked()
{
    keepComposition();
    const std::optional<QDateTime> due
        = QueueDialogs::askDueTime(this, tr("שליחה במועד מאוחר"), QDateTime::currentDateTime().addSecs(3600));
    if (!due)
        return;
    const QString refused = m_session->scheduleComposition(*due);
    if (!refused.isEmpty()) {
        showStatus(refused, StatusKind::Error);
        return;
    }
    showStatus(tr("ההודעה תישלח ב-%1").arg(QueueDialogs::shownTime(*due)), StatusKind::Info);
}

void TMsgForm::compositionChanged()
{
    showComposition();
    if (!isShown())
        toggleShown();
    raise();
    activateWindow();
}

void TMsgForm::showMissedSends(const QList<HistoryEntry>& entries)
{
    auto* dialog = new MissedSendsDialog(entries, this);
    // Over the handset, which the program shows after its start-up asked this: as the status window, it stays
    // on top until answered.
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint);
    // Rebuilt in another language, the window would take the unanswered question with it.
    holdLanguagesWhileOpen(dialog);
    connect(dialog, &MissedSendsDialog::chosen, this,
        [this](qint64 id, MissedSendChoice choice) { m_session->missedSendChoice(id, choice); });
    dialog->show();
    dialog->raise();
}

void TMsgForm::showNextScheduled(const HistoryEntry* next)
{
    m_nextScheduledTip.clear();
    if (next) {
        const QString recipient = next->name.isEmpty() ? next->area + QLatin1Char('-') + next->phone : next->name;
        m_nextScheduledTip = tr("שליחה הבאה: %1, אל %2").arg(QueueDialogs::shownTime(next->due), recipient);
    }
    updateTrayHint();
}

void TMsgForm::updateTrayHint()
{
    // The program, where its definitions come from, and the next queued send; the tray cuts what is too long,
    // so the queued send, which has its own window, comes last.
    QString hint = QLatin1String(ProgramName);
    if (!m_definitionsTip.isEmpty())
        hint += QLatin1Char('\n') + m_definitionsTip;
    if (!m_nextScheduledTip.isEmpty())
        hint += QLatin1Char('\n') + m_nextScheduledTip;
    m_ui.trayIcon->setHint(hint);
}

void TMsgForm::queuedSendEnded(const HistoryEntry& entry)
{
    // Seen in the window's own status: a message only for a user who is not looking.
    if (isShown())
        return;
    if (!m_notifier) {
        m_notifier = new DesktopNotifier(
            [this](const QString& title, const QString& body) {
                if (m_ui.trayIcon->isShown())
                    m_ui.trayIcon->systemTrayIcon()->showMessage(title, body);
            },
            this);
        connect(m_ui.trayIcon->systemTrayIcon(), &QSystemTrayIcon::messageClicked, this,
            [this] { showHistoryEntry(m_notifiedEntry); });
    }
    const QString recipient = entry.name.isEmpty() ? entry.area + QLatin1Char('-') + entry.phone : entry.name;
    m_notifiedEntry = entry.id;
    m_notifier->notify(tr("שליחה מתוזמנת אל %1").arg(recipient), entry.shownStatusText(),
        [this, id = entry.id] { showHistoryEntry(id); });
}

void TMsgForm::showHistoryEntry(qint64 id)
{
    historyClicked();
    if (THistoryForm* form = historyForm(); form && id != 0)
        form->selectEntry(id);
}

void TMsgForm::historyChanged()
{
    if (THistoryForm* form = historyForm())
        form->refresh();
}
