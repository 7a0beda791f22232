#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "phonebook/PhoneBookTable.h"

#include <QDateTime>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using Kind = PhoneBookTable::Kind;
using Records = QList<QStringList>;
Q_DECLARE_METATYPE(PhoneBookTable::Kind)

namespace {
Records rowsOf(const PhoneBookTable& table)
{
    Records rows;
    for (int r = 0; r < table.model()->rowCount(); ++r)
        rows << table.recordValues(r);
    return rows;
}

QStringList namesOf(const PhoneBookTable& table)
{
    QStringList names;
    for (int r = 0; r < table.model()->rowCount(); ++r)
        names << table.fieldText(r, QStringLiteral("Name"));
    return names;
}

// Writes an SQLite file the way another program might, with the given table statement and rows.
void writeForeignFile(const QString& path, const QString& create, const QStringList& inserts)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(create));
        for (const QString& insert : inserts)
            QVERIFY(query.exec(insert));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
}

QStringList entriesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

class TestPhoneBookTable : public QObject
{
    Q_OBJECT
    QString m_dir;
    QStringList m_reports;
    ErrorReport::Handler m_previous;

private slots:
    void init()
    {
        m_dir = TestEnv::freshAppDir();
        m_reports.clear();
        m_previous = ErrorReport::setHandler([this](const QString& text) { m_reports << text; });
    }

    void cleanup() { ErrorReport::setHandler(m_previous); }

    void valuesAreCutToTheFieldWidths_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("expected");

