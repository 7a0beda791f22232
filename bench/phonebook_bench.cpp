// The recipient tables and the phone book window. First, filling a table record by record (each store
// re-reads the model, as a user's additions do) against one bulk store, and the cost of writing and reading
// the table's file. Then the window over a large phone book: opening it until the grid shows rows, and a
// name search typed into it, beside the same query run directly in SQLite. Ratios within one run mean
// something on a shared machine; the absolute times less so.
//
//   phonebook_bench [records for the fill, 1000] [entries of the window's phone book, 100000]
#include "BenchTiming.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TPhoneBookForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {
using namespace BenchTiming;
constexpr int Runs = 20;

QList<QStringList> contacts(int count)
{
    QList<QStringList> records;
    for (int i = 0; i < count; ++i) {
        records << QStringList { QStringLiteral("איש קשר %1").arg((i * 7919) % count), QStringLiteral("052"),
            QString::number(1000000 + i), QString() };
    }
    return records;
}

// Family name, first name and a number, in a shuffled order: a prefix of a family and a first name finds
// a few dozen entries, a single letter thousands.
QList<QStringList> phoneBook(int count)
{
    const QStringList families { "כהן", "לוי", "מזרחי", "פרץ", "ביטון", "דהן", "אברהם", "פרידמן", "אזולאי", "מלכה",
        "חדד", "גבאי", "יוסף", "שפירא", "קליין", "אוחיון", "רוזנברג", "גולן", "ברק", "שטרן" };
    const QStringList firsts { "דוד", "משה", "יוסף", "אברהם", "יעקב", "מרים", "שרה", "רחל", "לאה", "אסתר", "נועה",
        "תמר", "אורי", "איתי", "יונתן", "מיכל", "רונית", "עומר", "שירה", "אבי" };
    QList<QStringList> records;
    for (int i = 0; i < count; ++i) {
        const int n = int((qint64(i) * 7919) % count);
        records << QStringList { families[n % families.size()] + QLatin1Char(' ')
                + firsts[(n / families.size()) % firsts.size()] + QLatin1Char(' ') + QString::number(n),
            QStringLiteral("05%1").arg(n % 10), QString::number(1000000 + n) };
    }
    return records;
}

void benchFill(int count, const QString& dir, bool* consistent)
{
    const QList<QStringList> records = contacts(count);
    PhoneBookTable oneByOne(PhoneBookTable::Kind::OutlookCache);
    const double single = millisecondsOf([&] {
        for (const QStringList& record : records)
            oneByOne.appendRecord(record);
    });
    PhoneBookTable bulk(PhoneBookTable::Kind::OutlookCache);
    const double together = millisecondsOf([&] { bulk.appendRecords(records); });

    const QString path = dir + QStringLiteral("/fill-outlook.db");
    const double save = millisecondsOf([&] { bulk.saveToFile(path); });
    PhoneBookTable loaded(PhoneBookTable::Kind::OutlookCache);
    const double load = millisecondsOf([&] { loaded.loadFromFile(path); });

    std::printf("%d records\n", count);
    std::printf("  one by one   %9.1f ms\n", single);
    std::printf("  in bulk      %9.1f ms   (%.0f times faster)\n", together, single / together);
    std::printf("  save to file %9.1f ms\n", save);
    std::printf("  load file    %9.1f ms   (%d records read)\n", load, loaded.recordCount());
    *consistent = *consistent && loaded.recordCount() == count;
}

