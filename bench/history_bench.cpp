// The history over a large history.db: the history window opening until its grid shows rows, a search
// typed into it beside the same statement run directly in SQLite, and what writing one attempt costs.
// Ratios within one run mean something on a shared machine; the absolute times less so.
//
//   history_bench [entries, 100000]
#include "BenchTiming.h"
#include "history/HistoryStore.h"
#include "history/THistoryForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {
using namespace BenchTiming;
constexpr int Runs = 10;

HistoryEntry attempt(int n)
{
    const QStringList names { "דוד כהן", "שרה לוי", "משה מזרחי", "רחל פרץ", "יוסי ביטון", "נועה דהן", "", "" };
    const QStringList words { "שלום", "מחר בשמונה", "התקשר אליי", "הפגישה בוטלה", "מזל טוב!", "נתראה בערב" };
    HistoryEntry e;
    e.time = QDateTime(QDate(2024, 1, 1), QTime(8, 0)).addSecs(qint64(n) * 600);
    e.sender = QStringLiteral("דנה");
    e.name = names[n % names.size()];
    e.area = QStringLiteral("05%1").arg(n % 10);
    e.phone = QString::number(1000000 + (qint64(n) * 7919) % 9000000);
    e.provider = QStringLiteral("Sahar");
    e.message = words[n % words.size()] + QLatin1Char(' ') + QString::number(n);
    e.status = n % 7 == 0 ? 8 : 6;
    e.statusText = e.status == 6 ? QStringLiteral("ההודעה נשלחה") : QStringLiteral("כשלון");
    e.confirmed = e.status == 6;
    e.durationMs = 1500;
    e.listId = n % 3 == 0 ? n / 30 + 1 : 0;
    return e;
}

void fill(HistoryStore& store, int count)
{
    QSqlDatabase db = QSqlDatabase::database(store.connectionName());
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO attempts (time, sender, name, area, phone, provider, message, status, "
                                  "status_text, confirmed, duration_ms, source, list_id, scheduled, due) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, '')"));
    for (int n = 0; n < count; ++n) {
        const HistoryEntry e = attempt(n);
        const QVariantList values { e.time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")), e.sender,
            e.name, e.area, e.phone, e.provider, e.message, e.status, e.statusText, e.confirmed ? 1 : 0, e.durationMs,
            HistoryStore::sourceName(e.listId ? SendSource::List : SendSource::Window), e.listId };
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values.at(i));
        insert.exec();
    }
    db.commit();
}

// Shows a new window and waits until its grid shows rows.
double openWindow(HistoryStore& store, std::unique_ptr<THistoryForm>* form)
{
    QElapsedTimer timer;
    timer.start();
    *form = std::make_unique<THistoryForm>(store);
    (*form)->show();
    auto* grid = (*form)->findChild<QTableView*>(QStringLiteral("Grid"));
    while (grid->model()->rowCount() == 0 && timer.elapsed() < 10000)
        QCoreApplication::processEvents();
    (*form)->repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Search
{
    double window = 0; // until the grid shows its first rows
    double direct = 0; // the same rows read directly
    double windowAll = 0; // every match read into the window's model
    double directAll = 0;
    int matches = 0;
    int directMatches = 0;
};

// Runs the window's statement directly and reads `limit` rows of it (all of them when -1).
int readDirectly(HistoryStore& store, const QString& statement, const QVariantList& binds, int limit)
{
    QSqlQuery direct(QSqlDatabase::database(store.connectionName()));
    direct.setForwardOnly(true);
    direct.prepare(statement);
    for (const QVariant& value : binds)
        direct.addBindValue(value);
    direct.exec();
    int rows = 0;
    for (; (limit < 0 || rows < limit) && direct.next(); ++rows) {
        for (int column = 0; column < 16; ++column)
            direct.value(column);
    }
    return rows;
}

// The window's search until the grid shows rows and read to the last match, and the window's own statement
// run directly, for as many rows.
Search search(THistoryForm& form, HistoryStore& store, const QString& typed)
{
    Search result;
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("SearchEdit"));
    QAbstractItemModel* grid = form.findChild<QTableView*>(QStringLiteral("Grid"))->model();
    int shown = 0;
    const auto typedIn = [&](bool all) {
        return medianOf(Runs, [&] {
            edit->setText(QStringLiteral("~~")); // found nowhere
            form.refresh();
            return millisecondsOf([&] {
                edit->setText(typed);
                form.refresh();
                while (all && grid->canFetchMore(QModelIndex()))
                    grid->fetchMore(QModelIndex());
                shown = grid->rowCount();
            });
        });
    };
    result.window = typedIn(false);
    const int firstRows = shown;
    result.windowAll = typedIn(true);
    result.matches = grid->rowCount();

    HistoryQuery query;
    query.search = typed;
    QVariantList binds;
    const QString statement = HistoryStore::selectStatement(query, &binds);
    result.direct
        = medianOf(Runs, [&] { return millisecondsOf([&] { readDirectly(store, statement, binds, firstRows); }); });
    result.directAll = medianOf(Runs,
        [&] { return millisecondsOf([&] { result.directMatches = readDirectly(store, statement, binds, -1); }); });
    return result;
}
} // namespace

