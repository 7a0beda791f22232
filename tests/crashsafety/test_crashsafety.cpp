// The program killed (SIGKILL) at random moments while it writes providers.dat, SMS.INI, adcache.dat,
// phonebook.db and a vCard: after every kill each file holds either its old or its new content, whole.
#include "CrashFiles.h"
#include "TestEnv.h"

#include "phonebook/PhoneBookTable.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <unistd.h>

namespace {
constexpr int Kills = 210;

QString helper()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/crashwriter");
}

QSet<QString> recordSet(const QList<QStringList>& records)
{
    QSet<QString> set;
    for (const QStringList& record : records)
        set.insert(record.join(QLatin1Char('|')));
    return set;
}
} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

    QString m_references;
    QMap<QString, QByteArray> m_old;
    QMap<QString, QByteArray> m_new;

    // "old", "new", or what is wrong with the file.
    QString stateOfBytes(const QString& path, const QString& reference)
    {
        if (!QFile::exists(path))
            return QStringLiteral("missing");
        const QByteArray bytes = TestEnv::readFile(path);
        if (bytes == m_old.value(reference))
            return QStringLiteral("old");
        if (bytes == m_new.value(reference))
            return QStringLiteral("new");
        return QStringLiteral("mixed (%1 bytes)").arg(bytes.size());
    }

    QString stateOfPhoneBook()
    {
        if (!QFile::exists(CrashFiles::phoneBook()))
            return QStringLiteral("missing");
        PhoneBookTable table(PhoneBookTable::Kind::PhoneBook);
        if (!table.loadFromFile(CrashFiles::phoneBook()))
            return QStringLiteral("unreadable");
        QList<QStringList> rows;
        for (int row = 0; row < table.recordCount(); ++row)
            rows.append(table.recordValues(row).mid(0, 3));
        const QSet<QString> got = recordSet(rows);
        if (rows.size() == CrashFiles::recipients(0).size() && got == recordSet(CrashFiles::recipients(0)))
            return QStringLiteral("old");
        if (rows.size() == CrashFiles::recipients(1).size() && got == recordSet(CrashFiles::recipients(1)))
            return QStringLiteral("new");
        return QStringLiteral("mixed (%1 records)").arg(rows.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(helper()));
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        m_references = TestEnv::freshDir(qEnvironmentVariable("HOME") + QStringLiteral("/references"));
        QProcess prepare;
        prepare.start(helper(), { QStringLiteral("prepare"), m_references });
        QVERIFY(prepare.waitForFinished(60000));
        QVERIFY2(prepare.exitCode() == 0, prepare.readAllStandardError().constData());
        for (const QString& name : { QStringLiteral("providers.dat"), QStringLiteral("SMS.INI"),
                 QStringLiteral("adcache.dat"), QStringLiteral("card") }) {
            m_old[name] = TestEnv::readFile(m_references + name + QStringLiteral(".old"));
            m_new[name] = TestEnv::readFile(m_references + name + QStringLiteral(".new"));
            QVERIFY(!m_old[name].isEmpty());
            QVERIFY(m_old[name] != m_new[name]);
        }
        // The settings written before the loop began are in both states: a write keeps what it does not change.
        QVERIFY(m_old[QStringLiteral("SMS.INI")].contains("Password=demo1234"));
        QVERIFY(m_new[QStringLiteral("SMS.INI")].contains("Long=filler-"));
    }

    // Hundreds of kills at random moments of the write loop: after each, every file is its old or its new
    // content, never a mixture, a part or nothing; and over all kills each file was caught in both states,
    // so the kills did land among the writes.
    void killedWriterLeavesWholeFiles()
    {
        QMap<QString, QSet<QString>> seen;
        QRandomGenerator* random = QRandomGenerator::global();
        for (int kill = 0; kill < Kills; ++kill) {
            QProcess writer;
            writer.start(helper(), { QStringLiteral("loop") });
            QVERIFY(writer.waitForStarted(10000));
            QVERIFY(writer.waitForReadyRead(20000));
            QCOMPARE(writer.readLine(), QByteArray("ready\n"));
            // Some files written whole (two rounds at most, so both states come round), then a moment into
            // the next write.
            const int writes = int(random->bounded(11));
            for (int done = 0; done < writes;) {
                while (writer.canReadLine() && done < writes)
                    done += writer.readLine() == "w\n" ? 1 : 0;
                if (done < writes)
                    QVERIFY(writer.waitForReadyRead(10000));
            }
            ::usleep(useconds_t(random->bounded(8000)));
            writer.kill();
            QVERIFY(writer.waitForFinished(10000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

            const QMap<QString, QString> states {
                { QStringLiteral("providers.dat"),
                    stateOfBytes(CrashFiles::providerCache(), QStringLiteral("providers.dat")) },
                { QStringLiteral("SMS.INI"), stateOfBytes(CrashFiles::smsIni(), QStringLiteral("SMS.INI")) },
                { QStringLiteral("adcache.dat"), stateOfBytes(CrashFiles::adCache(), QStringLiteral("adcache.dat")) },
                { QStringLiteral("phonebook.db"), stateOfPhoneBook() },
                { QStringLiteral("vCard"), stateOfBytes(CrashFiles::cardFile(), QStringLiteral("card")) },
            };
            for (auto it = states.cbegin(); it != states.cend(); ++it) {
                QVERIFY2(it.value() == QLatin1String("old") || it.value() == QLatin1String("new"),
                    qPrintable(QStringLiteral("kill %1: %2 is %3").arg(kill).arg(it.key(), it.value())));
                seen[it.key()].insert(it.value());
            }
        }
        for (auto it = seen.cbegin(); it != seen.cend(); ++it)
            QVERIFY2(
                it.value().size() == 2, qPrintable(it.key() + QStringLiteral(" was always ") + *it.value().cbegin()));
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "test_crashsafety.moc"
