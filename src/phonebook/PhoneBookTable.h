#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QSqlDatabase;
class QSqlTableModel;
class PhoneBookModel;

// One recipient table: the local phone book or the Outlook contacts cache. The records live in a private
// in-memory SQLite database for the whole run; the file is only touched by loadFromFile and saveToFile.
//
// Every field is a fixed-width text; the database itself cuts a longer value to the field width, so values
// written through model() are cut exactly like those given to appendRecord. No field is required and no key
// is unique: duplicate and empty records are kept. Rows are sorted by Name without regard to ASCII letter
// case (Hebrew has none), records with equal names in the order they were added.
//
// A record is added or changed through the table's edit states, which raise the events the phone book
// window hangs its work on: insertRecord() or editRecord() makes a pending record, held apart from the
// stored rows (the model does not show it), post() stores it and cancel() drops it.
class PhoneBookTable : public QObject
{
    Q_OBJECT
public:
    enum class Kind
    {
        PhoneBook, // the local phone book: Name, Area, Phone
        OutlookCache, // the copy of the Outlook contacts: Name, Area, Phone, Unknown, Card, CardDigest
    };

    static constexpr int NameWidth = 100;
    static constexpr int AreaWidth = 3;
    static constexpr int PhoneWidth = 7;
    static constexpr int UnknownWidth = 50;
    // The contacts cache: a number after its area code with every digit (the longest international numbers
    // have 15), the card a row came from and the digest of that card as imported.
    static constexpr int CachePhoneWidth = 15;
    static constexpr int CardWidth = 1000;
    static constexpr int CardDigestWidth = 64;

    enum class State
    {
        Browse, // no record pending
        Insert, // a new record is pending
        Edit, // a stored record's new values are pending
    };

    // Any handler may be empty. Only insertRecord, post and deleteRecord raise events: rows appended with
    // appendRecord(s), read by loadFromFile or written through model() raise none.
    struct Events
    {
        // A new record is pending. The handler may fill it, post it or cancel it.
        std::function<void(PhoneBookTable& table)> afterInsert;
        // The pending record is about to be stored and may still be changed; false refuses the post.
        std::function<bool(PhoneBookTable& table)> beforePost;
        // The model's row is about to be deleted; false keeps it.
        std::function<bool(PhoneBookTable& table, int row)> beforeDelete;
    };

    explicit PhoneBookTable(Kind kind, QObject* parent = nullptr);
    ~PhoneBookTable() override;

    Kind kind() const { return m_kind; }
    // "phonebook.db" or "outlook.db".
    QString fileName() const;
    // The table's file in the program's data folder.
    QString filePath() const;

    // The record fields in their order: Name, Area, Phone and, in the Outlook cache, Unknown, Card and
    // CardDigest.
    QStringList fieldNames() const;
    // The width of a field in characters; 0 for a name that is no field.
    int fieldWidth(const QString& field) const;

    // The model a view shows. Its columns are the record fields in order, then the record key column
    // "RecordId", which views hide. It reads its rows in batches as a view scrolls, as QSqlTableModel does,
    // so rowCount() counts the rows read so far; the functions below that take a row read as far as they
    // need. Edits made through it are held until submitAll() (revertAll() drops them); the functions below
    // store at once and submit any pending edit first.
    QSqlTableModel* model() const;
    int keyColumn() const;

    // Stored records, whatever the filter.
    bool isEmpty() const;
    int recordCount() const;

    // Removes every record: the table is then open and empty.
    bool clearRecords();
    // Stores one record from values in field order (missing values are empty, extra ones ignored). `row`
    // receives the record's row in the model, -1 when the filter hides it.
    bool appendRecord(const QStringList& values, int* row = nullptr);
    // Stores many records at once and refreshes the model once; for filling the table in bulk.
    bool appendRecords(const QList<QStringList>& records);
    // Deletes the model's row without raising beforeDelete.
    bool removeRecord(int row);
    // A field of the model's row as text; "" for a row or field that does not exist.
    QString fieldText(int row, const QString& field) const;
    QStringList recordValues(int row) const;

    // Replaces the event handlers; {} detaches them all.
    void setEvents(Events events);

    State state() const { return m_state; }
    // Makes a new, empty pending record and raises afterInsert. Refused (false) while a record is pending.
    bool insertRecord();
    // Makes the model's row the pending record, with its stored values. Refused while a record is pending.
    bool editRecord(int row);
    // A field of the pending record, cut to the field width as a stored value is.
    void setFieldText(const QString& field, const QString& text);
    QString pendingFieldText(const QString& field) const;
    // Raises beforePost, then stores the pending record and returns to browse state; `row` receives the
    // record's row in the model, -1 when the filter hides it. When the handler refuses or the store fails
    // it returns false and the record stays pending, until the next post or cancel. False in browse state.
    bool post(int* row = nullptr);
    // Drops the pending record; the stored records are unchanged.
    void cancel();
    // Raises beforeDelete, then deletes the model's row. False when refused, while a record is pending,
    // or for a row that does not exist.
    bool deleteRecord(int row);

    // Shows only the records whose Name begins with the prefix, without regard to ASCII letter case. The
    // prefix is plain text: no character in it is a wildcard. An empty prefix switches the filter off.
    void setNamePrefixFilter(const QString& prefix);
    QString namePrefixFilter() const { return m_prefix; }

    // With the sort off, rows come in the order they were stored; used while bulk-filling the table. The rows
    // are read again only when the order changes.
    void setSortedByName(bool sorted);
    bool isSortedByName() const;

    // Replaces the contents with the file's records. A missing file gives an empty table and is no error.
    // A file that cannot be read leaves the table empty and usable, and is moved aside beside itself
    // ("phonebook.db.damaged-YYYYMMDD-HHMMSS", never over an earlier one); one report says where it went.
    // Where it cannot be moved, saveToFile never writes over it.
    bool loadFromFile(const QString& path);
    // Writes the stored records to a new file beside `path` and renames it into place, so `path` holds
    // either the old table or the new one, never a part. Pending model edits are not written. Reports
    // nothing; on failure `errorText` (when given) receives the reason.
    bool saveToFile(const QString& path, QString* errorText = nullptr) const;

private:
    PhoneBookModel* table() const;
    QSqlDatabase database() const;
    bool execute(const QString& statement, QString* errorText = nullptr) const;
    bool flushPendingEdits();
    bool storeNew(const QStringList& values, qint64* key);
    bool storeChanged(const QStringList& values, qint64 key);
    bool removeKey(qint64 key);
    qint64 keyAt(int row) const;
    int rowOfKey(qint64 key) const;
    bool readFile(const QString& path, QString* errorText);
    // Renames the file to its damaged name; the new path, or "" when it could not be moved.
    static QString moveAside(const QString& path);
    bool writeFile(const QString& path, QString* errorText) const;
    QString memoryTableStatement() const;
    QStringList indexAndTriggerStatements() const;
    QString fileTableStatement(const QString& schema) const;
    QString fieldList() const;

    Kind m_kind;
    QString m_connectionName;
    QString m_prefix;
    Events m_events;
    State m_state = State::Browse;
    QStringList m_pending; // the pending record's values in field order
    qint64 m_pendingKey = -1; // the key of the record being edited
    bool m_posting = false;
    mutable std::unique_ptr<PhoneBookModel> m_model;
    // A file this table could not read and could not move aside; it is never saved over.
    QString m_keptUnread;
};