int main(int argc, char** argv)
{
    // The window runs without a display, and the bench never touches the user's history.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("ZELKORA_APPDIR", QFile::encodeName(dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    HistoryStore store(dir.filePath(QStringLiteral("history.db")));
    if (!store.isOpen()) {
        std::printf("history.db cannot be opened: %s\n", qPrintable(store.error()));
        return 1;
    }
    const double filled = millisecondsOf([&] { fill(store, count); });
    std::printf("history of %d entries written in one transaction: %.0f ms\n", count, filled);
    bool consistent = store.entries({}).size() == count;

    std::printf("\nthe history window, median of %d runs\n", Runs);
    std::unique_ptr<THistoryForm> form;
    const double open = medianOf(Runs, [&] {
        const double time = openWindow(store, &form);
        form.reset();
        return time;
    });
    std::printf("  open until rows show        %8.1f ms   goal < 300 ms: %s\n", open, verdict(open < 300));

    openWindow(store, &form);
    struct Case
    {
        const char* what;
        QString typed;
    };
    const Case cases[] = {
        { "a name", QStringLiteral("שרה לוי") },
        { "a number with its dash", QStringLiteral("052-10") },
        { "a word of the message", QStringLiteral("בוטלה") },
        { "nothing found", QStringLiteral("zzz") },
    };
    for (const Case& c : cases) {
        const Search s = search(*form, store, c.typed);
        const double ratio = s.window / s.direct;
        std::printf("  search, %-24s %6d matches\n", c.what, s.matches);
        std::printf("    until the grid shows rows: window %7.2f ms, direct %7.2f ms   (%.2f times; goal <= 2 and < 50 "
                    "ms: %s)\n",
            s.window, s.direct, ratio, verdict(ratio <= 2 && s.window < 50));
        std::printf("    every match read:          window %7.2f ms, direct %7.2f ms   (%.2f times)\n", s.windowAll,
            s.directAll, s.windowAll / s.directAll);
        consistent = consistent && s.matches == s.directMatches;
    }
    form.reset();

    // One attempt's record, as the ledger keeps it: written pending (a list's recipient), marked under way as
    // it starts and when its message leaves, and completed when it ends; each its own transaction.
    int written = 0;
    const double write = medianOf(200, [&] {
        HistoryEntry e = attempt(count + written++);
        return millisecondsOf([&] {
            const qint64 id = store.addPending({ e }).value(0);
            store.startAttempt(id);
            store.markSubmitted(id);
            e.submitted = true;
            store.complete(id, e);
        });
    });
    std::printf("\none attempt recorded in the history (pending, under way, submitted, final): median %.2f ms over "
                "200   goal < 5 ms: %s\n",
        write, verdict(write < 5));
    return consistent ? 0 : 1;
}
