// Writes that fail part-way: a file-size limit (with SIGXFSZ ignored, so that the write itself fails) below
// the new content's size, and a small tmpfs filled to the last page. The old bytes stay, the caller hears of
// it, no part of the new content is renamed into place and no temporary file is left beside it.
#include "SandboxServer.h"
#include "TestEnv.h"
#include "common/AtomicFile.h"
#include "history/HistoryStore.h"
#include "phonebook/PhoneBookTable.h"
#include "service/ServiceState.h"
#include "service/TCacheTable.h"
#include "settings/SmsIni.h"

#include <QDir>
#include <QtTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
// Holds the file-size limit of this process at `bytes` while it lives.
class SizeLimit
{
public:
    explicit SizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_before {};
    void (*m_handler)(int) = nullptr;
};

// When `wanted`, a tmpfs of 256 KiB over `dir` while it lives; mounted() is false where this process may
// not mount.
class SmallDisk
{
public:
    SmallDisk(const QString& dir, bool wanted)
        : m_dir(QFile::encodeName(dir))
        , m_mounted(wanted
              && ::mount("tmpfs", m_dir.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k,mode=0700") == 0)
    {
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_dir.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    // Writes a filler file until the disk has no page left.
    void fill() const
    {
        QFile filler(QFile::decodeName(m_dir) + QStringLiteral("/filler"));
        if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'f')) > 0) { }
    }

private:
    QByteArray m_dir;
    bool m_mounted;
};

QStringList filesBeside(const QString& path)
{
    return QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden);
}
} // namespace

class TestFullWrites : public QObject
{
    Q_OBJECT

