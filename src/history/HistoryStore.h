#pragma once

#include "common/SendOutcome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class QSqlDatabase;

// Where a send came from: the main window's single send, a list (the window's), zelkora-cli, or the queue
// of sends set for later.
enum class SendSource
{
    Window,
    List,
    CommandLine,
    Queue,
};

// What a queued send whose time passed while the program was not running becomes, in the user's words.
enum class MissedSendChoice
{
    SendNow,
    Keep, // stays in the queue, held until the next start asks again (or its time is changed)
    Drop,
};

// One attempt of the sending engine as it ended, a recipient refused before it could start one, or a send
// waiting in the queue. Never a password.
struct HistoryEntry
{
    // The status of a recipient that never reached the engine (no provider, no credentials).
    static constexpr int Refused = -1;

    qint64 id = 0;
    QDateTime time; // when the attempt started
    QString sender;
    QString name; // the recipient's name, when it came from the phone book or a list
    QString area;
    QString phone;
    QString provider;
    QString message;
    int status = Refused; // the engine's final status, 0 to 9
    QString statusText;
    bool confirmed = false; // the result page said so in words
    qint64 durationMs = 0;
    SendSource source = SendSource::Window;
    qint64 listId = 0; // the recipients of one list share it; 0 for a single send
    bool scheduled = false; // waiting in the queue: nothing was sent yet
    QDateTime due; // when a queued send is to go

    bool submitted = false; // the message left for the site (an attempt may end without a verdict after it)

    bool sent() const { return !scheduled && status == 6; }
    SendOutcome outcome() const { return scheduled ? SendOutcome::None : sendOutcome(status, submitted, confirmed); }
};

// What the history window and zelkora-cli ask for: newest first.
struct HistoryQuery
{
    // Found in the name, the number (with or without its area code and dash) or the message; bound as a
    // parameter, never part of the statement.
    QString search;
    bool notSentOnly = false;
    QDateTime since;
    int limit = -1;
};

// The history of every attempt and the queue of sends set for later, in history.db (SQLite) in the
// program's data folder, beside the phone book files. Both programs write it: each attempt is committed when
// it ends, and a program that finds the file busy with another's write waits for it instead of failing. A
// file that cannot be read as a history is moved aside, never written over.
class HistoryStore
{
    Q_DECLARE_TR_FUNCTIONS(HistoryStore)
public:
    static QString defaultPath();
    static QString sourceName(SendSource source);
    static SendSource sourceOf(const QString& name);

    explicit HistoryStore(const QString& path = defaultPath());
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    // Why the last operation failed; empty when it did not.
    QString error() const { return m_error; }

    // A finished attempt (or a refused recipient); its id, 0 when it could not be written.
    qint64 add(const HistoryEntry& entry);
    // A send set for later (entry.due); its id.
    qint64 schedule(HistoryEntry entry);
    bool reschedule(qint64 id, const QDateTime& due);
    // A queued send that is not to go; an entry already sent is not dropped.
    bool drop(qint64 id);
    // The queued send `id` went: its row becomes that attempt.
    bool complete(qint64 id, const HistoryEntry& attempt);

    std::optional<HistoryEntry> entry(qint64 id) const;
    QList<HistoryEntry> entries(const HistoryQuery& query = {}) const;
    // The queue, the earliest first.
    QList<HistoryEntry> scheduled() const;
    // The queued sends whose time has come by `now`.
    QList<HistoryEntry> dueBy(const QDateTime& now) const;

    // A new list's id, larger than any before it.
    qint64 newListId();
    // The recipients of list `listId` that were not sent, in the list's order.
    QList<HistoryEntry> notSentOfList(qint64 listId) const;
    // The last list sent, by any program; 0 when there was none.
    qint64 lastListId() const;

    // Drops the finished entries older than `days` days (0 or less keeps everything); how many went.
    int prune(int days);

    // The statement the history window shows, with its parameters in `binds` (for the window's model and the
    // benchmark, which must run the same query).
    static QString selectStatement(const HistoryQuery& query, QVariantList* binds);
    static HistoryEntry entryOf(const class QSqlRecord& record);
    QString connectionName() const { return m_connection; }

private:
    bool open();
    bool addSearchColumn();
    bool addSubmittedColumn();
    bool exec(const QString& statement, const QVariantList& binds = {}, class QSqlQuery* result = nullptr) const;
    QList<HistoryEntry> select(const QString& statement, const QVariantList& binds) const;

    QString m_path;
    QString m_connection;
    bool m_open = false;
    mutable QString m_error;
};