// Shows a new window over the tables and waits until its grid shows rows.
double openWindow(PhoneBookTable* book, PhoneBookTable* cache, std::unique_ptr<TPhoneBookForm>* form)
{
    QElapsedTimer timer;
    timer.start();
    *form = std::make_unique<TPhoneBookForm>(book, cache, QStringList { "052=052" });
    (*form)->show();
    while ((*form)->grid->model()->rowCount() == 0 && timer.elapsed() < 10000)
        QCoreApplication::processEvents();
    (*form)->repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The window's search, and the same statement read to its end directly. `all`: every match is read into
// the window's model too, not only the rows the grid shows first.
struct Search
{
    double window = 0;
    double direct = 0;
    int matches = 0;
    int directMatches = 0;
};

Search search(TPhoneBookForm& form, PhoneBookTable& book, const QString& prefix, bool all)
{
    Search result;
    QAbstractItemModel* grid = form.grid->model();
    result.window = medianOf(Runs, [&] {
        form.searchEdit->setText(QStringLiteral("~")); // no name begins with it
        return millisecondsOf([&] {
            form.searchEdit->setText(prefix);
            while (all && grid->canFetchMore(QModelIndex()))
                grid->fetchMore(QModelIndex());
        });
    });
    while (grid->canFetchMore(QModelIndex()))
        grid->fetchMore(QModelIndex());
    result.matches = grid->rowCount();

    result.direct = medianOf(Runs, [&] {
        return millisecondsOf([&] {
            QSqlQuery query(book.model()->database());
            query.setForwardOnly(true);
            query.prepare(QStringLiteral("SELECT Name, Area, Phone, RecordId FROM Recipients WHERE Name LIKE ? "
                                         "ESCAPE '\\' ORDER BY Name COLLATE NOCASE, RecordId"));
            query.addBindValue(prefix + QLatin1Char('%'));
            query.exec();
            int rows = 0;
            for (; query.next(); ++rows) {
                for (int column = 0; column < 4; ++column)
                    query.value(column);
            }
            result.directMatches = rows;
        });
    });
    return result;
}

void benchWindow(int count, bool* consistent)
{
    PhoneBookTable written(PhoneBookTable::Kind::PhoneBook);
    written.appendRecords(phoneBook(count));
    written.saveToFile(written.filePath());

    std::printf("\nthe phone book window over %d entries, median of %d runs\n", count, Runs);
    const double load = medianOf(Runs, [&] {
        PhoneBookTable book(PhoneBookTable::Kind::PhoneBook);
        book.isEmpty(); // the database is made at the first use
        return millisecondsOf([&] { book.loadFromFile(book.filePath()); });
    });
    PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
    std::unique_ptr<TPhoneBookForm> form;
    const double firstOpen = medianOf(Runs, [&] {
        PhoneBookTable book(PhoneBookTable::Kind::PhoneBook);
        book.isEmpty();
        const double time = openWindow(&book, &cache, &form);
        form.reset();
        return time;
    });
    PhoneBookTable book(PhoneBookTable::Kind::PhoneBook);
    openWindow(&book, &cache, &form);
    form.reset();
    const double reopen = medianOf(Runs, [&] {
        const double time = openWindow(&book, &cache, &form);
        form.reset();
        return time;
    });
    std::printf("  open, reading phonebook.db  %8.1f ms   goal < 300 ms: %s (reading the file alone %.1f ms)\n",
        firstOpen, verdict(firstOpen < 300), load);
    std::printf("  open, table in memory       %8.1f ms   goal < 300 ms: %s\n", reopen, verdict(reopen < 300));

    openWindow(&book, &cache, &form);
    struct Case
    {
        const char* what;
        QString prefix;
        bool all;
    };
    const Case cases[] = {
        { "family and first name", QStringLiteral("כהן דוד"), true },
        { "one letter, rows shown", QStringLiteral("מ"), false },
        { "one letter, every match", QStringLiteral("מ"), true },
    };
    for (const Case& c : cases) {
        const Search s = search(*form, book, c.prefix, c.all);
        const double ratio = s.window / s.direct;
        std::printf(
            "  search, %-24s %6d matches: window %7.2f ms, direct %7.2f ms", c.what, s.matches, s.window, s.direct);
        if (c.all)
            std::printf("   (%.2f times; goal <= 2 and < 50 ms: %s)\n", ratio, verdict(ratio <= 2 && s.window < 50));
        else
            std::printf("   (the grid's first rows only)\n");
        *consistent = *consistent && s.matches == s.directMatches && s.matches > 0;
    }
    form.reset();
}
} // namespace

int main(int argc, char** argv)
{
    // The window runs without a display, and the bench never touches the user's phone book or settings.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("ZELKORA_APPDIR", QFile::encodeName(dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);

    const int fillCount = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int windowCount = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 100000;
    bool consistent = true;
    benchFill(fillCount, dir.path(), &consistent);
    benchWindow(windowCount, &consistent);
    return consistent ? 0 : 1;
}
