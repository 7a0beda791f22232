// The history window, sending later, and the queued sends whose time passed while the program was not running.

#include "TMsgForm.h"

#include "CompositionFields.h"
#include "TrayPresenter.h"
#include "history/HistoryStore.h"
#include "history/QueueDialogs.h"
#include "history/THistoryForm.h"

#include <QAction>

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
    m_fields->keep();
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
    m_fields->show();
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
    m_tray->showNextScheduled(next);
}

void TMsgForm::queuedSendEnded(const HistoryEntry& entry)
{
    m_tray->queuedSendEnded(entry);
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
