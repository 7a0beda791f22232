#include "PhoneBookTable.h"

#include "common/AppPaths.h"
#include "common/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
const QString TableName = QStringLiteral("Recipients");
const QString KeyField = QStringLiteral("RecordId");

struct FieldDef
{
    const char* name;
    int width;
};

constexpr FieldDef Fields[] = {
    { "Name", PhoneBookTable::NameWidth },
    { "Area", PhoneBookTable::AreaWidth },
    { "Phone", PhoneBookTable::PhoneWidth },
    { "Unknown", PhoneBookTable::UnknownWidth },
};

int fieldCountOf(PhoneBookTable::Kind kind)
{
    return kind == PhoneBookTable::Kind::OutlookCache ? 4 : 3;
}

QString sqlError(const QSqlError& error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
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

    // The whole result is fetched, so rows are stable and rowCount() is the number of visible records.
    bool select() override
    {
        const bool ok = QSqlTableModel::select();
        while (canFetchMore())
            fetchMore();
        return ok;
    }

protected:
    QString orderByClause() const override
    {
        return sortedByName ? QStringLiteral("ORDER BY Name COLLATE NOCASE, RecordId")
                            : QStringLiteral("ORDER BY RecordId");
    }
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
        run(QStringLiteral("CREATE INDEX NameOrder ON Recipients (Name COLLATE NOCASE, RecordId)"));
        // Values are cut after they are stored, whichever way they came in (the model, a bulk insert,
        // a load), so no writer can leave an over-long value behind.
        QStringList tooLong;
        QStringList cut;
        for (int i = 0; i < fieldCountOf(m_kind); ++i) {
            const QString name = QLatin1String(Fields[i].name);
            tooLong << QStringLiteral("length(NEW.%1) > %2").arg(name).arg(Fields[i].width);
            cut << QStringLiteral("%1 = substr(%1, 1, %2)").arg(name).arg(Fields[i].width);
        }
        for (const char* when : { "INSERT", "UPDATE" }) {
            run(QStringLiteral("CREATE TRIGGER CutOn%1 AFTER %1 ON Recipients WHEN %2 "
                               "BEGIN UPDATE Recipients SET %3 WHERE RecordId = NEW.RecordId; END")
                    .arg(QLatin1String(when), tooLong.join(QStringLiteral(" OR ")), cut.join(QStringLiteral(", "))));
        }
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
        names << QLatin1String(Fields[i].name);
    return names;
}

int PhoneBookTable::fieldWidth(const QString& field)
{
    for (const FieldDef& def : Fields) {
        if (field.compare(QLatin1String(def.name), Qt::CaseInsensitive) == 0)
            return def.width;
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
    if (!flushPendingEdits())
        return false;

    QSqlRecord record = table()->record();
    const QStringList names = fieldNames();
    for (int i = 0; i < names.size(); ++i) {
        record.setValue(names[i], values.value(i));
        record.setGenerated(names[i], true);
    }
    record.setGenerated(KeyField, false);
    if (!table()->insertRecord(-1, record)) {
        table()->revertAll();
        return false;
    }
    if (!table()->submitAll()) {
        table()->revertAll();
        return false;
    }
    if (row) {
        // submitAll() has re-read the rows; the new record is the one with the highest key.
        QSqlQuery query(database());
        if (query.exec(QStringLiteral("SELECT max(RecordId) FROM Recipients")) && query.next()) {
            const qint64 key = query.value(0).toLongLong();
            const int column = keyColumn();
            for (int r = 0; r < table()->rowCount(); ++r) {
                if (table()->index(r, column).data().toLongLong() == key) {
                    *row = r;
                    break;
                }
            }
        }
    }
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
    bool ok = query.prepare(
        QStringLiteral("INSERT INTO Recipients (%1) VALUES (%2)").arg(fieldList(), marks.join(QLatin1Char(','))));
    for (int r = 0; ok && r < records.size(); ++r) {
        for (int i = 0; i < count; ++i)
            query.bindValue(i, records[r].value(i));
        ok = query.exec();
    }
    query.finish();
    if (ok)
        ok = db.commit();
    if (!ok)
        db.rollback();
    table()->select();
    return ok;
}

bool PhoneBookTable::removeRecord(int row)
{
    if (row < 0 || row >= table()->rowCount() || !flushPendingEdits())
        return false;
    if (!table()->removeRow(row) || !table()->submitAll()) {
        table()->revertAll();
        return false;
    }
    return true;
}

QString PhoneBookTable::fieldText(int row, const QString& field) const
{
    const int column = table()->fieldIndex(field);
    if (row < 0 || row >= table()->rowCount() || column < 0)
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
    // A NUL would end the statement text early; no name can hold one anyway.
    QString text = prefix;
    text.remove(QChar(0));
    if (text.isEmpty()) {
        table()->setFilter(QString());
    } else {
        // The prefix is a quoted constant made by the driver (quotes doubled), and compared as a whole
        // substring rather than through LIKE, so '%', '_' and '*' mean themselves.
        QSqlField field(QStringLiteral("prefix"), QMetaType(QMetaType::QString));
        field.setValue(text);
        const QString literal = table()->database().driver()->formatValue(field);
        table()->setFilter(QStringLiteral("substr(Name, 1, length(%1)) = %1 COLLATE NOCASE").arg(literal));
    }
    table()->select();
}

void PhoneBookTable::setSortedByName(bool sorted)
{
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
    if (!ok)
        ErrorReport::report(tr("The file %1 cannot be read: %2").arg(QDir::toNativeSeparators(path), error));
    return ok;
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
    // Name, Area and Phone make a phone book; the Outlook cache's Unknown may be missing (it is empty then).
    QStringList selected;
    for (const QString& name : fieldNames()) {
        if (present.contains(name.toLower()))
            selected << QStringLiteral("coalesce(%1, '')").arg(name);
        else if (name == QLatin1String("Unknown"))
            selected << QStringLiteral("''");
        else
            fail(tr("the file holds no phone book"));
    }
    query.finish();

    if (ok && !db.transaction())
        fail(sqlError(db.lastError()));
    if (ok) {
        if (!query.exec(QStringLiteral("INSERT INTO main.Recipients (%1) SELECT %2 FROM source.Recipients "
                                       "ORDER BY rowid")
                            .arg(fieldList(), selected.join(QStringLiteral(", "))))) {
            fail(sqlError(query.lastError()));
            db.rollback();
        } else if (!db.commit()) {
            fail(sqlError(db.lastError()));
            db.rollback();
        }
    }
    query.finish();
    query.exec(QStringLiteral("DETACH DATABASE source"));
    return ok;
}

bool PhoneBookTable::saveToFile(const QString& path, QString* errorText) const
{
    QString error;
    const bool ok = writeFile(path, &error);
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

QString PhoneBookTable::memoryTableStatement() const
{
    QStringList columns;
    for (int i = 0; i < fieldCountOf(m_kind); ++i) {
        columns << QStringLiteral("%1 VARCHAR(%2) DEFAULT ''%3")
                       .arg(QLatin1String(Fields[i].name))
                       .arg(Fields[i].width)
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
        columns << QStringLiteral("%1 VARCHAR(%2)").arg(QLatin1String(Fields[i].name)).arg(Fields[i].width);
    return QStringLiteral("CREATE TABLE %1.Recipients (%2)").arg(schema, columns.join(QStringLiteral(", ")));
}
