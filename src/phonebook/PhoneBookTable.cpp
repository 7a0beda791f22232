#include "PhoneBookTable.h"

#include "common/AtomicFile.h"

#include "common/AppPaths.h"
#include "common/ErrorReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sqlite3.h>
#include <unistd.h>

namespace {
const QString TableName = QStringLiteral("Recipients");
const QString KeyField = QStringLiteral("RecordId");

struct FieldDef
{
    const char* name;
    int width;
};

constexpr FieldDef PhoneBookFields[] = {
    { "Name", PhoneBookTable::NameWidth },
    { "Area", PhoneBookTable::AreaWidth },
    { "Phone", PhoneBookTable::PhoneWidth },
};
// The contacts cache keeps every digit that follows a contact's area code, and which card each row came
// from and how that card read at the import, so that a write-back acts on that card and on no other.
constexpr FieldDef CacheFields[] = {
    { "Name", PhoneBookTable::NameWidth },
    { "Area", PhoneBookTable::AreaWidth },
    { "Phone", PhoneBookTable::CachePhoneWidth },
    { "Unknown", PhoneBookTable::UnknownWidth },
    { "Card", PhoneBookTable::CardWidth },
    { "CardDigest", PhoneBookTable::CardDigestWidth },
};

struct FieldDefs
{
    const FieldDef* begin;
    int count;
    const FieldDef& operator[](int i) const { return begin[i]; }
};

FieldDefs fieldsOf(PhoneBookTable::Kind kind)
{
    if (kind == PhoneBookTable::Kind::OutlookCache)
        return { CacheFields, int(std::size(CacheFields)) };
    return { PhoneBookFields, int(std::size(PhoneBookFields)) };
}

int fieldCountOf(PhoneBookTable::Kind kind)
{
    return fieldsOf(kind).count;
}

QString sqlError(const QSqlError& error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

// The first `width` characters of the text, counted as SQLite's substr() counts them (a character outside
// the Basic Multilingual Plane is one character), so a pending value is cut as its stored copy will be.
QString cutToWidth(const QString& text, int width)
{
    qsizetype units = 0;
    for (int characters = 0; units < text.size() && characters < width; ++characters) {
        const bool pair
            = text.at(units).isHighSurrogate() && units + 1 < text.size() && text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

// The LIKE pattern of names that begin with `prefix`: the pattern's own characters are escaped, so that
// '%' and '_' in the prefix mean themselves.
QString prefixPattern(const QString& prefix)
{
    QString pattern;
    pattern.reserve(prefix.size() + 2);
    for (const QChar c : prefix) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    return pattern + QLatin1Char('%');
}

// SQLite's own connection under the table's database, when the driver runs on the SQLite this program is built
// with; null when it runs on another (a driver with a copy of its own, of another version). A bulk store goes
// through it: binding each value through QSqlQuery costs several times what SQLite takes to store the row.
sqlite3* sqliteConnectionOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData());
    QSqlQuery query(db);
    if (!connection || !query.exec(QStringLiteral("SELECT sqlite_source_id()")) || !query.next()
        || query.value(0).toString() != QLatin1String(sqlite3_sourceid()) || sqlite3_initialize() != SQLITE_OK)
        return nullptr;
    return connection;
}

// Stores the records through one prepared INSERT of `count` values; a value missing from a record, like a null
// text, is stored as NULL, as QSqlQuery binds it.
bool insertRecords(sqlite3* connection, const QString& statement, int count, const QList<QStringList>& records)
{
    const QByteArray text = statement.toUtf8();
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(connection, text.constData(), int(text.size()), &insert, nullptr) != SQLITE_OK)
        return false;
    bool ok = true;
    for (qsizetype r = 0; ok && r < records.size(); ++r) {
        const QStringList& record = records[r];
        for (int i = 0; ok && i < count; ++i) {
            const QString* value = i < record.size() && !record[i].isNull() ? &record[i] : nullptr;
            // The record outlives the step, so SQLite need not copy the text.
            const int bound = value
                ? sqlite3_bind_text16(insert, i + 1, value->utf16(), int(value->size() * sizeof(QChar)), SQLITE_STATIC)
                : sqlite3_bind_null(insert, i + 1);
            ok = bound == SQLITE_OK;
        }
        ok = ok && sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    return ok;
}

// Makes sure the bytes of a file, or the entry of a renamed file in its folder, are on the disk.
bool syncPath(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
} // namespace

// The table's rows in the table's order. QSqlTableModel would sort by one column with the column's
// collation; the order here also keeps equal names in the order they were stored.
class PhoneBookModel : public QSqlTableModel
{
public:
    explicit PhoneBookModel(const QSqlDatabase& db)
        : QSqlTableModel(nullptr, db)
    {
    }

    bool sortedByName = true;
    // The LIKE pattern of the name filter; empty while the filter is off. It is bound to the statement's
    // parameter, so no text a user types becomes part of the statement.
    QString namePattern;

    // QSqlTableModel::select() can only run a statement text; this one prepares the statement and binds the
    // pattern. Unsubmitted model edits are dropped, as they are there.
    bool select() override
    {
        if (m_editsSubmitted) {
            // Rows submitted through the model stay in QSqlTableModel's edit cache, shadowing the stored
            // values, until its own select() drops them; nothing else can. It runs on a statement that reads
            // no row, and the rows are read below.
            m_editsSubmitted = false;
            m_readNothing = true;
            QSqlTableModel::select();
            m_readNothing = false;
        }
        QSqlQuery query(database());
        const QString statement = selectStatement();
        if (statement.isEmpty() || !query.prepare(statement)) {
            setLastError(query.lastError());
            return false;
        }
        if (!namePattern.isEmpty())
            query.addBindValue(namePattern);
        if (!query.exec()) {
            setLastError(query.lastError());
            return false;
        }
        revertAll();
        QSqlQueryModel::setQuery(std::move(query));
        return !lastError().isValid();
    }

    // Reads rows up to `row`, as a view does when it scrolls; false when the result has no such row.
    bool fetchTo(int row)
    {
        while (row >= rowCount() && canFetchMore())
            fetchMore();
        return row >= 0 && row < rowCount();
    }

    void fetchAll()
    {
        while (canFetchMore())
            fetchMore();
    }

protected:
    QString selectStatement() const override
    {
        const QString fields
            = database().driver()->sqlStatement(QSqlDriver::SelectStatement, tableName(), record(), false);
        if (fields.isEmpty())
            return QString();
        if (m_readNothing)
            return fields + QStringLiteral(" WHERE 0");
        // The index on Name (NOCASE) serves both the filter and the order: LIKE ignores ASCII case as the
        // index does, so SQLite reads only the range of names that begin with the pattern's fixed part.
        const QString where = namePattern.isEmpty() ? QString() : QStringLiteral(" WHERE Name LIKE ? ESCAPE '\\'");
        return fields + where + QLatin1Char(' ') + orderByClause();
    }

    QString orderByClause() const override
    {
        return sortedByName ? QStringLiteral("ORDER BY Name COLLATE NOCASE, RecordId")
                            : QStringLiteral("ORDER BY RecordId");
    }

    // The three ways a model edit reaches the database.
    bool insertRowIntoTable(const QSqlRecord& values) override
    {
        m_editsSubmitted = true;
        return QSqlTableModel::insertRowIntoTable(values);
    }
    bool updateRowInTable(int row, const QSqlRecord& values) override
    {
        m_editsSubmitted = true;
        return QSqlTableModel::updateRowInTable(row, values);
    }
    bool deleteRowFromTable(int row) override
    {
        m_editsSubmitted = true;
        return QSqlTableModel::deleteRowFromTable(row);
    }

private:
    bool m_editsSubmitted = false;
    bool m_readNothing = false;
};

PhoneBookTable::PhoneBookTable(Kind kind, QObject* parent)
    : QObject(parent)
    , m_kind(kind)
{
    static int connections = 0;
    m_connectionName = QStringLiteral("zk_phonebook_%1").arg(++connections);
}

// The database is made at the table's first use: an open, empty table looks the same from outside, and
// the program's start does not wait for the database driver.
PhoneBookModel* PhoneBookTable::table() const
{
    if (m_model)
        return m_model.get();

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(QStringLiteral(":memory:"));
    // URI names let the file be attached read-only when it is loaded.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!db.open()) {
        ErrorReport::report(tr("The phone book storage cannot be opened: %1").arg(sqlError(db.lastError())));
    } else {
        const auto run = [&db](const QString& statement) { QSqlQuery(db).exec(statement); };
        run(memoryTableStatement());
        for (const QString& statement : indexAndTriggerStatements())
            run(statement);
    }

    m_model = std::make_unique<PhoneBookModel>(db);
    m_model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    m_model->setTable(TableName);
    m_model->select();
    return m_model.get();
}

PhoneBookTable::~PhoneBookTable()
{
    if (!m_model)
        return;
    // The model holds the connection; it goes first so that the connection can be removed without
    // any query left on it.
    m_model.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase PhoneBookTable::database() const
{
    table();
    return QSqlDatabase::database(m_connectionName, false);
}

QString PhoneBookTable::fileName() const
{
    return m_kind == Kind::OutlookCache ? QStringLiteral("outlook.db") : QStringLiteral("phonebook.db");
}

QString PhoneBookTable::filePath() const
{
    return AppPaths::appDir() + fileName();
}

QStringList PhoneBookTable::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < fieldCountOf(m_kind); ++i)
        names << QLatin1String(fieldsOf(m_kind)[i].name);
    return names;
}

