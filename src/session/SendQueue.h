#pragma once

#include "history/HistoryStore.h"
#include "sending/SendWorkflow.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <memory>
#include <optional>

class HistoryRecorder;
class MainView;
class TSMSBaseForm;

// What the queue needs of the session that owns it.
class SendQueueHost
{
public:
    virtual ~SendQueueHost() = default;
    // The window that shows the session; null while there is none.
    virtual MainView* view() const = 0;
    // Definition files changed on disk since they were read are read again before a queued send.
    virtual void reloadChangedDefinitions() = 0;
};

// The session's history and its queue of sends set for later: history.db opened at its first use with the
// recorder that writes every attempt into it, the timer that sends what has come due while the engine is
// free, the sends that fell due while the program was not running held until the user says what becomes of
// them, and the compositions the history's "send again" makes.
class SendQueue : public QObject
{
    Q_OBJECT
public:
    SendQueue(TSMSBaseForm& engine, SendWorkflow& workflow, SendQueueHost& host, QObject* parent = nullptr);
    ~SendQueue() override;

    // history.db, opened at its first use.
    HistoryStore& history();
    bool historyOpened() const { return m_history != nullptr; }
    // The first look at the history in this run: old entries pruned, the queue's timer started, and the sends
    // missed while the program was not running shown to the user. Later calls do nothing.
    void open();
    // The timer runs from open() (the session's start) until stop() (its shutdown).
    void start();
    void stop() { m_timer.stop(); }

    // The composition, checked as the send command checks it, goes into the queue for `due`: one entry per
    // recipient. The refusal's text, empty when it was queued.
    QString schedule(const SendWorkflow::Composition& composition, const QDateTime& due);
    // Sends the first queued send that is due, when the engine is free; the timer calls it.
    void sendDue();
    void setInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    void missedSendChoice(qint64 id, MissedSendChoice choice);
    // The queued sends this run holds back until the user says what becomes of them.
    QSet<qint64> heldSends() const { return m_held; }
    // The queue changed: the view's tray tip and history follow.
    void changed();

    // A finished entry as a composition for one recipient.
    static SendWorkflow::Composition compositionOf(const HistoryEntry& entry);
    // The recipients of a list that were not sent, as a list composition; those whose message may have been
    // sent are included only when the user says so. None when no recipient is left.
    std::optional<SendWorkflow::Composition> notSentOfList(qint64 listId);
    // `listId` when some of that list's recipients were not sent (or may not have been); else 0.
    qint64 listNotSent(qint64 listId) const;

signals:
    // Something was written to the history or the queue changed.
    void historyChanged();

private:
    TSMSBaseForm& m_engine;
    SendWorkflow& m_workflow;
    SendQueueHost& m_host;
    std::unique_ptr<HistoryStore> m_history;
    HistoryRecorder* m_recorder = nullptr;
    QTimer m_timer;
    QDateTime m_startTime;
    QSet<qint64> m_held;
};