        const QString x120(120, QLatin1Char('x'));
        const QString shin120(120, QChar(0x05E9));
        QTest::newRow("a 120-character name") << Kind::PhoneBook << "append" << QStringList { x120, "052", "1234567" }
                                              << QStringList { x120.left(100), "052", "1234567" };
        QTest::newRow("Hebrew letters count as characters")
            << Kind::PhoneBook << "bulk" << QStringList { shin120, "0521", "123" }
            << QStringList { shin120.left(100), "052", "123" };
        QTest::newRow("a 9-digit phone typed in an edit")
            << Kind::PhoneBook << "edit" << QStringList { "Dan", "03", "123456789" }
            << QStringList { "Dan", "03", "1234567" };
        QTest::newRow("the unknown number")
            << Kind::OutlookCache << "append" << QStringList { "Dan", "", "", QString(60, QLatin1Char('9')) }
            << QStringList { "Dan", "", "", QString(50, QLatin1Char('9')), "", "" };
        // A cache written before its rows knew their cards: no Card or CardDigest. Its number keeps every digit
        // up to the cache's 15.
        QTest::newRow("values read from a file")
            << Kind::OutlookCache << "file"
            << QStringList { x120, "0541", "9876543210987654", QString(55, QLatin1Char('5')) }
            << QStringList { x120.left(100), "054", "987654321098765", QString(50, QLatin1Char('5')), "", "" };
        // U+1F600 is two UTF-16 units but one character, as SQLite counts.
        const QString smiley = QString::fromUcs4(U"\U0001F600");
        QTest::newRow("a record typed in the details dialog")
            << Kind::PhoneBook << "post"
            << QStringList { QString(99, QLatin1Char('x')) + smiley + QStringLiteral("y"), "0521", "123456789" }
            << QStringList { QString(99, QLatin1Char('x')) + smiley, "052", "1234567" };
        QTest::newRow("values at the widths stay whole")
            << Kind::PhoneBook << "append" << QStringList { x120.left(100), "052", "1234567" }
            << QStringList { x120.left(100), "052", "1234567" };
    }

    void valuesAreCutToTheFieldWidths()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, via);
        QFETCH(QStringList, input);
        QFETCH(QStringList, expected);

        PhoneBookTable table(kind);
        if (via == QLatin1String("append")) {
            QVERIFY(table.appendRecord(input));
        } else if (via == QLatin1String("bulk")) {
            QVERIFY(table.appendRecords({ input }));
        } else if (via == QLatin1String("post")) {
            QVERIFY(table.insertRecord());
            const QStringList names = table.fieldNames();
            for (int i = 0; i < input.size(); ++i)
                table.setFieldText(names[i], input[i]);
            for (int i = 0; i < input.size(); ++i)
                QCOMPARE(table.pendingFieldText(names[i]), expected[i]);
            QVERIFY(table.post());
        } else if (via == QLatin1String("edit")) {
            int row = -1;
            QVERIFY(table.appendRecord({}, &row));
            QSqlTableModel* model = table.model();
            for (int column = 0; column < input.size(); ++column)
                QVERIFY(model->setData(model->index(row, column), input[column]));
            QVERIFY(model->submitAll());
        } else {
            const QString path = m_dir + table.fileName();
            QStringList quoted;
            for (const QString& value : input)
                quoted << QLatin1Char('\'') + value + QLatin1Char('\'');
            writeForeignFile(path, QStringLiteral("CREATE TABLE Recipients (Name, Area, Phone, Unknown)"),
                { QStringLiteral("INSERT INTO Recipients VALUES (%1)").arg(quoted.join(QLatin1Char(','))) });
            QVERIFY(table.loadFromFile(path));
            // A load leaves the table cutting what is stored after it.
            QVERIFY(table.appendRecords({ input }));
            QCOMPARE(rowsOf(table), (Records { expected, expected }));
            return;
        }
        QCOMPARE(rowsOf(table), Records { expected });
    }

    void rowsAreSortedByNameIgnoringCase()
    {
        PhoneBookTable table(Kind::PhoneBook);
        const QStringList added { "bob", "Alice", "אבי", "ALAN", "Bob", "", "alan", "Zoe" };
        for (const QString& name : added)
            QVERIFY(table.appendRecord({ name, "052", "1" }));
        // Equal names keep the order in which they were added.
        const QStringList sorted { "", "ALAN", "alan", "Alice", "bob", "Bob", "Zoe", "אבי" };
        QCOMPARE(namesOf(table), sorted);

        table.setSortedByName(false);
        QCOMPARE(namesOf(table), added);
        table.setSortedByName(true);
        QCOMPARE(namesOf(table), sorted);
    }

    void filterShowsNamesBeginningWithThePrefix_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("lower case") << "ab" << QStringList { "Ab*", "abba", "Abraham" };
        QTest::newRow("upper case") << "AB" << QStringList { "Ab*", "abba", "Abraham" };
        QTest::newRow("longer") << "abr" << QStringList { "Abraham" };
        QTest::newRow("Hebrew") << "ד" << QStringList { "דוד", "דניאל" };
        QTest::newRow("quote") << "o'" << QStringList { "O'Brien" };
        QTest::newRow("percent is a character") << "100%" << QStringList { "100% Nir" };
        QTest::newRow("percent alone matches nothing") << "%" << QStringList {};
        QTest::newRow("underscore is a character") << "a_" << QStringList { "a_b" };
        QTest::newRow("star is a character") << "ab*" << QStringList { "Ab*" };
        QTest::newRow("backslash is a character") << "a\\" << QStringList { "a\\%" };
        QTest::newRow("no match") << "x" << QStringList {};
        QTest::newRow("empty shows all") << ""
                                         << QStringList { "100% Nir", "a\\%", "a_b", "Ab*", "abba", "Abraham", "Gabi",
                                                "O'Brien", "דוד", "דניאל" };
    }

    void filterShowsNamesBeginningWithThePrefix()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, expected);

        PhoneBookTable table(Kind::PhoneBook);
        QVERIFY(table.appendRecords({ { "Abraham" }, { "abba" }, { "Gabi" }, { "O'Brien" }, { "100% Nir" }, { "a_b" },
            { "דוד" }, { "דניאל" }, { "Ab*" }, { "a\\%" } }));
        table.setNamePrefixFilter(prefix);
        QCOMPARE(namesOf(table), expected);
        QCOMPARE(table.recordCount(), 10);
    }

    void filterAppliesToNewRecordsButNotToTheCounts()
    {
        PhoneBookTable table(Kind::PhoneBook);
        table.setNamePrefixFilter(QStringLiteral("ab"));
        QCOMPARE(table.model()->rowCount(), 0);

        int row = 0;
        QVERIFY(table.appendRecord({ "Zed", "052", "1" }, &row));
        QCOMPARE(row, -1);
        QVERIFY(!table.isEmpty());
        QVERIFY(table.appendRecord({ "Abe", "052", "2" }, &row));
        QCOMPARE(row, 0);
        QCOMPARE(table.fieldText(row, QStringLiteral("Phone")), QStringLiteral("2"));

        table.setNamePrefixFilter(QString());
        QCOMPARE(namesOf(table), (QStringList { "Abe", "Zed" }));
        QVERIFY(table.removeRecord(1));
        QCOMPARE(namesOf(table), QStringList { "Abe" });
    }

    void equalRecordsStaySeparate()
    {
        PhoneBookTable table(Kind::PhoneBook);
        QVERIFY(table.appendRecords({ { "Dan", "052", "1" }, { "Dan", "052", "1" } }));
        QSqlTableModel* model = table.model();
        QVERIFY(model->setData(model->index(1, model->fieldIndex(QStringLiteral("Phone"))), QStringLiteral("2")));
        QVERIFY(model->submitAll());
        QCOMPARE(rowsOf(table), (Records { { "Dan", "052", "1" }, { "Dan", "052", "2" } }));
        QVERIFY(table.removeRecord(0));
        QCOMPARE(rowsOf(table), (Records { { "Dan", "052", "2" } }));
    }

    // A bulk store writes what a store of one record writes: an empty value stays an empty text, and a value the
    // record lacks is stored as none (NULL), as the file shows.
    void bulkAndSingleStoresKeepTheSameValues()
    {
        const QStringList record { QStringLiteral("דנה ☺"), "", "1234567" };
        PhoneBookTable single(Kind::OutlookCache);
        QVERIFY(single.appendRecord(record));
        PhoneBookTable bulk(Kind::OutlookCache);
        QVERIFY(bulk.appendRecords({ record }));
        for (PhoneBookTable* table : { &single, &bulk }) {
            const QString path = m_dir + QStringLiteral("stored.db");
            QVERIFY(table->saveToFile(path));
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("stored"));
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery query(db);
                QVERIFY(query.exec(QStringLiteral("SELECT Name, Area IS NULL, Unknown IS NULL FROM Recipients")));
                QVERIFY(query.next());
                QCOMPARE(query.value(0).toString(), record[0]);
                QCOMPARE(query.value(1).toInt(), 0);
                QCOMPARE(query.value(2).toInt(), 1);
            }
            QSqlDatabase::removeDatabase(QStringLiteral("stored"));
        }
    }

    void eventsComeFromTheEditStatesOnly()
    {
        PhoneBookTable table(Kind::PhoneBook);
        QStringList raised;
        table.setEvents({
            [&](PhoneBookTable&) { raised << "afterInsert"; },
            [&](PhoneBookTable&) {
                raised << "beforePost";
                return true;
            },
            [&](PhoneBookTable&, int) {
                raised << "beforeDelete";
                return true;
            },
        });

        QVERIFY(table.appendRecord({ "Dan", "052", "1" }));
        QVERIFY(table.appendRecords({ { "Avi", "054", "2" } }));
        QVERIFY(table.saveToFile(table.filePath()));
        QVERIFY(table.loadFromFile(table.filePath()));
        QCOMPARE(raised, QStringList());

        QVERIFY(table.insertRecord());
        QCOMPARE(table.state(), PhoneBookTable::State::Insert);
        QVERIFY(!table.insertRecord());
        QVERIFY(!table.editRecord(0));
        QVERIFY(!table.deleteRecord(0));
        table.cancel();
        QVERIFY(table.editRecord(1));
        table.setFieldText("Phone", "3");
        QVERIFY(table.post());
        QVERIFY(table.deleteRecord(0));
        QCOMPARE(raised, (QStringList { "afterInsert", "beforePost", "beforeDelete" }));
        QCOMPARE(rowsOf(table), (Records { { "Dan", "052", "3" } }));
    }

    void refusedPostsAndDeletesStoreNothing()
    {
        PhoneBookTable table(Kind::PhoneBook);
        QVERIFY(table.appendRecord({ "Dan", "052", "1" }));
        bool allow = false;
        table.setEvents({ {}, [&](PhoneBookTable&) { return allow; }, [&](PhoneBookTable&, int) { return allow; } });

        QVERIFY(table.insertRecord());
        table.setFieldText("Name", "Avi");
        int row = 0;
        QVERIFY(!table.post(&row));
        QCOMPARE(row, -1);
        QCOMPARE(table.recordCount(), 1);
        QCOMPARE(table.state(), PhoneBookTable::State::Insert);
        QCOMPARE(table.pendingFieldText("Name"), QStringLiteral("Avi"));
        allow = true;
        QVERIFY(table.post(&row));
        QCOMPARE(row, 0);
        QCOMPARE(table.state(), PhoneBookTable::State::Browse);

        allow = false;
        QVERIFY(table.editRecord(1));
        table.setFieldText("Phone", "2");
        QVERIFY(!table.post());
        table.cancel();
        QVERIFY(!table.deleteRecord(0));
        QCOMPARE(rowsOf(table), (Records { { "Avi", "", "" }, { "Dan", "052", "1" } }));
    }

    // The model reads a large result in batches; rows beyond the first batch are still reached, and a
    // result left partly read does not stop the table from being saved, twice over.
    void aTableLargerThanOneReadBatch()
    {
        PhoneBookTable table(Kind::PhoneBook);
        Records many;
        for (int i = 0; i < 3000; ++i)
            many << QStringList { QStringLiteral("שם %1").arg(i, 4, 10, QLatin1Char('0')), "052", QString::number(i) };
        QVERIFY(table.appendRecords(many));
        QVERIFY(table.model()->rowCount() < 3000);
        QCOMPARE(table.fieldText(2999, "Phone"), QStringLiteral("2999"));
        table.setNamePrefixFilter(QString());
        int row = -1;
        QVERIFY(table.appendRecord({ "תמר", "054", "1" }, &row));
        QCOMPARE(row, 3000);

        for (int save = 0; save < 2; ++save) {
            table.setNamePrefixFilter(QStringLiteral("ש"));
            QString error;
            QVERIFY2(table.saveToFile(table.filePath(), &error), qPrintable(error));
        }
        PhoneBookTable read(Kind::PhoneBook);
        QVERIFY(read.loadFromFile(read.filePath()));
        QCOMPARE(read.recordCount(), 3001);
    }

    void saveAndLoadKeepEveryRecord_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<Records>("records");

        QTest::newRow("phone book") << Kind::PhoneBook << ""
                                    << Records { { "משה כהן", "052", "1234567" }, { "O'Brien \"Jr\"", "03", "7654321" },
                                           { "", "", "" }, { "דן", "054", "1" }, { "דן", "054", "2" } };
        QTest::newRow("Outlook cache") << Kind::OutlookCache << ""
                                       << Records { { "רחל לוי", "", "", "+972-52-1234567" },
                                              { "Avi", "050", "1", "" } };
        QTest::newRow("no records") << Kind::PhoneBook << "" << Records {};
        QTest::newRow("a folder name with blanks, # and ?")
            << Kind::PhoneBook << "ספר #1 ?%20/" << Records { { "Dan", "052", "1234567" } };
    }

    void saveAndLoadKeepEveryRecord()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, folder);
        QFETCH(Records, records);

        const QString dir = TestEnv::freshDir(m_dir + folder);
        PhoneBookTable written(kind);
        QVERIFY(written.appendRecords(records));
        const Records expected = rowsOf(written);
        QString error;
        QVERIFY2(written.saveToFile(dir + written.fileName(), &error), qPrintable(error));
        QCOMPARE(entriesOf(dir), QStringList { written.fileName() });

        PhoneBookTable read(kind);
        QVERIFY(read.appendRecord({ "left over" }));
        QVERIFY(read.loadFromFile(dir + read.fileName()));
        QCOMPARE(rowsOf(read), expected);
        QCOMPARE(read.isEmpty(), records.isEmpty());
        QVERIFY(m_reports.isEmpty());
    }

    void aMissingFileGivesAnEmptyTable()
    {
        PhoneBookTable table(Kind::OutlookCache);
        QVERIFY(table.appendRecord({ "Dan" }));
        QVERIFY(table.loadFromFile(table.filePath()));
        QVERIFY(table.isEmpty());
        QVERIFY(m_reports.isEmpty());
        QVERIFY(entriesOf(m_dir).isEmpty());
    }

    void anUnreadableFileIsReportedAndLeavesTheTableUsable_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a database") << "text";
        QTest::newRow("cut in half") << "half";
        QTest::newRow("another program's database") << "foreign";
        QTest::newRow("a phone book without phones") << "nophone";
        QTest::newRow("a folder") << "folder";
    }

    void anUnreadableFileIsReportedAndLeavesTheTableUsable()
    {
        QFETCH(QString, damage);

        PhoneBookTable table(Kind::PhoneBook);
        const QString path = table.filePath();
        if (damage == QLatin1String("text")) {
            TestEnv::writeFile(path, QByteArray("Name,Area,Phone\nDan,052,1234567\n").repeated(200));
        } else if (damage == QLatin1String("half")) {
            Records many;
            for (int i = 0; i < 2000; ++i)
                many << QStringList { QStringLiteral("שם מספר %1").arg(i), "052", QString::number(i) };
            QVERIFY(table.appendRecords(many));
            QVERIFY(table.saveToFile(path));
            const QByteArray whole = TestEnv::readFile(path);
            TestEnv::writeFile(path, whole.left(whole.size() / 2));
        } else if (damage == QLatin1String("foreign")) {
            writeForeignFile(
                path, QStringLiteral("CREATE TABLE Other (x)"), { QStringLiteral("INSERT INTO Other VALUES (1)") });
        } else if (damage == QLatin1String("nophone")) {
            writeForeignFile(path, QStringLiteral("CREATE TABLE Recipients (Name, Area)"),
                { QStringLiteral("INSERT INTO Recipients VALUES ('Dan', '052')") });
        } else {
            QVERIFY(QDir().mkpath(path));
        }
        const QByteArray before = TestEnv::readFile(path);
        // A file moved aside earlier in the same second keeps its name.
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        TestEnv::writeFile(path + QStringLiteral(".damaged-") + stamp, "earlier");

        QVERIFY(!table.loadFromFile(path));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports[0].contains(path), qPrintable(m_reports[0]));
        QVERIFY(table.isEmpty());
        QCOMPARE(table.model()->rowCount(), 0);
        // Moved aside byte for byte, under a name of its own, and named in the one report.
        QVERIFY(!QFileInfo::exists(path));
        QStringList aside = QDir(m_dir).entryList({ table.fileName() + QStringLiteral(".damaged-*") },
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        QCOMPARE(aside.size(), 2);
        QCOMPARE(TestEnv::readFile(path + QStringLiteral(".damaged-") + stamp), QByteArray("earlier"));
        aside.removeAll(table.fileName() + QStringLiteral(".damaged-") + stamp);
        QCOMPARE(TestEnv::readFile(m_dir + aside.first()), before);
        QVERIFY2(m_reports[0].contains(aside.first()), qPrintable(m_reports[0]));

        QVERIFY(table.appendRecord({ "Dan", "052", "1234567" }));
        QCOMPARE(namesOf(table), QStringList { "Dan" });
        const QString elsewhere = m_dir + QStringLiteral("again.db");
        QVERIFY(table.saveToFile(elsewhere));
        PhoneBookTable again(Kind::PhoneBook);
        QVERIFY(again.loadFromFile(elsewhere));
        QCOMPARE(rowsOf(again), rowsOf(table));
    }

    void aFailedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("file size limit") << "limit";
        QTest::newRow("read-only folder") << "readonly";
    }

    void aFailedSaveKeepsTheOldFile()
    {
        QFETCH(QString, failure);
        if (failure == QLatin1String("readonly") && ::geteuid() == 0)
            QSKIP("permission bits do not stop root; the file size limit covers the failed write");

        PhoneBookTable table(Kind::PhoneBook);
        QVERIFY(table.appendRecord({ "ישן", "052", "1111111" }));
        QVERIFY(table.saveToFile(table.filePath()));
        const QByteArray before = TestEnv::readFile(table.filePath());
        QVERIFY(table.appendRecord({ "חדש", "054", "2222222" }));

        QString error;
        bool saved = true;
        if (failure == QLatin1String("limit")) {
            // The new file cannot grow past one byte; root is bound by this limit too.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit old {};
            ::getrlimit(RLIMIT_FSIZE, &old);
            rlimit tiny = old;
            tiny.rlim_cur = 1;
            ::setrlimit(RLIMIT_FSIZE, &tiny);
            saved = table.saveToFile(table.filePath(), &error);
            ::setrlimit(RLIMIT_FSIZE, &old);
        } else {
            QFile::setPermissions(m_dir, QFile::ReadOwner | QFile::ExeOwner);
            saved = table.saveToFile(table.filePath(), &error);
            QFile::setPermissions(m_dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(TestEnv::readFile(table.filePath()), before);
        QCOMPARE(entriesOf(m_dir), QStringList { table.fileName() });
        QVERIFY(m_reports.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPhoneBookTable)
#include "test_phonebooktable.moc"