int PhoneBookTable::fieldWidth(const QString& field) const
{
    const FieldDefs fields = fieldsOf(m_kind);
    for (int i = 0; i < fields.count; ++i) {
        if (field.compare(QLatin1String(fields[i].name), Qt::CaseInsensitive) == 0)
            return fields[i].width;
    }
    return 0;
}

QSqlTableModel* PhoneBookTable::model() const
{
    return table();
}

int PhoneBookTable::keyColumn() const
{
    return table()->fieldIndex(KeyField);
}

bool PhoneBookTable::isEmpty() const
{
    return recordCount() == 0;
}

int PhoneBookTable::recordCount() const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM Recipients")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

bool PhoneBookTable::clearRecords()
{
    cancel();
    table()->revertAll();
    const bool ok = execute(QStringLiteral("DELETE FROM Recipients"));
    table()->select();
    return ok;
}

bool PhoneBookTable::flushPendingEdits()
{
    if (!table()->isDirty())
        return true;
    return table()->submitAll();
}

bool PhoneBookTable::appendRecord(const QStringList& values, int* row)
{
    if (row)
        *row = -1;
    qint64 key = -1;
    if (!flushPendingEdits() || !storeNew(values, &key))
        return false;
    table()->select();
    if (row)
        *row = rowOfKey(key);
    return true;
}

