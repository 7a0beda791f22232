// Rows of history.db as the history window, the queue and zelkora-cli read them back. The file is shared
// with every other copy of the program and lives on between versions, so a row may hold anything SQLite can
// store: text that is not UTF-8, numbers out of every range, NULL, blobs, times in no format at all.

#include "FuzzSupport.h"

#include "cli/CliText.h"
#include "history/HistoryStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <cstring>

#include <fuzzer/FuzzedDataProvider.h>

namespace {
const char* const Columns[] = { "id", "time", "sender", "name", "area", "phone", "provider", "message", "status",
    "status_text", "confirmed", "duration_ms", "source", "list_id", "scheduled", "due", "submitted", "phase" };

// One value as an SQL literal, so that the bytes reach the file as they are, invalid UTF-8 included.
QString valueOf(FuzzedDataProvider& in)
{
    const auto hex = [&in] { return QByteArray::fromStdString(in.ConsumeRandomLengthString(40)).toHex(); };
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
        return QStringLiteral("NULL");
    case 1:
        return QString::number(in.ConsumeIntegralInRange(-3, 12));
    case 2:
        return QString::number(in.ConsumeIntegral<qint64>());
    case 3:
        return QString::number(in.ConsumeFloatingPoint<double>(), 'g', 17);
    case 4:
        return QString::asprintf("X'%s'", hex().constData());
    case 5: // a time nearly as the store writes them, its fields a little out of range
        return QString::asprintf("'%04d-%02d-%02dT%02d:%02d:%02d.%03dZ'", in.ConsumeIntegralInRange(1990, 2040),
            in.ConsumeIntegralInRange(0, 13), in.ConsumeIntegralInRange(0, 32), in.ConsumeIntegralInRange(0, 25),
            in.ConsumeIntegralInRange(0, 61), in.ConsumeIntegralInRange(0, 61), in.ConsumeIntegralInRange(0, 1000));
    default:
        return QString::asprintf("CAST(X'%s' AS TEXT)", hex().constData());
    }
}

// Whatever a row holds, the outcome the window and zelkora-cli show is one they know and agrees with the
// query that picked the row, and its texts reach a terminal without a control character.
void checkEntries(const QList<HistoryEntry>& entries, const QStringList& outcomes)
{
    for (const HistoryEntry& e : entries) {
        FUZZ_CHECK(int(e.phase) >= int(LedgerPhase::Final) && int(e.phase) <= int(LedgerPhase::InFlight));
        if (!outcomes.contains(e.outcomeName()))
            std::fprintf(stderr, "row %lld: outcome %s (status %d, phase %d, submitted %d, scheduled %d)\n",
                static_cast<long long>(e.id), qPrintable(e.outcomeName()), e.status, int(e.phase), int(e.submitted),
                int(e.scheduled));
        FUZZ_CHECK(outcomes.contains(e.outcomeName()));
        for (const QString& text :
            { e.sender, e.name, e.area, e.phone, e.provider, e.message, e.statusText, e.shownStatusText() }) {
            for (const QChar c : visibleText(text))
                FUZZ_CHECK(c.category() != QChar::Other_Control);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    static int argc = 1;
    static char name[] = "fuzz_history_rows";
    static char* argv[] = { name, nullptr };
    new QCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = FuzzSupport::scratchDir() + QStringLiteral("/history.db");
    static HistoryStore store(path);
    // The rows come through a connection of another writer's, as from another copy of the program.
    static QSqlDatabase writer = [] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz-writer"));
        db.setDatabaseName(path);
        FUZZ_CHECK(store.isOpen() && db.open());
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        return db;
    }();

    FuzzedDataProvider in(data, size);
    QSqlQuery query(writer);
    FUZZ_CHECK(query.exec(QStringLiteral("DELETE FROM attempts")));
    const int rows = in.ConsumeIntegralInRange(1, 4);
    for (int row = 0; row < rows; ++row) {
        QStringList names;
        QStringList values;
        for (const char* column : Columns) {
            // Every row has a time; any other column may be left to its default.
            const bool time = std::strcmp(column, "time") == 0;
            if (!in.ConsumeBool() && !time)
                continue;
            names << QString::fromLatin1(column);
            values << (time && in.ConsumeBool() ? QStringLiteral("'2024-01-01T00:00:00.000Z'") : valueOf(in));
        }
        // A row that breaks what the schema demands is refused by SQLite, as from any other writer.
        query.exec(QStringLiteral("INSERT OR REPLACE INTO attempts (%1) VALUES (%2)")
                       .arg(names.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    }
    qint64 listId = 0;
    if (query.exec(QStringLiteral("SELECT list_id FROM attempts ORDER BY id LIMIT 1")) && query.next())
        listId = query.value(0).toLongLong();
    query.finish();

    // The history window's list (an empty search is the whole history), the queue, and a list's recipients
    // to send again, each with the outcomes it may show.
    HistoryQuery search;
    search.search = QString::fromStdString(in.ConsumeRandomLengthString(12));
    search.notSentOnly = in.ConsumeBool();
    search.limit = in.ConsumeIntegralInRange(-1, 3);
    const QStringList notSent { QStringLiteral("rejected"), QStringLiteral("failed"), QStringLiteral("cancelled"),
        QStringLiteral("pending") };
    const QStringList unknown { QStringLiteral("unknown") };
    const QStringList queued { QStringLiteral("scheduled") };
    checkEntries(store.entries(search),
        search.notSentOnly ? notSent : notSent + unknown + queued + QStringList { QStringLiteral("sent") });
    checkEntries(store.scheduled(), queued);
    const QDateTime now = QDateTime::currentDateTime();
    const QList<HistoryEntry> due = store.dueBy(now);
    checkEntries(due, queued);
    for (const HistoryEntry& e : due)
        FUZZ_CHECK(!e.due.isValid() || e.due <= now);
    // Without the user's word, the list to send again never holds a message that may have left.
    const bool includeUnknown = in.ConsumeBool();
    checkEntries(store.notSentOfList(listId, includeUnknown), includeUnknown ? notSent + unknown : notSent);
    checkEntries(store.unknownOfList(listId), unknown);
    return 0;
}
