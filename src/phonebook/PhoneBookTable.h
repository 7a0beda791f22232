#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

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
class PhoneBookTable : public QObject
{
    Q_OBJECT
public:
    enum class Kind
    {
        PhoneBook, // the local phone book: Name, Area, Phone
        OutlookCache, // the copy of the Outlook contacts: Name, Area, Phone, Unknown
    };

    static constexpr int NameWidth = 100;
    static constexpr int AreaWidth = 3;
    static constexpr int PhoneWidth = 7;
    static constexpr int UnknownWidth = 50;

    explicit PhoneBookTable(Kind kind, QObject* parent = nullptr);
    ~PhoneBookTable() override;

    Kind kind() const { return m_kind; }
    // "phonebook.db" or "outlook.db".
    QString fileName() const;
    // The table's file in the program's data folder.
    QString filePath() const;

    // The record fields in their order: Name, Area, Phone and, in the Outlook cache, Unknown.
    QStringList fieldNames() const;
    // The width of a field in characters; 0 for a name that is no field.
    static int fieldWidth(const QString& field);

    // The model a view shows. Its columns are the record fields in order, then the record key column
    // "RecordId", which views hide. Edits made through it are held until submitAll() (revertAll() drops
    // them); the helpers below store at once and submit any pending edit first.
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
    bool removeRecord(int row);
    // A field of the model's row as text; "" for a row or field that does not exist.
    QString fieldText(int row, const QString& field) const;
    QStringList recordValues(int row) const;

    // Shows only the records whose Name begins with the prefix, without regard to ASCII letter case. The
    // prefix is plain text: no character in it is a wildcard. An empty prefix switches the filter off.
    void setNamePrefixFilter(const QString& prefix);
    QString namePrefixFilter() const { return m_prefix; }

    // With the sort off, rows come in the order they were stored; used while bulk-filling the table.
    void setSortedByName(bool sorted);
    bool isSortedByName() const;

    // Replaces the contents with the file's records. A missing file gives an empty table and is no error.
    // A file that cannot be read is reported through ErrorReport and leaves the table empty and usable.
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
    bool readFile(const QString& path, QString* errorText);
    bool writeFile(const QString& path, QString* errorText) const;
    QString memoryTableStatement() const;
    QString fileTableStatement(const QString& schema) const;
    QString fieldList() const;

    Kind m_kind;
    QString m_connectionName;
    QString m_prefix;
    mutable std::unique_ptr<PhoneBookModel> m_model;
};