bool PhoneBookTable::appendRecords(const QList<QStringList>& records)
{
    if (!flushPendingEdits())
        return false;
    QSqlDatabase db = database();
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    const int count = fieldCountOf(m_kind);
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    const QString statement
        = QStringLiteral("INSERT INTO Recipients (%1) VALUES (%2)").arg(fieldList(), marks.join(QLatin1Char(',')));
    bool ok = true;
    if (sqlite3* connection = sqliteConnectionOf(db)) {
        ok = insertRecords(connection, statement, count, records);
    } else {
        ok = query.prepare(statement);
        for (int r = 0; ok && r < records.size(); ++r) {
            for (int i = 0; i < count; ++i)
                query.bindValue(i, records[r].value(i));
            ok = query.exec();
        }
        query.finish();
    }
    if (ok)
        ok = db.commit();
    if (!ok)
        db.rollback();
    table()->select();
    return ok;
}

bool PhoneBookTable::removeRecord(int row)
{
    const qint64 key = keyAt(row);
    if (key < 0 || !flushPendingEdits())
        return false;
    return removeKey(key);
}

void PhoneBookTable::setEvents(Events events)
{
    m_events = std::move(events);
}

bool PhoneBookTable::insertRecord()
{
    if (m_state != State::Browse)
        return false;
    m_state = State::Insert;
    m_pendingKey = -1;
    m_pending = QStringList();
    for (int i = 0; i < fieldCountOf(m_kind); ++i)
        m_pending << QString();
    if (m_events.afterInsert)
        m_events.afterInsert(*this);
    return true;
}

