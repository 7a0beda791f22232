// The session's side of the history and its queue (SendQueue holds them).
#include "MainSession.h"

#include "MainView.h"
#include "SendQueue.h"
#include "ServiceConnection.h"

HistoryStore& MainSession::history()
{
    return m_queue->history();
}

QString MainSession::scheduleComposition(const QDateTime& due)
{
    return m_queue->schedule(m_composition, due);
}

void MainSession::sendDue()
{
    m_queue->sendDue();
}

void MainSession::setQueueInterval(int milliseconds)
{
    m_queue->setInterval(milliseconds);
}

void MainSession::missedSendChoice(qint64 id, MissedSendChoice choice)
{
    m_queue->missedSendChoice(id, choice);
}

QSet<qint64> MainSession::heldSends() const
{
    return m_queue->heldSends();
}

void MainSession::queueChanged()
{
    m_queue->changed();
}

void MainSession::composeAgain(const HistoryEntry& entry)
{
    showComposition(SendQueue::compositionOf(entry));
}

void MainSession::composeNotSentOfList(qint64 listId)
{
    if (const std::optional<Composition> recipients = m_queue->notSentOfList(listId))
        showComposition(*recipients);
}

qint64 MainSession::lastListNotSent() const
{
    return m_queue->listNotSent(m_workflow->listId());
}

void MainSession::reloadChangedDefinitions()
{
    m_service->reloadChangedDefinitions();
}

void MainSession::showComposition(const Composition& composition)
{
    m_composition = composition;
    if (m_view)
        m_view->compositionChanged();
}
