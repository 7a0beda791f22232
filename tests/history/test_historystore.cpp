#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "history/HistoryStore.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>

namespace {
const QDateTime Now = QDateTime::currentDateTime();

HistoryEntry attempt(const QString& name, int status, qint64 minutesAgo, qint64 listId = 0)
{
    HistoryEntry entry;
    entry.time = Now.addSecs(-60 * minutesAgo);
    entry.name = name;
    entry.area = QStringLiteral("052");
    entry.phone = QStringLiteral("1234567");
    entry.status = status;
    entry.listId = listId;
    return entry;
}

QStringList namesOf(const QList<HistoryEntry>& entries)
{
    QStringList names;
    for (const HistoryEntry& entry : entries)
        names << entry.name;
    return names;
}
} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT
    QString m_dir;
    std::unique_ptr<HistoryStore> m_store;
    QHash<QString, qint64> m_ids;

    void add(const HistoryEntry& entry)
    {
        m_ids[entry.name] = m_store->add(entry);
        QVERIFY(m_ids[entry.name]);
    }

    void schedule(const QString& name, qint64 minutesAhead, qint64 listId = 0)
    {
        HistoryEntry entry = attempt(name, HistoryEntry::Refused, 0, listId);
        entry.due = Now.addSecs(60 * minutesAhead);
        m_ids[name] = m_store->schedule(entry);
        QVERIFY(m_ids[name]);
    }

