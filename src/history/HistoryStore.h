#pragma once

#include "common/SendFailure.h"
#include "common/SendOutcome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
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

// Where a row of the ledger stands: written before its attempt, its attempt under way, or over.
enum class LedgerPhase
{
    Final = 0, // the attempt ended (or the recipient was refused, or the list stopped before it)
    Pending = 1, // a list's recipient written before the list's first attempt, not yet started
    // The attempt started and has not ended: while a program sends it, or left so by a crash. Its message
    // may have left: never sent again without the user's word.
    InFlight = 2,
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
    SendFailure failure; // why it did not end with the site's acceptance
    LedgerPhase phase = LedgerPhase::Final;

    bool sent() const { return !scheduled && phase == LedgerPhase::Final && status == 6; }
    SendOutcome outcome() const
    {
        if (scheduled || phase == LedgerPhase::Pending)
            return SendOutcome::None;
        return phase == LedgerPhase::InFlight ? SendOutcome::Unknown : sendOutcome(status, submitted, confirmed);
    }
    // The state in one word, as zelkora-cli's JSON gives it: sent, rejected, failed, cancelled, unknown,
    // pending or scheduled.
    QString outcomeName() const;
    // The status text as the user reads it: a row left under way or pending says what that means.
    QString shownStatusText() const;
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

    // A finished attempt (or a refused recipient), or one starting (entry.phase); its id, 0 when it could not
    // be written.
    qint64 add(const HistoryEntry& entry);
    // A list's recipients, pending, in one transaction: every id in their order, or none at all.
    QList<qint64> addPending(QList<HistoryEntry> entries);
    // The pending row `id`'s attempt starts; false when the row is not pending or cannot be written.
    bool startAttempt(qint64 id);
    // The queued send `id` is taken for sending now: only one program's claim succeeds, and a claimed send is
    // never due again. False when it is no longer queued or cannot be written.
    bool claim(qint64 id);
    // The message of the attempt of row `id` is leaving for the site.
    bool markSubmitted(qint64 id);
    // A send set for later (entry.due); its id.
    qint64 schedule(HistoryEntry entry);
    // Several sends set for later (a list), in one transaction: all or none. The store's error, empty when
    // every entry went in.
    QString scheduleAll(const QList<HistoryEntry>& entries);
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
    // The recipients of list `listId` that were not sent, in the list's order: refused, failed, cancelled
    // before their message left, or never started. Those whose message may have left only with
    // `includeUnknown` (the user's word).
    QList<HistoryEntry> notSentOfList(qint64 listId, bool includeUnknown = false) const;
    // The recipients of list `listId` whose message may have been sent: no verdict came after it left, or a
    // crash ended the attempt under way.
    QList<HistoryEntry> unknownOfList(qint64 listId) const;
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
    // Opens the connection to the file (read-only: nothing is ever written through it).
    bool connect(bool readOnly);
    // Why the file is not this program's history to write (another program's tables, a newer version);
    // empty when it is, or is new.
    QString foreignReason();
    bool addSearchColumn();
    bool addLedgerColumns();
    // Runs `work` in one transaction: committed when it returns true, else rolled back.
    bool inTransaction(const std::function<bool()>& work);
    bool exec(const QString& statement, const QVariantList& binds = {}, class QSqlQuery* result = nullptr) const;
    QList<HistoryEntry> select(const QString& statement, const QVariantList& binds) const;

    QString m_path;
    QString m_connection;
    bool m_open = false;
    mutable QString m_error;
    mutable int m_errorCode = 0; // SQLite's result code of the last failure
};
