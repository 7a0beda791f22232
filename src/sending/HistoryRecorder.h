#pragma once

#include "engine/TSMSBaseForm.h"
#include "history/HistoryStore.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>

// Keeps the ledger of one engine's attempts in the history: each attempt's row is marked under way before the
// engine starts it, marked when its message leaves for the site, and written whole when it ends, with what
// the engine alone does not know (the recipient's name, where the send came from, the list it belongs to and
// the queued send it carries out). The send workflow tells it of each recipient before handing it over.
class HistoryRecorder : public QObject
{
    Q_OBJECT
public:
    struct Recipient
    {
        QString name;
        SendSource source = SendSource::Window;
        qint64 listId = 0;
        qint64 queueId = 0; // the queued send this attempt carries out, claimed at its start; 0 for none
        qint64 rowId = 0; // the list's pending row of this recipient; 0 for none
    };

    HistoryRecorder(TSMSBaseForm& engine, HistoryStore& store, QObject* parent = nullptr);

    HistoryStore& store() const { return m_store; }

    // The engine's next attempt goes to this recipient: its row is marked under way (the list's pending row,
    // the claimed queued send, or a new row). False when that cannot be written, or another program claimed
    // the queued send first: then nothing may be sent (error() says why).
    bool begin(const Recipient& recipient, const QString& area, const QString& phone, const QString& sender,
        const QString& message);
    QString error() const { return m_error; }
    // The row of a send to this recipient, as the history keeps it (the provider its area code finds).
    HistoryEntry entryFor(const Recipient& recipient, const QString& area, const QString& phone, const QString& sender,
        const QString& message) const;
    // A recipient that did not go to the engine, with the text it was refused with; `status` is the engine's
    // status it counts as (a list cancelled before it came to the recipient), else HistoryEntry::Refused.
    void refused(const Recipient& recipient, const QString& area, const QString& phone, const QString& sender,
        const QString& message, const QString& text, int status = HistoryEntry::Refused,
        const SendFailure& failure = SendFailure());

signals:
    // An entry went into the history (or could not: its id is then 0).
    void recorded(const HistoryEntry& entry);

private:
    void statusChanged(TSMSStatus status);
    // Completes row `rowId` with the entry, or adds it when there is no row.
    void write(HistoryEntry entry, qint64 rowId);

    TSMSBaseForm& m_engine;
    HistoryStore& m_store;
    bool m_pending = false;
    Recipient m_recipient;
    qint64 m_rowId = 0;
    QString m_error;
    QDateTime m_started;
    QElapsedTimer m_clock;
};
