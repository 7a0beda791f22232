// The session's history and its queue of sends set for later.
#include "MainSession.h"

#include "MainView.h"
#include "ServiceConnection.h"
#include "common/ListLine.h"
#include "common/ResStrings.h"
#include "common/UserPrompt.h"
#include "history/HistoryStore.h"
#include "sending/HistoryRecorder.h"
#include "sending/SendWorkflow.h"
#include "settings/SmsIni.h"

namespace {
// How often the queue looks for a send that has come due.
constexpr int kQueueIntervalMs = 15000;
} // namespace

HistoryStore& MainSession::history()
{
    if (!m_history) {
        m_history = std::make_unique<HistoryStore>();
        m_recorder = new HistoryRecorder(*m_engine, *m_history, this);
        m_workflow->setRecorder(m_recorder);
        connect(m_recorder, &HistoryRecorder::recorded, this, [this](const HistoryEntry& entry) {
            // The ledger's row stays as it was (under way, so never sent again on its own); the user is told.
            if (entry.id == 0 && m_view)
                m_view->showStatus(tr("ההיסטוריה לא יכלה לרשום את תוצאת השליחה: %1").arg(m_history->error()),
                    StatusKind::Error);
            if (m_view && entry.source == SendSource::Queue && entry.outcome() != SendOutcome::None)
                m_view->queuedSendEnded(entry);
            queueChanged();
        });
    }
    return *m_history;
}

void MainSession::openHistory()
{
    if (m_startTime.isValid())
        return;
    m_startTime = QDateTime::currentDateTime();
    if (!m_queueTimer.interval())
        m_queueTimer.setInterval(kQueueIntervalMs);
    connect(&m_queueTimer, &QTimer::timeout, this, &MainSession::sendDue, Qt::UniqueConnection);
    HistoryStore& store = history();
    store.prune(SmsIni().historyDays());
    // Never sent without the user's word: what fell due while the program was not running waits for it.
    const QList<HistoryEntry> missed = store.dueBy(m_startTime);
    for (const HistoryEntry& entry : missed)
        m_held.insert(entry.id);
    if (!missed.isEmpty() && m_view)
        m_view->showMissedSends(missed);
    queueChanged();
}

void MainSession::queueChanged()
{
    if (m_view) {
        const QList<HistoryEntry> queue = m_history ? m_history->scheduled() : QList<HistoryEntry>();
        m_view->showNextScheduled(queue.isEmpty() ? nullptr : &queue.first());
        m_view->historyChanged();
    }
    emit historyChanged();
}

QString MainSession::scheduleComposition(const QDateTime& due)
{
    const SendWorkflow::Composition checked = workflowComposition();
    if (checked.listMode && checked.list.isEmpty())
        return ResStrings::emptyList();
    const QString refused = SendWorkflow::refusal(checked);
    if (!refused.isEmpty())
        return refused;

    const QString error = SendWorkflow::schedule(history(), *m_engine, checked, due);
    queueChanged();
    return error;
}

void MainSession::sendDue()
{
    if (!m_history || isBusyStatus(m_engine->Status) || m_workflow->ListSending)
        return;
    const QList<HistoryEntry> due = m_history->dueBy(QDateTime::currentDateTime());
    if (!due.isEmpty() && m_service)
        m_service->reloadChangedDefinitions();
    for (const HistoryEntry& entry : due) {
        // Held until the user answers, unless it was given a new time since.
        if (m_held.contains(entry.id) && entry.due <= m_startTime)
            continue;
        SendWorkflow::Composition queued;
        queued.sender = entry.sender;
        queued.message = entry.message;
        queued.area = entry.area;
        queued.phone = entry.phone;
        queued.recipientName = entry.name;
        queued.source = SendSource::Queue;
        queued.queueId = entry.id;
        queued.listId = entry.listId;
        queued.unattended = true;
        // Declined (no definitions yet, or offline): it stays in the queue for the next look.
        m_workflow->send(queued);
        return;
    }
}

void MainSession::missedSendChoice(qint64 id, MissedSendChoice choice)
{
    HistoryStore& store = history();
    switch (choice) {
    case MissedSendChoice::SendNow:
        m_held.remove(id);
        store.reschedule(id, QDateTime::currentDateTime());
        QTimer::singleShot(0, this, &MainSession::sendDue);
        break;
    case MissedSendChoice::Drop:
        m_held.remove(id);
        store.drop(id);
        break;
    case MissedSendChoice::Keep:
        break;
    }
    queueChanged();
}

void MainSession::composeAgain(const HistoryEntry& entry)
{
    m_composition.sender = entry.sender;
    m_composition.message = entry.message;
    m_composition.listMode = false;
    m_composition.list.clear();
    m_composition.area = entry.area;
    m_composition.phone = entry.phone;
    m_composition.recipientName = entry.name;
    if (m_view)
        m_view->compositionChanged();
}

void MainSession::composeNotSentOfList(qint64 listId)
{
    // Never sent twice without the user's word: those whose message may have been sent are asked about once.
    const qsizetype unknown = history().unknownOfList(listId).size();
    const bool includeUnknown = unknown > 0
        && UserPrompt::current()->question(
            tr("ייתכן שההודעה כבר נשלחה ל-%1 מהנמענים (לא התקבל אישור מהאתר). לשלוח גם אליהם?").arg(unknown));
    if (unknown > 0 && !includeUnknown && m_view)
        m_view->showStatus(
            tr("%1 נמענים שייתכן שכבר קיבלו את ההודעה לא נכללו").arg(unknown), StatusKind::Unknown);
    const QList<HistoryEntry> recipients = history().notSentOfList(listId, includeUnknown);
    if (recipients.isEmpty())
        return;
    m_composition.sender = recipients.first().sender;
    m_composition.message = recipients.first().message;
    m_composition.listMode = true;
    m_composition.list.clear();
    for (const HistoryEntry& entry : recipients)
        m_composition.list << ListLine { entry.name, entry.area, entry.phone }.text();
    m_composition.recipientName.clear();
    if (m_view)
        m_view->compositionChanged();
}

qint64 MainSession::lastListNotSent() const
{
    const qint64 listId = m_workflow->listId();
    return m_history && listId
            && (!m_history->notSentOfList(listId).isEmpty() || !m_history->unknownOfList(listId).isEmpty())
        ? listId
        : 0;
}
