#include "HistoryStore.h"

#include "common/AppPaths.h"
#include "common/AtomicFile.h"
#include "common/ErrorReport.h"
#include "common/ResStrings.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>

namespace {
// Times are stored in UTC with milliseconds, a text that sorts as the times do.
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ");
// How long a write waits for another program's write to end.
constexpr int kBusyTimeoutMs = 15000;
constexpr int kSchemaVersion = 3;
// SQLite's result codes for a file that is damaged or no database at all: the only ones that move it aside.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

// The ledger's values as every statement and every row read back take them, whatever another writer stored
// in their columns (a text, a blob, a 2 for true): the rows a query picks and the outcome read from them
// always agree.
#define ZK_STATUS "MIN(MAX(CAST(status AS INTEGER), -1), 99)"
#define ZK_SUBMITTED "(CAST(submitted AS INTEGER) <> 0)"
#define ZK_PHASE "MIN(MAX(CAST(phase AS INTEGER), 0), 2)"

const QString kColumns = QStringLiteral(
    "id, time, sender, name, area, phone, provider, message, " ZK_STATUS " AS status, status_text, confirmed, "
    "duration_ms, source, list_id, scheduled, due, " ZK_SUBMITTED " AS submitted, " ZK_PHASE " AS phase, reason, "
    "reason_detail");

// An attempt that did not send its message: neither sent nor of unknown outcome (its message left, and no
// verdict came), which must never be sent again without the user's word.
const QString kNotSent = QStringLiteral("(" ZK_PHASE " = 1 OR (" ZK_PHASE " = 0 AND " ZK_STATUS
                                        " <> 6 AND NOT (" ZK_SUBMITTED " AND " ZK_STATUS " IN (0, 9))))");
const QString kUnknown = QStringLiteral(
    "(" ZK_PHASE " = 2 OR (" ZK_PHASE " = 0 AND " ZK_SUBMITTED " AND " ZK_STATUS " IN (0, 9)))");

QString timeText(const QDateTime& time)
{
    return time.isValid() ? time.toUTC().toString(kTimeFormat) : QString();
}

QDateTime timeOf(const QVariant& text)
{
    QDateTime time = QDateTime::fromString(text.toString(), kTimeFormat);
    time.setTimeSpec(Qt::UTC);
    return time.toLocalTime();
}

// A LIKE pattern that finds the text anywhere, its own % and _ taken literally.
QString containing(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// What a search looks in, one column for one comparison per row: the name, the number with and without
// its dash, and the message, a line each.
const QString kSearchText
    = QStringLiteral("name || char(10) || area || phone || char(10) || area || '-' || phone || char(10) || message");

// A text column is never NULL: a missing text is an empty one.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QVariantList bindsOf(const HistoryEntry& e)
{
    return { timeText(e.time), text(e.sender), text(e.name), text(e.area), text(e.phone), text(e.provider),
        text(e.message), e.status, text(e.statusText), e.confirmed ? 1 : 0, e.durationMs,
        HistoryStore::sourceName(e.source), e.listId, e.submitted ? 1 : 0, int(e.phase), int(e.failure.reason),
        text(e.failure.detail) };
}
} // namespace

QString HistoryEntry::outcomeName() const
{
    if (scheduled)
        return QStringLiteral("scheduled");
    if (phase == LedgerPhase::Pending)
        return QStringLiteral("pending");
    switch (outcome()) {
    case SendOutcome::Sent:
        return QStringLiteral("sent");
    case SendOutcome::Rejected:
        return QStringLiteral("rejected");
    case SendOutcome::Cancelled:
        return QStringLiteral("cancelled");
    case SendOutcome::Unknown:
        return QStringLiteral("unknown");
    default:
        return QStringLiteral("failed");
    }
}

QString HistoryEntry::shownStatusText() const
{
    if (!scheduled && phase == LedgerPhase::InFlight)
        return ResStrings::outcomeUnknown();
    if (!scheduled && phase == LedgerPhase::Pending)
        return QCoreApplication::translate("HistoryStore", "לא נשלחה: השליחה נקטעה לפני תורה");
    // Worded now, in the language of the moment; a row written before reasons were kept, or refused with a
    // text of its own, shows the text it was written with.
    if (!scheduled && status >= 0 && status <= 9)
        return ResStrings::outcomeText(status, outcome(), failure);
    if (!scheduled && status == Refused && !failure.isNone())
        return failureText(failure);
    return statusText;
}

QString HistoryStore::defaultPath()

{
    return AppPaths::appDir() + QStringLiteral("history.db");
}

QString HistoryStore::sourceName(SendSource source)
{
    switch (source) {
    case SendSource::List:
        return QStringLiteral("list");
    case SendSource::CommandLine:
        return QStringLiteral("cli");
    case SendSource::Queue:
        return QStringLiteral("queue");
    case SendSource::Window:
        break;
    }
    return QStringLiteral("window");
}

SendSource HistoryStore::sourceOf(const QString& name)
{
    if (name == QLatin1String("list"))
        return SendSource::List;
    if (name == QLatin1String("cli"))
        return SendSource::CommandLine;
    if (name == QLatin1String("queue"))
        return SendSource::Queue;
    return SendSource::Window;
}

HistoryStore::HistoryStore(const QString& path)
    : m_path(path)
    , m_connection(QStringLiteral("history-%1").arg(quintptr(this), 0, 16))
{
    open();
}

HistoryStore::~HistoryStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool HistoryStore::connect(bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
        ? QSqlDatabase::database(m_connection, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.close();
    if (readOnly) {
        // A file that cannot be written now (a full disk) may not even take the lock files a reader makes: it is
        // read as it stands, without them.
        db.setDatabaseName(
            QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro&immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    } else {
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    }
    m_open = db.open();
    if (!m_open) {
        m_error = db.lastError().text();
        m_errorCode = db.lastError().nativeErrorCode().toInt() & 0xff;
    }
    return m_open;
}

QString HistoryStore::foreignReason()
{
    // Read before anything is written: a file that is not this program's history, or one of a newer version,
    // is never changed.
    QSqlQuery tables;
    if (!exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), {}, &tables))
        return QString();
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    if (!names.isEmpty() && !names.contains(QStringLiteral("attempts")))
        return tr("it holds another program's tables (%1)").arg(names.join(QStringLiteral(", ")));
    QSqlQuery version;
    if (exec(QStringLiteral("PRAGMA user_version"), {}, &version) && version.next()
        && version.value(0).toInt() > kSchemaVersion)
        return tr("it was written by a newer version of the program");
    return QString();
}

bool HistoryStore::open()
{
    AtomicFile::makeFolder(QFileInfo(m_path).absolutePath());
    const bool existed = QFileInfo(m_path).size() > 0;
    // Every message and number the user sent is in it: the owner's alone (SQLite gives its journal files the
    // same mode).
    AtomicFile::makePrivateFile(m_path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_errorCode = 0;
        QString foreign;
        m_open = connect(false) && (foreign = foreignReason()).isEmpty() && m_error.isEmpty();
        if (!foreign.isEmpty()) {
            QSqlDatabase::database(m_connection, false).close();
            m_open = false;
            m_error = foreign;
            ErrorReport::report(tr("The history %1 is not one this program can use: %2. It was left as it is, and "
                                   "nothing will be recorded in it.")
                                    .arg(QDir::toNativeSeparators(m_path), foreign));
            return false;
        }
        // Write-ahead logging: a reader never waits for a writer, and one program's write waits for another's.
        m_open = m_open && exec(QStringLiteral("PRAGMA journal_mode=WAL"))
            && exec(QStringLiteral("PRAGMA synchronous=NORMAL"))
            && exec(
                QStringLiteral("CREATE TABLE IF NOT EXISTS attempts (id INTEGER PRIMARY KEY, time TEXT NOT NULL, "
                               "sender TEXT NOT NULL DEFAULT '', name TEXT NOT NULL DEFAULT '', "
                               "area TEXT NOT NULL DEFAULT '', phone TEXT NOT NULL DEFAULT '', "
                               "provider TEXT NOT NULL DEFAULT '', message TEXT NOT NULL DEFAULT '', "
                               "status INTEGER NOT NULL DEFAULT -1, status_text TEXT NOT NULL DEFAULT '', "
                               "confirmed INTEGER NOT NULL DEFAULT 0, duration_ms INTEGER NOT NULL DEFAULT 0, "
                               "source TEXT NOT NULL DEFAULT 'window', list_id INTEGER NOT NULL DEFAULT 0, "
                               "scheduled INTEGER NOT NULL DEFAULT 0, due TEXT, submitted INTEGER NOT NULL DEFAULT 0, "
                               "phase INTEGER NOT NULL DEFAULT 0, reason INTEGER NOT NULL DEFAULT 0, "
                               "reason_detail TEXT NOT NULL DEFAULT '', "
                               "search TEXT GENERATED ALWAYS AS (")
                + kSearchText + QStringLiteral(") STORED)"))
            && addSearchColumn() && addLedgerColumns()
            && exec(QStringLiteral("CREATE INDEX IF NOT EXISTS attempts_time ON attempts(time)"))
            && exec(QStringLiteral("CREATE INDEX IF NOT EXISTS attempts_queue ON attempts(scheduled, due)"))
            && exec(QStringLiteral("CREATE INDEX IF NOT EXISTS attempts_list ON attempts(list_id)"))
            && exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
        if (m_open || !existed || attempt > 0)
            break;
        const QString reason = m_error;
        if (m_errorCode != kSqliteCorrupt && m_errorCode != kSqliteNotADatabase) {
            // Busy, full, read-only or an I/O error: nothing is wrong with the file. It is kept, and listed
            // read-only where it can be read; nothing can be recorded (and so nothing is sent) meanwhile.
            m_open = connect(true) && exec(QStringLiteral("SELECT COUNT(*) FROM attempts"));
            m_error = reason;
            ErrorReport::report(tr("The history %1 cannot be written (%2). It was kept as it is%3; nothing can be "
                                   "recorded or sent until it can be written.")
                                    .arg(QDir::toNativeSeparators(m_path), reason,
                                        m_open ? tr(", and is shown read-only") : QString()));
            return m_open;
        }
        // Really damaged: moved aside whole, with its journal files beside it, and a new one begun.
        QSqlDatabase::database(m_connection, false).close();
        const QString aside = AtomicFile::moveAside(m_path);
        if (aside.isEmpty()) {
            ErrorReport::report(tr("The history %1 cannot be read (%2); nothing will be recorded in it.")
                                    .arg(QDir::toNativeSeparators(m_path), reason));
            break;
        }
        for (const QString& journal : { QStringLiteral("-wal"), QStringLiteral("-shm") }) {
            if (QFileInfo::exists(m_path + journal))
                QFile::rename(m_path + journal, aside + journal);
        }
        ErrorReport::report(tr("The history %1 cannot be read (%2); it was moved to %3, and a new one begins.")
                                .arg(QDir::toNativeSeparators(m_path), reason, QDir::toNativeSeparators(aside)));
    }
    return m_open;
}

bool HistoryStore::addSearchColumn()
{
    QSqlQuery columns;
    if (!exec(QStringLiteral("SELECT COUNT(*) FROM pragma_table_xinfo('attempts') WHERE name = 'search'"), {}, &columns)
        || !columns.next())
        return false;
    if (columns.value(0).toInt() > 0)
        return true;
    // A history from before the search column: a stored column cannot be added to a table, a computed one can.
    return exec(QStringLiteral("ALTER TABLE attempts ADD COLUMN search TEXT GENERATED ALWAYS AS (") + kSearchText
        + QStringLiteral(") VIRTUAL"));
}

bool HistoryStore::addLedgerColumns()
{
    // A history from before the ledger knew no unknown outcome and no row before its attempt: its rows are
    // final, and none of their messages counts as submitted.
    // One from before the reasons were kept has none: its rows show their stored status text.
    const QList<QPair<QString, QString>> added { { QStringLiteral("submitted"), QStringLiteral("INTEGER NOT NULL DEFAULT 0") },
        { QStringLiteral("phase"), QStringLiteral("INTEGER NOT NULL DEFAULT 0") },
        { QStringLiteral("reason"), QStringLiteral("INTEGER NOT NULL DEFAULT 0") },
        { QStringLiteral("reason_detail"), QStringLiteral("TEXT NOT NULL DEFAULT ''") } };
    for (const auto& [column, type] : added) {
        QSqlQuery columns;
        if (!exec(QStringLiteral("SELECT COUNT(*) FROM pragma_table_xinfo('attempts') WHERE name = ?"), { column },
                &columns)
            || !columns.next())
            return false;
        if (columns.value(0).toInt() == 0
            && !exec(QStringLiteral("ALTER TABLE attempts ADD COLUMN %1 %2").arg(column, type)))
            return false;
    }
    return true;
}

bool HistoryStore::inTransaction(const std::function<bool()>& work)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_open || !db.transaction()) {
        if (m_open)
            m_error = db.lastError().text();
        return false;
    }
    if (work() && db.commit())
        return true;
    const QString error = m_error.isEmpty() ? db.lastError().text() : m_error;
    db.rollback();
    m_error = error;
    return false;
}