bool PhoneBookTable::editRecord(int row)
{
    const qint64 key = keyAt(row);
    if (m_state != State::Browse || key < 0)
        return false;
    m_state = State::Edit;
    m_pendingKey = key;
    m_pending = recordValues(row);
    return true;
}

void PhoneBookTable::setFieldText(const QString& field, const QString& text)
{
    const int index = fieldNames().indexOf(field);
    if (m_state == State::Browse || index < 0)
        return;
    m_pending[index] = cutToWidth(text, fieldsOf(m_kind)[index].width);
}

QString PhoneBookTable::pendingFieldText(const QString& field) const
{
    return m_state == State::Browse ? QString() : m_pending.value(fieldNames().indexOf(field));
}

bool PhoneBookTable::post(int* row)
{
    if (row)
        *row = -1;
    // A handler that posts again from inside beforePost would store the record twice.
    if (m_state == State::Browse || m_posting)
        return false;
    m_posting = true;
    const bool allowed = !m_events.beforePost || m_events.beforePost(*this);
    m_posting = false;
    // The handler may have cancelled the record.
    if (!allowed || m_state == State::Browse || !flushPendingEdits())
        return false;

    qint64 key = m_pendingKey;
    const bool stored = m_state == State::Insert ? storeNew(m_pending, &key) : storeChanged(m_pending, key);
    if (!stored)
        return false;
    cancel();
    table()->select();
    if (row)
        *row = rowOfKey(key);
    return true;
}

void PhoneBookTable::cancel()
{
    m_state = State::Browse;
    m_pendingKey = -1;
    m_pending.clear();
}

bool PhoneBookTable::deleteRecord(int row)
{
    const qint64 key = keyAt(row);
    if (m_state != State::Browse || key < 0)
        return false;
    if (m_events.beforeDelete && !m_events.beforeDelete(*this, row))
        return false;
    // By its key: the handler may have asked the user, and the rows may have moved meanwhile.
    return flushPendingEdits() && removeKey(key);
}

bool PhoneBookTable::storeNew(const QStringList& values, qint64* key)
{
    const int count = fieldCountOf(m_kind);
    QSqlQuery query(database());
    query.prepare(QStringLiteral("INSERT INTO Recipients (%1) VALUES (%2)")
                      .arg(fieldList(), QStringList(count, QStringLiteral("?")).join(QLatin1Char(','))));
    for (int i = 0; i < count; ++i)
        query.addBindValue(values.value(i));
    if (!query.exec())
        return false;
    *key = query.lastInsertId().toLongLong();
    return true;
}

bool PhoneBookTable::storeChanged(const QStringList& values, qint64 key)
{
    QStringList assignments;
    for (const QString& name : fieldNames())
        assignments << name + QStringLiteral(" = ?");
    QSqlQuery query(database());
    query.prepare(
        QStringLiteral("UPDATE Recipients SET %1 WHERE RecordId = ?").arg(assignments.join(QStringLiteral(", "))));
    for (int i = 0; i < assignments.size(); ++i)
        query.addBindValue(values.value(i));
    query.addBindValue(key);
    // A record removed while it was being edited is not stored again.
    return query.exec() && query.numRowsAffected() == 1;
}

