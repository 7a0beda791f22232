#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "settings/ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <sys/stat.h>

namespace {
unsigned modeOf(const QString& path)
{
    struct stat st
    {
    };
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 0777;
}
} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private:
    QString m_dir;
    QString m_path;

private slots:
    void init()
    {
        m_dir = TestEnv::freshConfigDir();
        m_path = m_dir + QStringLiteral("SMS.INI");
    }

    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("45") << 45;
        QTest::newRow("zero") << QByteArray("0") << 0;
        QTest::newRow("negative") << QByteArray("-7") << -7;
        QTest::newRow("blanks around") << QByteArray("  12\t") << 12;
        QTest::newRow("hex") << QByteArray("0x3C") << 60;
        QTest::newRow("hex upper") << QByteArray("0X3c") << 60;
        QTest::newRow("hex wraps") << QByteArray("0xFFFFFFFF") << -1;
        QTest::newRow("bare 0x") << QByteArray("0x") << -99;
        QTest::newRow("hex too long") << QByteArray("0x100000000") << -99;
        QTest::newRow("hex with sign") << QByteArray("0x-5") << -99;
        QTest::newRow("letters") << QByteArray("abc") << -99;
        QTest::newRow("trailing text") << QByteArray("12s") << -99;
        QTest::newRow("out of range") << QByteArray("99999999999") << -99;
        QTest::newRow("empty") << QByteArray("") << -99;
    }

    void readInteger()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        TestEnv::writeFile(m_path, "[General]\nTimeOut=" + stored + "\n");
        QCOMPARE(ProfileFile(m_path).ReadInteger(QStringLiteral("General"), QStringLiteral("TimeOut"), -99), expected);
    }

    void longValueIsCutWhenRead()
    {
        ProfileFile ini(m_path);
        const QString value = QString(1500, QChar(0x05D0)) + QString(1500, QLatin1Char('x'));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("LastFrom"), value);
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("LastFrom"), QString()), value.left(2047));
        QVERIFY(QString::fromUtf8(TestEnv::readFile(m_path)).contains(value));
    }

    void namesIgnoreCase()
    {
        TestEnv::writeFile(m_path, "[gEnErAl]\n  timeout = 0x3C \n");
        ProfileFile ini(m_path);
        QCOMPARE(ini.ReadInteger(QStringLiteral("General"), QStringLiteral("TimeOut"), 1), 60);
        ini.WriteInteger(QStringLiteral("GENERAL"), QStringLiteral("TIMEOUT"), 5);
        QCOMPARE(TestEnv::readFile(m_path), QByteArray("[gEnErAl]\ntimeout=5\n"));
    }

    void writeKeepsEverythingElse()
    {
        TestEnv::writeFile(m_path,
            "; kept comment\r\n"
            "[General]\r\n"
            "LastFrom=old\r\n"
            "Foreign=value\r\n"
            "\r\n"
            "# about the next section\r\n"
            "[Old Provider]\r\n"
            "UserName=someone\r\n");
        ProfileFile ini(m_path);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("LastFrom"), QStringLiteral("new"));
        ini.WriteBool(QStringLiteral("General"), QStringLiteral("UseOutlook"), true);
        ini.WriteString(QStringLiteral("Cellcom"), QStringLiteral("Password"), QStringLiteral("pw"));
        QCOMPARE(TestEnv::readFile(m_path),
            QByteArray("; kept comment\r\n"
                       "[General]\r\n"
                       "LastFrom=new\r\n"
                       "Foreign=value\r\n"
                       "UseOutlook=1\r\n"
                       "\r\n"
                       "# about the next section\r\n"
                       "[Old Provider]\r\n"
                       "UserName=someone\r\n"
                       "\r\n"
                       "[Cellcom]\r\n"
                       "Password=pw\r\n"));
    }

    void valuesReadBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("hebrew") << QStringLiteral("שלום עולם");
        QTest::newRow("equals signs") << QStringLiteral("a=b=c");
        QTest::newRow("blanks at the ends") << QStringLiteral("  pass word\t");
        QTest::newRow("double quotes") << QStringLiteral("\"secret\"");
        QTest::newRow("single quotes") << QStringLiteral("'secret'");
        QTest::newRow("two quotes") << QStringLiteral("\"\"");
        QTest::newRow("one quote") << QStringLiteral("\"");
        QTest::newRow("heading-like") << QStringLiteral("[General]");
        QTest::newRow("comment-like") << QStringLiteral("; x");
    }

    void valuesReadBackAsWritten()
    {
        QFETCH(QString, value);
        ProfileFile ini(m_path);
        ini.WriteString(QStringLiteral("Orange"), QStringLiteral("Password"), value);
        QCOMPARE(
            ini.ReadString(QStringLiteral("Orange"), QStringLiteral("Password"), QStringLiteral("default")), value);
    }

    void lineBreaksCannotAddKeys()
    {
        ProfileFile ini(m_path);
        ini.WriteString(QStringLiteral("Evil\n[General]"), QStringLiteral("UserName"),
            QStringLiteral("x\n[General]\r\nAutoStart=0"));
        QVERIFY(!ini.SectionExists(QStringLiteral("General")));
        QCOMPARE(ini.ReadString(QStringLiteral("Evil\n[General]"), QStringLiteral("UserName"), QString()),
            QStringLiteral("x [General]  AutoStart=0"));
        QVERIFY_THROWS_EXCEPTION(
            ZelkoraError, ini.WriteString(QStringLiteral("General"), QStringLiteral("A=B"), QString()));
    }

    void fileIsPrivateAndReplacedWhole()
    {
        ProfileFile ini(m_path);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("LastFrom"), QStringLiteral("me"));
        QCOMPARE(modeOf(m_path), 0600u);
        QVERIFY(chmod(QFile::encodeName(m_path).constData(), 0644) == 0);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("LastFrom"), QStringLiteral("you"));
        QCOMPARE(modeOf(m_path), 0600u);
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("SMS.INI") });
    }

    void refusedWrite_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("path");
        QTest::newRow("folder is a file") << QStringLiteral("zelkora-file") << QStringLiteral("zelkora-file/SMS.INI");
        QTest::newRow("file is a folder") << QStringLiteral("SMS.INI/") << QStringLiteral("SMS.INI");
    }

    void refusedWrite()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, path);
        if (blocker.endsWith(QLatin1Char('/')))
            QDir().mkpath(m_dir + blocker);
        else
            TestEnv::writeFile(m_dir + blocker, "not a folder");
        ProfileFile ini(m_dir + path);
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("LastFrom"), QStringLiteral("d")),
            QStringLiteral("d"));
        try {
            ini.WriteString(QStringLiteral("General"), QStringLiteral("LastFrom"), QStringLiteral("x"));
            QFAIL("the write was not refused");
        } catch (const ZelkoraError& e) {
            QCOMPARE(e.message(), QStringLiteral("Unable to write to SMS.INI"));
        }
    }

    void readsWhatAnotherProgramWrote()
    {
        ProfileFile ini(m_path);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("LastPhone"), QStringLiteral("1111111"));
        TestEnv::writeFile(m_path, "[General]\nLastPhone=2222222\n");
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("LastPhone"), QString()),
            QStringLiteral("2222222"));
    }

    void windowsCodePageFileIsRead()
    {
        TestEnv::writeFile(m_path, "[General]\r\nLastFrom=\xF9\xEC\xE5\xED\r\n");
        ProfileFile ini(m_path);
        QCOMPARE(
            ini.ReadString(QStringLiteral("General"), QStringLiteral("LastFrom"), QString()), QStringLiteral("שלום"));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("LastPhone"), QStringLiteral("1"));
        QCOMPARE(TestEnv::readFile(m_path), QStringLiteral("[General]\r\nLastFrom=שלום\r\nLastPhone=1\r\n").toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
