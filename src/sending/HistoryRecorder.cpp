#include "HistoryRecorder.h"

#include "common/ResStrings.h"

HistoryRecorder::HistoryRecorder(TSMSBaseForm& engine, HistoryStore& store, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_store(store)
{
    connect(&m_engine, &TSMSBaseForm::statusChanged, this, &HistoryRecorder::statusChanged);
}

bool HistoryRecorder::begin(const Recipient& recipient, const QString& area, const QString& phone,
    const QString& sender, const QString& message)
{
    // An attempt replaced by a new one before it ended is recorded as cancelled.
    if (m_pending && isBusyStatus(m_engine.Status))
        statusChanged(ssCancelled);
    m_pending = false;
    m_recipient = recipient;
    m_started = QDateTime::currentDateTime();
    m_clock.start();
    bool marked = false;
    if (recipient.rowId != 0) {
        m_rowId = recipient.rowId;
        marked = m_store.startAttempt(m_rowId);
    } else if (recipient.queueId != 0) {
        m_rowId = recipient.queueId;
        marked = m_store.claim(m_rowId);
    } else {
        HistoryEntry entry = entryFor(recipient, area, phone, sender, message);
        entry.phase = LedgerPhase::InFlight;
        entry.status = ssConnecting;
        m_rowId = m_store.add(entry);
        marked = m_rowId != 0;
    }
    m_error = marked                ? QString()
        : m_store.error().isEmpty() ? tr("השליחה כבר אינה ממתינה בתור: תוכנה אחרת לקחה אותה")
                                    : m_store.error();
    m_pending = marked;
    return marked;
}

HistoryEntry HistoryRecorder::entryFor(const Recipient& recipient, const QString& area, const QString& phone,
    const QString& sender, const QString& message) const
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
    entry.source = recipient.source;
    entry.listId = recipient.listId;
    return entry;
}

void HistoryRecorder::refused(const Recipient& recipient, const QString& area, const QString& phone,
    const QString& sender, const QString& message, const QString& text, int status, const SendFailure& failure)
{
    HistoryEntry entry = entryFor(recipient, area, phone, sender, message);
    entry.status = status;
    entry.statusText = text;
    entry.failure = failure;
    write(entry, recipient.rowId != 0 ? recipient.rowId : recipient.queueId);
}

void HistoryRecorder::statusChanged(TSMSStatus status)
{
    if (!m_pending)
        return;
    // Written before the submission reaches the page, which happens once this status has been handed on.
    if (status == ssSending && m_engine.Submitted && !m_store.markSubmitted(m_rowId))
        qWarning("the history could not mark a message as submitted: %s", qPrintable(m_store.error()));
    if (isBusyStatus(status) || status == ssReady)
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
    entry.failure = m_engine.Failure;
    entry.statusText = ResStrings::outcomeText(status, entry.outcome(), entry.failure);
    entry.durationMs = m_clock.elapsed();
    entry.source = m_recipient.source;
    entry.listId = m_recipient.listId;
    write(entry, m_rowId);
}

void HistoryRecorder::write(HistoryEntry entry, qint64 rowId)
{
    // A row that cannot be completed stays as it was (under way: its message may have left), never doubled.
    if (rowId != 0)
        entry.id = m_store.complete(rowId, entry) ? rowId : 0;
    else
        entry.id = m_store.add(entry);
    if (entry.id == 0)
        qWarning("the history could not record a send: %s", qPrintable(m_store.error()));
    emit recorded(entry);
}