    // Fresh folders with a providers.dat of a few bytes; its path.
    static QString freshCache()
    {
        TestEnv::noProxy();
        TestEnv::freshConfigDir();
        const QString cache = TestEnv::freshAppDir() + QStringLiteral("providers.dat");
        TestEnv::writeFile(cache, "<#FINISHED>\r\n");
        return cache;
    }

private slots:
    // Each kind of file the program writes whole, through the writer its owner uses, under each fault.
    void theOldFileStaysAndTheCallerHears_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("fullDisk");
        for (const char* kind : { "file.dat", "SMS.INI", "providers.dat", "phonebook.db", "outlook.db", "adcache.dat" }) {
            QTest::addRow("%s, size limit", kind) << QString::fromLatin1(kind) << false;
            QTest::addRow("%s, full disk", kind) << QString::fromLatin1(kind) << true;
        }
    }
    void theOldFileStaysAndTheCallerHears()
    {
        QFETCH(QString, kind);
        QFETCH(bool, fullDisk);
        const QString app = TestEnv::freshAppDir();
        const SmallDisk disk(app, fullDisk);
        if (fullDisk && !disk.mounted())
            QSKIP("this process may not mount a tmpfs");
        const QString path = app + kind;
        const QByteArray old = kind == QLatin1String("SMS.INI")
            ? QByteArray("[Sahar]\r\nUserName=dana\r\nPassword=secret\r\n")
            : QByteArray("old content\n");
        TestEnv::writeFile(path, old);
        if (fullDisk)
            disk.fill();
        const QStringList before = filesBeside(path);
        const QString big(4096, QLatin1Char('n'));

        bool reported = false;
        {
            const SizeLimit limit(fullDisk ? RLIM_INFINITY : 512);
            QString error;
            if (kind == QLatin1String("SMS.INI")) {
                try {
                    SmsIni(path).setLastFrom(big);
                } catch (const std::exception& failure) {
                    error = QString::fromUtf8(failure.what());
                }
            } else if (kind == QLatin1String("providers.dat")) {
                TProviders providers;
                QStringList areas;
                ServiceState state(providers, areas);
                state.ProcessDocument("<#PROVIDERS>\r\n<#PROVIDER Name=" + big.toLatin1()
                    + " AreaCodes=050 MsgUrl=http://127.0.0.1:9/m>\r\n<#FINISHED>\r\n");
                state.SaveProviderCache(&error);
            } else if (kind.endsWith(QLatin1String(".db"))) {
                PhoneBookTable table(kind == QLatin1String("outlook.db") ? PhoneBookTable::Kind::OutlookCache
                                                                         : PhoneBookTable::Kind::PhoneBook);
                for (int i = 0; i < 20; ++i)
                    table.appendRecord({ big, QStringLiteral("052"), QString::number(1000000 + i) });
                table.saveToFile(path, &error);
            } else if (kind == QLatin1String("adcache.dat")) {
                TCacheTable banners;
                banners.Append({ big, QStringLiteral("gif"), QStringLiteral("http://127.0.0.1:9/a.gif"), {}, 10000, 3 });
                banners.SaveToFile(path, &error);
            } else {
                AtomicFile::write(path, big.toLatin1(), &error);
            }
            reported = !error.isEmpty();
        }
        QVERIFY(reported);
        QCOMPARE(TestEnv::readFile(path), old);
        QCOMPARE(filesBeside(path), before);
    }

    // Under a umask that lets the group write, what the program makes is still the owner's alone.
    void filesAndFoldersAreTheOwnersUnderAnyUmask()
    {
        const QString root = TestEnv::freshAppDir();
        const ::mode_t before = ::umask(002);
        QVERIFY(AtomicFile::write(root + QStringLiteral("new/deeper/providers.dat"), "x"));
        HistoryStore history(root + QStringLiteral("data/history.db"));
        HistoryEntry entry;
        entry.time = QDateTime::currentDateTime();
        QVERIFY2(history.add(entry), qPrintable(history.error()));
        ::umask(before);
        const auto mode = [](const QString& path) {
            struct stat info
            {
            };
            ::stat(QFile::encodeName(path).constData(), &info);
            return int(info.st_mode & 0777);
        };
        QCOMPARE(mode(root + QStringLiteral("new")), 0700);
        QCOMPARE(mode(root + QStringLiteral("new/deeper")), 0700);
        QCOMPARE(mode(root + QStringLiteral("new/deeper/providers.dat")), 0600);
        QCOMPARE(mode(root + QStringLiteral("data")), 0700);
        QCOMPARE(mode(root + QStringLiteral("data/history.db")), 0600);
        QCOMPARE(mode(root + QStringLiteral("data/history.db-wal")), 0600);
        // A settings file made by hand for others to read is closed to them when the program reads it.
        const QString settings = TestEnv::freshConfigDir() + QStringLiteral("SMS.INI");
        TestEnv::writeFile(settings, "[Sahar]\r\nUserName=dana\r\nPassword=secret\r\n");
        QFile::setPermissions(settings, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        QCOMPARE(SmsIni(settings).password(QStringLiteral("Sahar")), QStringLiteral("secret"));
        QCOMPARE(mode(settings), 0600);
    }

    // A reply far larger than any definitions document is cut off, not held in memory whole.
    void aRunawayServiceReplyIsRefused()
    {
        SandboxServer sandbox;
        QVERIFY(sandbox.listen());
        const QString cache = freshCache();
        sandbox.setInitDocument(QByteArray("<#PARAMS>\r\n").repeated(1024 * 1024));
        const TestEnv::ProgramRun run
            = TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
                { QStringLiteral("--service-url"), sandbox.baseUrl(), QStringLiteral("refresh") });
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(QStringLiteral("more than 8 MiB")), qPrintable(run.err));
        QCOMPARE(TestEnv::readFile(cache), QByteArray("<#FINISHED>\r\n"));
    }

    // zelkora-cli refresh on a disk that fills up says so, fails, and leaves providers.dat as it was.
    void refreshOnAFullDiskLeavesTheCache()
    {
        SandboxServer sandbox;
        QVERIFY(sandbox.listen());
        const QString cache = freshCache();
        const QStringList shell { QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\""),
            QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"), QStringLiteral("--service-url"),
            sandbox.baseUrl(), QStringLiteral("refresh") };
        const TestEnv::ProgramRun run = TestEnv::runProgram(QStringLiteral("bash"), shell);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(QStringLiteral("could not be written")), qPrintable(run.err));
        QCOMPARE(TestEnv::readFile(cache), QByteArray("<#FINISHED>\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestFullWrites)
#include "test_fullwrites.moc"
