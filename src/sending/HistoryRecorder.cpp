#include "HistoryRecorder.h"

#include "common/ResStrings.h"

HistoryRecorder::HistoryRecorder(TSMSBaseForm& engine, HistoryStore& store, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_store(store)
{
    connect(&m_engine, &TSMSBaseForm::statusChanged, this, &HistoryRecorder::statusChanged);
}

void HistoryRecorder::begin(const Recipient& recipient)
{
    // An attempt replaced by a new one before it ended is recorded as cancelled.
    if (m_pending && isBusyStatus(m_engine.Status))
        statusChanged(ssCancelled);
    m_pending = true;
    m_recipient = recipient;
    m_started = QDateTime::currentDateTime();
    m_clock.start();
}

void HistoryRecorder::refused(const Recipient& recipient, const QString& area, const QString& phone,
    const QString& sender, const QString& message, const QString& text, int status)
{
    HistoryEntry entry;
    entry.time = QDateTime::currentDateTime();
    entry.sender = sender;
    entry.name = recipient.name;
    entry.area = area;
    entry.phone = phone;
    const int index = m_engine.FindProviderByArea(area);
    entry.provider = index >= 0 ? m_engine.Providers.at(index).Name : QString();
    entry.message = message;
    entry.status = status;
    entry.statusText = text;
    entry.source = recipient.source;
    entry.listId = recipient.listId;
    write(entry, recipient.queueId);
}

void HistoryRecorder::statusChanged(TSMSStatus status)
{
    if (!m_pending || isBusyStatus(status) || status == ssReady)
        return;
    m_pending = false;
    HistoryEntry entry;
    entry.time = m_started;
    entry.sender = m_engine.From;
    entry.name = m_recipient.name;
    entry.area = m_engine.AreaCode;
    entry.phone = m_engine.Phone;
    entry.provider = m_engine.ProviderIndex >= 0 ? m_engine.Providers.value(m_engine.ProviderIndex).Name : QString();
    entry.message = m_engine.Message;
    entry.status = status;
    entry.confirmed = status != ssCancelled && m_engine.Confirmed;
    entry.submitted = m_engine.Submitted;
    entry.statusText = ResStrings::outcomeText(status, entry.outcome());
    entry.durationMs = m_clock.elapsed();
    entry.source = m_recipient.source;
    entry.listId = m_recipient.listId;
    write(entry, m_recipient.queueId);
}

void HistoryRecorder::write(HistoryEntry entry, qint64 queueId)
{
    if (queueId != 0 && m_store.complete(queueId, entry))
        entry.id = queueId;
    else
        entry.id = m_store.add(entry);
    if (entry.id == 0)
        qWarning("the history could not record a send: %s", qPrintable(m_store.error()));
    emit recorded(entry);
}