bool PhoneBookTable::removeKey(qint64 key)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM Recipients WHERE RecordId = ?"));
    query.addBindValue(key);
    const bool ok = query.exec() && query.numRowsAffected() == 1;
    table()->select();
    return ok;
}

qint64 PhoneBookTable::keyAt(int row) const
{
    if (!table()->fetchTo(row))
        return -1;
    const QVariant key = table()->index(row, keyColumn()).data(Qt::EditRole);
    return key.isNull() ? -1 : key.toLongLong();
}

int PhoneBookTable::rowOfKey(qint64 key) const
{
    const int column = keyColumn();
    for (int r = 0; table()->fetchTo(r); ++r) {
        if (table()->index(r, column).data(Qt::EditRole).toLongLong() == key)
            return r;
    }
    return -1;
}

QString PhoneBookTable::fieldText(int row, const QString& field) const
{
    const int column = table()->fieldIndex(field);
    if (column < 0 || !table()->fetchTo(row))
        return QString();
    return table()->index(row, column).data(Qt::EditRole).toString();
}

QStringList PhoneBookTable::recordValues(int row) const
{
    QStringList values;
    for (const QString& name : fieldNames())
        values << fieldText(row, name);
    return values;
}

void PhoneBookTable::setNamePrefixFilter(const QString& prefix)
{
    m_prefix = prefix;
    // No name holds a NUL, and SQLite's LIKE would take one for the end of the pattern.
    QString text = prefix;
    text.remove(QChar(0));
    table()->namePattern = text.isEmpty() ? QString() : prefixPattern(text);
    table()->select();
}

void PhoneBookTable::setSortedByName(bool sorted)
{
    if (table()->sortedByName == sorted)
        return;
    table()->sortedByName = sorted;
    table()->select();
}

bool PhoneBookTable::isSortedByName() const
{
    return table()->sortedByName;
}

bool PhoneBookTable::loadFromFile(const QString& path)
{
    // The old contents go first, as when a table is closed before a file is read: a failed read leaves
    // the table empty rather than half filled.
    clearRecords();
    if (!QFileInfo::exists(path))
        return true;

    QString error;
    const bool ok = readFile(path, &error);
    if (!ok)
        execute(QStringLiteral("DELETE FROM Recipients"));
    table()->select();
    if (ok)
        return true;
    // A file that cannot be read is never written over by the next save: it goes aside under a name of its
    // own, where the user (or a repair tool) still finds every byte of it. Where it cannot be moved, it is
    // kept where it is, and this table is never saved over it.
    const QString aside = moveAside(path);
    if (aside.isEmpty())
        m_keptUnread = QFileInfo(path).absoluteFilePath();
    ErrorReport::report(aside.isEmpty()
            ? tr("The file %1 cannot be read: %2. It is kept as it is, and the table starts empty.")
                  .arg(QDir::toNativeSeparators(path), error)
            : tr("The file %1 cannot be read: %2. It was moved to %3, and the table starts empty.")
                  .arg(QDir::toNativeSeparators(path), error, QDir::toNativeSeparators(aside)));
    return false;
}

QString PhoneBookTable::moveAside(const QString& path)
{
    return AtomicFile::moveAside(path);
}

