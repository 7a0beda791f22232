#include "SendQueue.h"

#include "MainView.h"
#include "common/ListLine.h"
#include "common/ResStrings.h"
#include "common/StartupTrace.h"
#include "common/UserPrompt.h"
#include "sending/HistoryRecorder.h"
#include "settings/SmsIni.h"

namespace {
// How often the queue looks for a send that has come due.
constexpr int kQueueIntervalMs = 15000;
} // namespace

SendQueue::SendQueue(TSMSBaseForm& engine, SendWorkflow& workflow, SendQueueHost& host, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_workflow(workflow)
    , m_host(host)
{
    connect(&m_timer, &QTimer::timeout, this, &SendQueue::sendDue);
}

SendQueue::~SendQueue() = default;

HistoryStore& SendQueue::history()
{
    if (!m_history) {
        m_history = std::make_unique<HistoryStore>();
        m_recorder = new HistoryRecorder(m_engine, *m_history, this);
        m_workflow.setRecorder(m_recorder);
        connect(m_recorder, &HistoryRecorder::recorded, this, [this](const HistoryEntry& entry) {
            MainView* view = m_host.view();
            // The ledger's row stays as it was (under way, so never sent again on its own); the user is told.
            if (entry.id == 0 && view)
                view->showStatus(tr("ההיסטוריה לא יכלה לרשום את תוצאת השליחה: %1").arg(m_history->error()),
                    StatusKind::Error);
            if (view && entry.source == SendSource::Queue && entry.outcome() != SendOutcome::None)
                view->queuedSendEnded(entry);
            changed();
        });
    }
    return *m_history;
}

void SendQueue::open()
{
    if (m_startTime.isValid())
        return;
    m_startTime = QDateTime::currentDateTime();
    if (!m_timer.interval())
        m_timer.setInterval(kQueueIntervalMs);
    HistoryStore& store = history();
    store.prune(SmsIni().historyDays());
    // Never sent without the user's word: what fell due while the program was not running waits for it.
    const QList<HistoryEntry> missed = store.dueBy(m_startTime);
    for (const HistoryEntry& entry : missed)
        m_held.insert(entry.id);
    if (!missed.isEmpty() && m_host.view())
        m_host.view()->showMissedSends(missed);
    changed();
}

void SendQueue::start()
{
    open();
    m_timer.start();
    StartupTrace::mark("history opened, queue started");
}

void SendQueue::changed()
{
    if (MainView* view = m_host.view()) {
        const QList<HistoryEntry> queue = m_history ? m_history->scheduled() : QList<HistoryEntry>();
        view->showNextScheduled(queue.isEmpty() ? nullptr : &queue.first());
        view->historyChanged();
    }
    emit historyChanged();
}

QString SendQueue::schedule(const SendWorkflow::Composition& composition, const QDateTime& due)
{
    if (composition.listMode && composition.list.isEmpty())
        return ResStrings::emptyList();
    const QString refused = SendWorkflow::refusal(composition);
    if (!refused.isEmpty())
        return refused;
    const QString error = SendWorkflow::schedule(history(), m_engine, composition, due);
    changed();
    return error;
}

void SendQueue::sendDue()
{
    if (!m_history || isBusyStatus(m_engine.Status) || m_workflow.ListSending)
        return;
    const QList<HistoryEntry> due = m_history->dueBy(QDateTime::currentDateTime());
    if (!due.isEmpty())
        m_host.reloadChangedDefinitions();
    for (const HistoryEntry& entry : due) {
        // Held until the user answers, unless it was given a new time since.
        if (m_held.contains(entry.id) && entry.due <= m_startTime)
            continue;
        SendWorkflow::Composition queued = compositionOf(entry);
        queued.source = SendSource::Queue;
        queued.queueId = entry.id;
        queued.listId = entry.listId;
        queued.unattended = true;
        // Declined (no definitions yet, or offline): it stays in the queue for the next look.
        m_workflow.send(queued);
        return;
    }
}

void SendQueue::missedSendChoice(qint64 id, MissedSendChoice choice)
{
    HistoryStore& store = history();
    switch (choice) {
    case MissedSendChoice::SendNow:
        m_held.remove(id);
        store.reschedule(id, QDateTime::currentDateTime());
        QTimer::singleShot(0, this, &SendQueue::sendDue);
        break;
    case MissedSendChoice::Drop:
        m_held.remove(id);
        store.drop(id);
        break;
    case MissedSendChoice::Keep:
        break;
    }
    changed();
}

SendWorkflow::Composition SendQueue::compositionOf(const HistoryEntry& entry)
{
    SendWorkflow::Composition composition;
    composition.sender = entry.sender;
    composition.message = entry.message;
    composition.area = entry.area;
    composition.phone = entry.phone;
    composition.recipientName = entry.name;
    return composition;
}

std::optional<SendWorkflow::Composition> SendQueue::notSentOfList(qint64 listId)
{
    // Never sent twice without the user's word: those whose message may have been sent are asked about once.
    const qsizetype unknown = history().unknownOfList(listId).size();
    const bool includeUnknown = unknown > 0
        && UserPrompt::current()->question(
            tr("ייתכן שההודעה כבר נשלחה ל-%1 מהנמענים (לא התקבל אישור מהאתר). לשלוח גם אליהם?").arg(unknown));
    if (unknown > 0 && !includeUnknown && m_host.view())
        m_host.view()->showStatus(
            tr("%1 נמענים שייתכן שכבר קיבלו את ההודעה לא נכללו").arg(unknown), StatusKind::Unknown);
    const QList<HistoryEntry> recipients = history().notSentOfList(listId, includeUnknown);
    if (recipients.isEmpty())
        return std::nullopt;
    SendWorkflow::Composition composition;
    composition.sender = recipients.first().sender;
    composition.message = recipients.first().message;
    composition.listMode = true;
    for (const HistoryEntry& entry : recipients)
        composition.list << ListLine { entry.name, entry.area, entry.phone }.text();
    return composition;
}

qint64 SendQueue::listNotSent(qint64 listId) const
{
    return m_history && listId
            && (!m_history->notSentOfList(listId).isEmpty() || !m_history->unknownOfList(listId).isEmpty())
        ? listId
        : 0;
}
