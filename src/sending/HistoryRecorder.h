#pragma once

#include "engine/TSMSBaseForm.h"
#include "history/HistoryStore.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>

// Writes each attempt of one engine to the history when it ends, with what the engine alone does not know:
// the recipient's name, where the send came from, the list it belongs to and the queued send it carries out.
// The send workflow tells it of each recipient before handing it to the engine.
class HistoryRecorder : public QObject
{
    Q_OBJECT
public:
    struct Recipient
    {
        QString name;
        SendSource source = SendSource::Window;
        qint64 listId = 0;
        qint64 queueId = 0; // the queued send this attempt carries out; 0 for none
    };

    HistoryRecorder(TSMSBaseForm& engine, HistoryStore& store, QObject* parent = nullptr);

    HistoryStore& store() const { return m_store; }

    // The engine's next attempt goes to this recipient.
    void begin(const Recipient& recipient);
    // A recipient that did not go to the engine, with the text it was refused with; `status` is the engine's
    // status it counts as (a list cancelled before it came to the recipient), else HistoryEntry::Refused.
    void refused(const Recipient& recipient, const QString& area, const QString& phone, const QString& sender,
        const QString& message, const QString& text, int status = HistoryEntry::Refused);

signals:
    // An entry went into the history (or could not: its id is then 0).
    void recorded(const HistoryEntry& entry);

private:
    void statusChanged(TSMSStatus status);
    void write(HistoryEntry entry, qint64 queueId);

    TSMSBaseForm& m_engine;
    HistoryStore& m_store;
    bool m_pending = false;
    Recipient m_recipient;
    QDateTime m_started;
    QElapsedTimer m_clock;
};