bool PhoneBookTable::readFile(const QString& path, QString* errorText)
{
    {
        // SQLite's own message for a file it cannot open would name the URI below, not the file.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *errorText = file.errorString();
            return false;
        }
    }
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // Read-only: reading never changes the file, whatever it holds.
    const QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + QStringLiteral("?mode=ro");
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS source"));
    query.addBindValue(uri);
    if (!query.exec()) {
        *errorText = sqlError(query.lastError());
        return false;
    }

    bool ok = true;
    auto fail = [&](const QString& text) {
        if (ok)
            *errorText = text;
        ok = false;
    };

    // A damaged file may read back only some of its rows without a complaint; the check finds it first.
    if (!query.exec(QStringLiteral("PRAGMA source.quick_check")) || !query.next())
        fail(sqlError(query.lastError()));
    else if (query.value(0).toString() != QLatin1String("ok"))
        fail(tr("the file is damaged (%1)").arg(query.value(0).toString()));

    QStringList present;
    if (ok) {
        if (!query.exec(QStringLiteral("PRAGMA source.table_info(Recipients)"))) {
            fail(sqlError(query.lastError()));
        } else {
            while (query.next())
                present << query.value(1).toString().toLower();
        }
    }
    // Name, Area and Phone make a phone book; the Outlook cache's other fields may be missing (they are empty
    // then): a cache written before rows knew their cards has no Card or CardDigest.
    // The values are cut on the way in, as the triggers would cut them.
    QStringList selected;
    for (int i = 0; i < fieldCountOf(m_kind); ++i) {
        const QString name = QLatin1String(fieldsOf(m_kind)[i].name);
        if (present.contains(name.toLower()))
            selected << QStringLiteral("substr(coalesce(%1, ''), 1, %2)").arg(name).arg(fieldsOf(m_kind)[i].width);
        else if (i >= 3)
            selected << QStringLiteral("''");
        else
            fail(tr("the file holds no phone book"));
    }
    query.finish();

    if (ok && !db.transaction())
        fail(sqlError(db.lastError()));
    if (ok) {
        // Indexing the rows once they are all in is much faster than keeping the index through the insert,
        // and the triggers have nothing to cut. Within the transaction, a failed read gets them back too.
        QStringList statements { QStringLiteral("DROP INDEX NameOrder"), QStringLiteral("DROP TRIGGER CutOnINSERT"),
            QStringLiteral("DROP TRIGGER CutOnUPDATE"),
            QStringLiteral("INSERT INTO main.Recipients (%1) SELECT %2 FROM source.Recipients ORDER BY rowid")
                .arg(fieldList(), selected.join(QStringLiteral(", "))) };
        statements << indexAndTriggerStatements();
        for (const QString& statement : statements) {
            if (ok && !query.exec(statement))
                fail(sqlError(query.lastError()));
        }
        if (ok && !db.commit())
            fail(sqlError(db.lastError()));
        if (!ok)
            db.rollback();
    }
    query.finish();
    query.exec(QStringLiteral("DETACH DATABASE source"));
    return ok;
}

bool PhoneBookTable::saveToFile(const QString& path, QString* errorText) const
{
    QString error;
    const bool kept = !m_keptUnread.isEmpty() && QFileInfo(path).absoluteFilePath() == m_keptUnread;
    if (kept)
        error = tr("%1 could not be read and is not written over").arg(QDir::toNativeSeparators(path));
    const bool ok = !kept && writeFile(path, &error);
    if (!ok && errorText)
        *errorText = error;
    return ok;
}