private slots:
    void init()
    {
        m_dir = TestEnv::freshAppDir();
        m_store = std::make_unique<HistoryStore>(m_dir + QStringLiteral("history.db"));
        QVERIFY(m_store->isOpen());
        m_ids.clear();
        add(attempt("sent old", 6, 3 * 24 * 60));
        add(attempt("failed", 8, 120, 7));
        add(attempt("sent", 6, 60, 7));
        add(attempt("refused", HistoryEntry::Refused, 30, 7));
        schedule("missed", -10 * 24 * 60);
        schedule("due", -1);
        schedule("later", 60, 9);
    }

    void cleanup() { m_store.reset(); }

    // A history written before attempts recorded whether their message left opens with its rows, which count
    // as not submitted, and takes the new column's value from then on.
    void aHistoryFromBeforeTheSubmittedColumnOpens()
    {
        m_store.reset();
        const QString path = TestEnv::freshAppDir() + QStringLiteral("history.db");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral(
                "CREATE TABLE attempts (id INTEGER PRIMARY KEY, time TEXT NOT NULL, sender TEXT NOT NULL DEFAULT '', "
                "name TEXT NOT NULL DEFAULT '', area TEXT NOT NULL DEFAULT '', phone TEXT NOT NULL DEFAULT '', "
                "provider TEXT NOT NULL DEFAULT '', message TEXT NOT NULL DEFAULT '', status INTEGER NOT NULL "
                "DEFAULT -1, status_text TEXT NOT NULL DEFAULT '', confirmed INTEGER NOT NULL DEFAULT 0, duration_ms "
                "INTEGER NOT NULL DEFAULT 0, source TEXT NOT NULL DEFAULT 'window', list_id INTEGER NOT NULL DEFAULT "
                "0, scheduled INTEGER NOT NULL DEFAULT 0, due TEXT)")));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO attempts (time, name, status) VALUES "
                                              "('2026-12-01T08:00:00.000Z', 'old', 9)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
        m_store = std::make_unique<HistoryStore>(path);
        QVERIFY2(m_store->isOpen(), qPrintable(m_store->error()));
        QCOMPARE(m_store->entries().size(), 1);
        QCOMPARE(m_store->entries().first().outcome(), SendOutcome::Failed);
        HistoryEntry unknown = attempt("new", 9, 0);
        unknown.submitted = true;
        add(unknown);
        QCOMPARE(m_store->entry(m_ids.value("new"))->outcome(), SendOutcome::Unknown);
    }

    void anEntryComesBackAsItWasWritten()
    {
        HistoryEntry written;
        written.time = QDateTime(QDate(2026, 3, 1), QTime(9, 5, 7, 123));
        written.sender = QStringLiteral("נועה");
        written.name = QStringLiteral("דוד \"דודו\" כהן");
        written.area = QStringLiteral("054");
        written.phone = QStringLiteral("7654321");
        written.provider = QStringLiteral("partner");
        written.message = QStringLiteral("שלום,\nמה נשמע? 100%");
        written.status = 6;
        written.statusText = QStringLiteral("ההודעה נשלחה");
        written.confirmed = true;
        written.durationMs = 4321;
        written.source = SendSource::CommandLine;
        written.listId = 42;
        const qint64 id = m_store->add(written);

        const std::optional<HistoryEntry> read = m_store->entry(id);
        QVERIFY(read);
        QCOMPARE(read->time, written.time);
        QCOMPARE(read->time.timeSpec(), Qt::LocalTime);
        const auto fields = [](const HistoryEntry& e) {
            return QVariantList { e.sender, e.name, e.area, e.phone, e.provider, e.message, e.status, e.statusText,
                e.confirmed, e.durationMs, int(e.source), e.listId, e.scheduled };
        };
        QCOMPARE(fields(*read), fields(written));
    }

    void queue_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("minutesAhead");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QStringList>("dueNow");
        QTest::addColumn<QStringList>("queue");
        QTest::addColumn<int>("entries");
        QTest::newRow("nothing") << ""
                                 << "" << 0 << false << QStringList { "missed", "due" }
                                 << QStringList { "missed", "due", "later" } << 7;
        QTest::newRow("a later send brought forward")
            << "reschedule"
            << "later" << -5 << true << QStringList { "missed", "later", "due" }
            << QStringList { "missed", "later", "due" } << 7;
        QTest::newRow("a due send put off")
            << "reschedule"
            << "due" << 120 << true << QStringList { "missed" } << QStringList { "missed", "later", "due" } << 7;
        QTest::newRow("a finished attempt keeps its time")
            << "reschedule"
            << "failed" << 120 << false << QStringList { "missed", "due" } << QStringList { "missed", "due", "later" }
            << 7;
        QTest::newRow("dropped") << "drop"
                                 << "due" << 0 << true << QStringList { "missed" } << QStringList { "missed", "later" }
                                 << 6;
        QTest::newRow("a finished attempt is not dropped")
            << "drop"
            << "sent" << 0 << false << QStringList { "missed", "due" } << QStringList { "missed", "due", "later" } << 7;
        QTest::newRow("sent from the queue")
            << "complete"
            << "due" << 0 << true << QStringList { "missed" } << QStringList { "missed", "later" } << 7;
    }

    void queue()
    {
        QFETCH(QString, operation);
        QFETCH(QString, target);
        QFETCH(int, minutesAhead);
        QFETCH(bool, done);
        QFETCH(QStringList, dueNow);
        QFETCH(QStringList, queue);
        QFETCH(int, entries);

        const qint64 id = m_ids.value(target);
        HistoryEntry sent = attempt(target, 6, 0);
        sent.source = SendSource::Queue;
        if (operation == QLatin1String("reschedule"))
            QCOMPARE(m_store->reschedule(id, Now.addSecs(60 * minutesAhead)), done);
        else if (operation == QLatin1String("drop"))
            QCOMPARE(m_store->drop(id), done);
        else if (operation == QLatin1String("complete"))
            QCOMPARE(m_store->complete(id, sent), done);

        QCOMPARE(namesOf(m_store->dueBy(QDateTime::currentDateTime())), dueNow);
        QCOMPARE(namesOf(m_store->scheduled()), queue);
        QCOMPARE(m_store->entries().size(), entries);
        if (operation == QLatin1String("complete")) {
            QVERIFY(m_store->entry(id)->sent());
            QCOMPARE(m_store->entry(id)->source, SendSource::Queue);
        }
    }

    void lists()
    {
        // A message that left without a verdict may have been sent: it is no recipient "not sent".
        HistoryEntry unknown = attempt("unknown", 9, 20, 7);
        unknown.submitted = true;
        HistoryEntry timedOut = attempt("timed out before it left", 9, 20, 7);
        add(unknown);
        add(timedOut);
        QCOMPARE(m_store->entry(m_ids.value("unknown"))->outcome(), SendOutcome::Unknown);
        QCOMPARE(namesOf(m_store->notSentOfList(7)), (QStringList { "failed", "refused", "timed out before it left" }));
        // The queued list has sent nothing yet.
        QCOMPARE(namesOf(m_store->notSentOfList(9)), QStringList());
        QCOMPARE(m_store->lastListId(), qint64(7));
        QVERIFY(m_store->newListId() > 9);
        add(attempt("single", 8, 0));
        QCOMPARE(m_store->lastListId(), qint64(7));

        // Values another writer stored in other types are read as the queries take them: a message that may
        // have left never joins the recipients to send again.
        QSqlQuery other(QSqlDatabase::database(m_store->connectionName()));
        QVERIFY(other.exec(QStringLiteral("UPDATE attempts SET submitted = 3, status = '9' WHERE id = %1")
                               .arg(m_ids.value("unknown"))));
        QVERIFY(other.exec(QStringLiteral("UPDATE attempts SET submitted = 1, status = -1e308 WHERE id = %1")
                               .arg(m_ids.value("timed out before it left"))));
        for (const HistoryEntry& row : m_store->notSentOfList(7))
            QVERIFY2(row.outcome() != SendOutcome::Unknown, qPrintable(row.name));
        QCOMPARE(namesOf(m_store->unknownOfList(7)), QStringList { "unknown" });
    }

    void prune_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("pruned");
        QTest::addColumn<bool>("oldKept");
        QTest::newRow("0 keeps everything") << 0 << 0 << true;
        QTest::newRow("negative keeps everything") << -1 << 0 << true;
        QTest::newRow("a day") << 1 << 1 << false;
        QTest::newRow("a week") << 7 << 0 << true;
    }

    void prune()
    {
        QFETCH(int, days);
        QFETCH(int, pruned);
        QFETCH(bool, oldKept);

        QCOMPARE(m_store->prune(days), pruned);
        QCOMPARE(bool(m_store->entry(m_ids["sent old"])), oldKept);
        // A send missed ten days ago still waits for the user's word.
        QCOMPARE(namesOf(m_store->scheduled()), (QStringList { "missed", "due", "later" }));
    }

    void aFileThatIsNotAHistoryIsMovedAside()
    {
        const QString dir = TestEnv::freshDir(m_dir + QStringLiteral("damaged"));
        const QByteArray bytes = QByteArray("this is not a database\n").repeated(100);
        TestEnv::writeFile(dir + QStringLiteral("history.db"), bytes);
        QStringList reports;
        const ErrorReport::Handler previous = ErrorReport::setHandler([&](const QString& text) { reports << text; });
        HistoryStore store(dir + QStringLiteral("history.db"));
        ErrorReport::setHandler(previous);

        QVERIFY(store.isOpen());
        QCOMPARE(store.entries().size(), 0);
        QVERIFY(store.add(attempt("new", 6, 0)));
        const QStringList aside = QDir(dir).entryList({ QStringLiteral("history.db.damaged-*") });
        QCOMPARE(aside.size(), 1);
        QCOMPARE(TestEnv::readFile(dir + aside.first()), bytes);
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(aside.first()));
    }

    // A history that cannot be written now (a full disk, another program's long write, a read-only folder),
    // another program's database and one of a newer version are kept byte for byte: never moved aside, never
    // changed. One that only cannot be written is still listed.
    void aFileThatIsNotDamagedIsKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("listed");
        QTest::newRow("full disk") << "full" << true;
        QTest::newRow("busy with another's write") << "busy" << true;
        QTest::newRow("read-only folder") << "readonly" << true;
        QTest::newRow("another program's database") << "foreign" << false;
        QTest::newRow("a newer version") << "newer" << false;
    }
    void aFileThatIsNotDamagedIsKept()
    {
        QFETCH(QString, kind);
        QFETCH(bool, listed);
        m_store.reset();
        const QString dir = TestEnv::freshDir(m_dir + QStringLiteral("kept"));
        const QString path = dir + QStringLiteral("history.db");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            if (kind == QLatin1String("foreign")) {
                QVERIFY(query.exec(QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)")));
            } else if (kind == QLatin1String("newer")) {
                // An attempts table, of a version this program does not know.
                QVERIFY(
                    query.exec(QStringLiteral("CREATE TABLE attempts (id INTEGER PRIMARY KEY, time TEXT NOT NULL, "
                                              "name TEXT NOT NULL DEFAULT '', status INTEGER NOT NULL DEFAULT -1)")));
                QVERIFY(query.exec(QStringLiteral("INSERT INTO attempts (time, name, status) VALUES "
                                                  "('2026-12-01T08:00:00.000Z', 'old', 6)")));
                QVERIFY(query.exec(QStringLiteral("PRAGMA user_version=99")));
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maker"));
        const bool ours = kind == QLatin1String("full") || kind == QLatin1String("busy")
            || kind == QLatin1String("readonly");
        if (ours) {
            QFile::remove(path);
            HistoryStore(path).add(attempt("old", 6, 0));
        }
        const QByteArray bytes = TestEnv::readFile(path);
        // Another connection in the middle of a write for longer than the store waits.
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(path);
        if (kind == QLatin1String("busy")) {
            QVERIFY(holder.open());
            QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        }
        // The folder mounted read-only over itself: even root cannot write there.
        const QByteArray folder = QFile::encodeName(dir);
        const bool readOnly = kind == QLatin1String("readonly")
            && ::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (readOnly)
            ::mount(nullptr, folder.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr);
        else if (kind == QLatin1String("readonly"))
            QSKIP("this process may not mount");
        QStringList reports;
        const ErrorReport::Handler previous = ErrorReport::setHandler([&](const QString& text) { reports << text; });
        {
            rlimit before {};
            ::getrlimit(RLIMIT_FSIZE, &before);
            const auto handler = std::signal(SIGXFSZ, SIG_IGN);
            if (kind == QLatin1String("full")) {
                rlimit full = before;
                full.rlim_cur = rlim_t(bytes.size());
                ::setrlimit(RLIMIT_FSIZE, &full);
            }
            HistoryStore store(path);
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, handler);
            QVERIFY2(store.isOpen() == listed,
                qPrintable(store.error() + QLatin1Char(' ') + reports.join(QLatin1Char('|'))));
            if (listed)
                QCOMPARE(store.entries().size(), 1);
        }
        if (readOnly)
            ::umount2(folder.constData(), MNT_DETACH);
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        ErrorReport::setHandler(previous);
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.first().contains(QStringLiteral("history.db")), qPrintable(reports.first()));
        QCOMPARE(QDir(dir).entryList({ QStringLiteral("history.db.damaged-*") }), QStringList());
        QCOMPARE(TestEnv::readFile(path), bytes);
    }

    void twoProgramsWritingAtOnceLoseNothing()
    {
        constexpr int Count = 300;
        const QString writer = QCoreApplication::applicationDirPath() + QStringLiteral("/historywriter");
        const QString start = QString::number(QDateTime::currentMSecsSinceEpoch() + 1000);
        QProcess first;
        QProcess second;
        first.start(writer, { m_store->path(), "first", QString::number(Count), start });
        second.start(writer, { m_store->path(), "second", QString::number(Count), start });
        for (QProcess* process : { &first, &second }) {
            QVERIFY(process->waitForFinished(60000));
            QCOMPARE(process->readAllStandardError(), QByteArray());
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
        }

        QHash<QString, QSet<QString>> messages;
        for (const HistoryEntry& entry : m_store->entries())
            messages[entry.sender] << entry.message;
        QCOMPARE(messages.value("first").size(), Count);
        QCOMPARE(messages.value("second").size(), Count);
        QCOMPARE(m_store->entries().size(), 2 * Count + 7);
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "test_historystore.moc"