bool HistoryStore::exec(const QString& statement, const QVariantList& binds, QSqlQuery* result) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.prepare(statement)) {
        m_error = query.lastError().text();
        m_errorCode = query.lastError().nativeErrorCode().toInt() & 0xff;
        return false;
    }
    for (const QVariant& value : binds)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        m_errorCode = query.lastError().nativeErrorCode().toInt() & 0xff;
        return false;
    }
    m_error.clear();
    if (result)
        *result = std::move(query);
    return true;
}

qint64 HistoryStore::add(const HistoryEntry& entry)
{
    QSqlQuery query;
    if (!m_open
        || !exec(QStringLiteral("INSERT INTO attempts (time, sender, name, area, phone, provider, message, status, "
                                "status_text, confirmed, duration_ms, source, list_id, submitted, phase, reason, "
                                "reason_detail) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            bindsOf(entry), &query))
        return 0;
    return query.lastInsertId().toLongLong();
}

QList<qint64> HistoryStore::addPending(QList<HistoryEntry> entries)
{
    QList<qint64> ids;
    const bool written = inTransaction([&] {
        for (HistoryEntry& entry : entries) {
            entry.phase = LedgerPhase::Pending;
            const qint64 id = add(entry);
            if (id == 0)
                return false;
            ids << id;
        }
        return true;
    });
    return written ? ids : QList<qint64>();
}

bool HistoryStore::startAttempt(qint64 id)
{
    QSqlQuery query;
    return m_open
        && exec(QStringLiteral("UPDATE attempts SET phase = 2, time = ? WHERE id = ? AND phase = 1 AND scheduled = 0"),
            { timeText(QDateTime::currentDateTime()), id }, &query)
        && query.numRowsAffected() == 1;
}

bool HistoryStore::claim(qint64 id)
{
    // The condition makes the claim: of two programs that read the row as queued, one update finds it so.
    QSqlQuery query;
    return m_open
        && exec(QStringLiteral("UPDATE attempts SET scheduled = 0, phase = 2, time = ? WHERE id = ? AND scheduled = 1"),
            { timeText(QDateTime::currentDateTime()), id }, &query)
        && query.numRowsAffected() == 1;
}

bool HistoryStore::markSubmitted(qint64 id)
{
    QSqlQuery query;
    return m_open
        && exec(QStringLiteral("UPDATE attempts SET submitted = 1 WHERE id = ? AND phase = 2"), { id }, &query)
        && query.numRowsAffected() == 1;
}

QString HistoryStore::scheduleAll(const QList<HistoryEntry>& entries)
{
    const bool written = inTransaction([&] {
        for (const HistoryEntry& entry : entries) {
            if (schedule(entry) == 0)
                return false;
        }
        return true;
    });
    if (written)
        return QString();
    return m_error.isEmpty() ? tr("ההיסטוריה אינה פתוחה") : m_error;
}

qint64 HistoryStore::schedule(HistoryEntry entry)

{
    // A queued send stands in the history at the time it is to go.
    entry.time = entry.due;
    QVariantList binds = bindsOf(entry);
    binds << timeText(entry.due);
    QSqlQuery query;
    if (!m_open
        || !exec(QStringLiteral("INSERT INTO attempts (time, sender, name, area, phone, provider, message, status, "
                                "status_text, confirmed, duration_ms, source, list_id, submitted, phase, reason, "
                                "reason_detail, scheduled, due) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                "?, 1, ?)"),
            binds, &query))
        return 0;
    return query.lastInsertId().toLongLong();
}

bool HistoryStore::reschedule(qint64 id, const QDateTime& due)
{
    QSqlQuery query;
    return m_open
        && exec(QStringLiteral("UPDATE attempts SET time = ?, due = ? WHERE id = ? AND scheduled = 1"),
            { timeText(due), timeText(due), id }, &query)
        && query.numRowsAffected() == 1;
}

bool HistoryStore::drop(qint64 id)
{
    QSqlQuery query;
    return m_open && exec(QStringLiteral("DELETE FROM attempts WHERE id = ? AND scheduled = 1"), { id }, &query)
        && query.numRowsAffected() == 1;
}

bool HistoryStore::complete(qint64 id, const HistoryEntry& attempt)
{
    QVariantList binds = bindsOf(attempt);
    binds << id;
    QSqlQuery query;
    return m_open
        && exec(QStringLiteral(
                    "UPDATE attempts SET time = ?, sender = ?, name = ?, area = ?, phone = ?, "
                    "provider = ?, message = ?, status = ?, status_text = ?, confirmed = ?, "
                    "duration_ms = ?, source = ?, list_id = ?, submitted = ?, phase = ?, reason = ?, "
                    "reason_detail = ?, scheduled = 0 WHERE id = ?"),
            binds, &query)
        && query.numRowsAffected() == 1;
}

HistoryEntry HistoryStore::entryOf(const QSqlRecord& r)
{
    HistoryEntry e;
    e.id = r.value(QStringLiteral("id")).toLongLong();
    e.time = timeOf(r.value(QStringLiteral("time")));
    e.sender = r.value(QStringLiteral("sender")).toString();
    e.name = r.value(QStringLiteral("name")).toString();
    e.area = r.value(QStringLiteral("area")).toString();
    e.phone = r.value(QStringLiteral("phone")).toString();
    e.provider = r.value(QStringLiteral("provider")).toString();
    e.message = r.value(QStringLiteral("message")).toString();
    e.status = r.value(QStringLiteral("status")).toInt();
    e.statusText = r.value(QStringLiteral("status_text")).toString();
    e.confirmed = r.value(QStringLiteral("confirmed")).toInt() != 0;
    e.durationMs = r.value(QStringLiteral("duration_ms")).toLongLong();
    e.source = sourceOf(r.value(QStringLiteral("source")).toString());
    e.listId = r.value(QStringLiteral("list_id")).toLongLong();
    e.scheduled = r.value(QStringLiteral("scheduled")).toInt() != 0;
    e.submitted = r.value(QStringLiteral("submitted")).toInt() != 0;
    e.phase = LedgerPhase(qBound(0, r.value(QStringLiteral("phase")).toInt(), 2));
    const int reason = r.value(QStringLiteral("reason")).toInt();
    // A reason of a later version is shown by its stored status text.
    e.failure.reason = reason >= 0 && reason <= int(FailureReason::PageUnreadable) ? FailureReason(reason)
                                                                                 : FailureReason::None;
    e.failure.detail = r.value(QStringLiteral("reason_detail")).toString();
    if (e.scheduled)
        e.due = timeOf(r.value(QStringLiteral("due")));
    return e;
}

QList<HistoryEntry> HistoryStore::select(const QString& statement, const QVariantList& binds) const
{
    QList<HistoryEntry> list;
    QSqlQuery query;
    if (!m_open || !exec(statement, binds, &query))
        return list;
    while (query.next())
        list << entryOf(query.record());
    return list;
}

QString HistoryStore::selectStatement(const HistoryQuery& q, QVariantList* binds)
{
    QString statement = QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM attempts WHERE 1 = 1");
    if (!q.search.trimmed().isEmpty()) {
        const QString pattern = containing(q.search.trimmed());
        statement += QStringLiteral(" AND search LIKE ? ESCAPE '\\'");
        *binds << pattern;
    }
    if (q.notSentOnly)
        statement += QStringLiteral(" AND scheduled = 0 AND ") + kNotSent;
    if (q.since.isValid()) {
        statement += QStringLiteral(" AND time >= ?");
        *binds << timeText(q.since);
    }
    // A search reads every row anyway: in the table's order, then sorted, it is twice as fast as through the
    // time's index, which reaches each row by a lookup of its own. Without one, the index gives the newest
    // rows at once.
    statement += q.search.trimmed().isEmpty() ? QStringLiteral(" ORDER BY time DESC, id DESC")
                                              : QStringLiteral(" ORDER BY +time DESC, id DESC");
    if (q.limit >= 0) {
        statement += QStringLiteral(" LIMIT ?");
        *binds << q.limit;
    }
    return statement;
}

std::optional<HistoryEntry> HistoryStore::entry(qint64 id) const
{
    const QList<HistoryEntry> found
        = select(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM attempts WHERE id = ?"), { id });
    return found.isEmpty() ? std::nullopt : std::optional<HistoryEntry>(found.first());
}

QList<HistoryEntry> HistoryStore::entries(const HistoryQuery& query) const
{
    QVariantList binds;
    const QString statement = selectStatement(query, &binds);
    return select(statement, binds);
}

QList<HistoryEntry> HistoryStore::scheduled() const
{
    return select(
        QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM attempts WHERE scheduled = 1 ORDER BY due, id"),
        {});
}

QList<HistoryEntry> HistoryStore::dueBy(const QDateTime& now) const
{
    return select(QStringLiteral("SELECT ") + kColumns
            + QStringLiteral(" FROM attempts WHERE scheduled = 1 AND due <= ? ORDER BY due, id"),
        { timeText(now) });
}

qint64 HistoryStore::newListId()
{
    QSqlQuery query;
    qint64 largest = 0;
    if (m_open && exec(QStringLiteral("SELECT COALESCE(MAX(list_id), 0) FROM attempts"), {}, &query) && query.next())
        largest = query.value(0).toLongLong();
    // The time makes two programs that start a list at once unlikely to meet; the largest keeps the order.
    return qMax(QDateTime::currentMSecsSinceEpoch(), largest + 1);
}

QList<HistoryEntry> HistoryStore::unknownOfList(qint64 listId) const
{
    return select(QStringLiteral("SELECT ") + kColumns
            + QStringLiteral(" FROM attempts WHERE list_id = ? AND scheduled = 0 AND ") + kUnknown
            + QStringLiteral(" ORDER BY id"),
        { listId });
}

QList<HistoryEntry> HistoryStore::notSentOfList(qint64 listId, bool includeUnknown) const
{
    const QString which = includeUnknown ? QStringLiteral("(%1 OR %2)").arg(kNotSent, kUnknown) : kNotSent;
    return select(QStringLiteral("SELECT ") + kColumns
            + QStringLiteral(" FROM attempts WHERE list_id = ? AND scheduled = 0 AND ") + which
            + QStringLiteral(" ORDER BY id"),
        { listId });
}

qint64 HistoryStore::lastListId() const
{
    QSqlQuery query;
    if (!m_open
        || !exec(QStringLiteral("SELECT list_id FROM attempts WHERE list_id <> 0 AND scheduled = 0 "
                                "ORDER BY time DESC, id DESC LIMIT 1"),
            {}, &query)
        || !query.next())
        return 0;
    return query.value(0).toLongLong();
}

int HistoryStore::prune(int days)
{
    if (days <= 0)
        return 0;
    QSqlQuery query;
    if (!m_open
        || !exec(QStringLiteral("DELETE FROM attempts WHERE scheduled = 0 AND phase = 0 AND time < ?"),
            { timeText(QDateTime::currentDateTimeUtc().addDays(-days)) }, &query))
        return 0;
    return query.numRowsAffected();
}