bool PhoneBookTable::writeFile(const QString& path, QString* errorText) const
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *errorText = tr("%1 is a folder").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // The new file is written beside the old one, so that the rename below stays on one file system and
    // replaces the old file in one step.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open()) {
        *errorText = temp.errorString();
        return false;
    }
    temp.close(); // SQLite opens it by name; an empty file is an empty database

    // While the model has rows left to read, its statement keeps every attached database in a read
    // transaction, and the target could not be detached; the rows read stay in the model.
    table()->fetchAll();
    QSqlDatabase db = database();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS target"));
    query.addBindValue(temp.fileName());
    if (!query.exec()) {
        *errorText = sqlError(query.lastError());
        return false;
    }

    // No journal: the temporary file is thrown away whole when anything goes wrong.
    bool ok = query.exec(QStringLiteral("PRAGMA target.journal_mode = OFF"));
    if (ok) {
        query.finish();
        ok = db.transaction();
    }
    if (ok) {
        ok = query.exec(fileTableStatement(QStringLiteral("target")))
            && query.exec(QStringLiteral("INSERT INTO target.Recipients (%1) SELECT %1 FROM main.Recipients "
                                         "ORDER BY RecordId")
                              .arg(fieldList()));
        if (!ok)
            *errorText = sqlError(query.lastError());
        if (ok && !db.commit()) {
            ok = false;
            *errorText = sqlError(db.lastError());
        }
        if (!ok)
            db.rollback();
    } else {
        *errorText = sqlError(query.lastError().isValid() ? query.lastError() : db.lastError());
    }
    query.finish();
    query.exec(QStringLiteral("DETACH DATABASE target"));
    if (!ok)
        return false;

    if (!syncPath(temp.fileName(), O_RDONLY)) {
        *errorText = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // rename() replaces the old file atomically; QFile::rename would refuse an existing target.
    if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *errorText = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    temp.setAutoRemove(false);
    syncPath(target.absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}

bool PhoneBookTable::execute(const QString& statement, QString* errorText) const
{
    QSqlQuery query(database());
    if (query.exec(statement))
        return true;
    if (errorText)
        *errorText = sqlError(query.lastError());
    return false;
}

QString PhoneBookTable::fieldList() const
{
    return fieldNames().join(QStringLiteral(", "));
}

// The index that orders the rows by name, and the triggers that cut a value to its field's width after it
// is stored, whichever way it came in (the model, a bulk insert), so that no writer can leave an over-long
// value behind.
QStringList PhoneBookTable::indexAndTriggerStatements() const
{
    QStringList statements { QStringLiteral("CREATE INDEX NameOrder ON Recipients (Name COLLATE NOCASE, RecordId)") };
    QStringList tooLong;
    QStringList cut;
    for (int i = 0; i < fieldCountOf(m_kind); ++i) {
        const QString name = QLatin1String(fieldsOf(m_kind)[i].name);
        tooLong << QStringLiteral("length(NEW.%1) > %2").arg(name).arg(fieldsOf(m_kind)[i].width);
        cut << QStringLiteral("%1 = substr(%1, 1, %2)").arg(name).arg(fieldsOf(m_kind)[i].width);
    }
    for (const char* when : { "INSERT", "UPDATE" }) {
        statements << QStringLiteral("CREATE TRIGGER CutOn%1 AFTER %1 ON Recipients WHEN %2 "
                                     "BEGIN UPDATE Recipients SET %3 WHERE RecordId = NEW.RecordId; END")
                          .arg(QLatin1String(when), tooLong.join(QStringLiteral(" OR ")),
                              cut.join(QStringLiteral(", ")));
    }
    return statements;
}

QString PhoneBookTable::memoryTableStatement() const
{
    QStringList columns;
    for (int i = 0; i < fieldCountOf(m_kind); ++i) {
        columns << QStringLiteral("%1 VARCHAR(%2) DEFAULT ''%3")
                       .arg(QLatin1String(fieldsOf(m_kind)[i].name))
                       .arg(fieldsOf(m_kind)[i].width)
                       .arg(i == 0 ? QStringLiteral(" COLLATE NOCASE") : QString());
    }
    // The key is the last column, so that the record fields keep their columns 0..n-1 in the model.
    columns << KeyField + QStringLiteral(" INTEGER PRIMARY KEY");
    return QStringLiteral("CREATE TABLE Recipients (%1)").arg(columns.join(QStringLiteral(", ")));
}

// The file holds the field definitions (names, text type, widths) and the records, nothing of the
// in-memory key, index or triggers.
QString PhoneBookTable::fileTableStatement(const QString& schema) const
{
    QStringList columns;
    for (int i = 0; i < fieldCountOf(m_kind); ++i)
        columns << QStringLiteral("%1 VARCHAR(%2)")
                       .arg(QLatin1String(fieldsOf(m_kind)[i].name))
                       .arg(fieldsOf(m_kind)[i].width);
    return QStringLiteral("CREATE TABLE %1.Recipients (%2)").arg(schema, columns.join(QStringLiteral(", ")));
}
