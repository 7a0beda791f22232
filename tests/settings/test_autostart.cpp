#include "TestEnv.h"
#include "settings/AutoStart.h"
#include "settings/SmsIni.h"

#include <QtTest>

namespace {
QString autostartDir()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/");
}

QString execOf(const QString& entry)
{
    const QStringList lines = QString::fromUtf8(TestEnv::readFile(entry)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return QString();
}
} // namespace

class TestAutoStart : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TestEnv::freshConfigDir();
        TestEnv::freshDir(autostartDir());
    }

    void exitFollowsTheSetting_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("entryAfterExit");
        QTest::newRow("no settings file") << QByteArray() << true;
        QTest::newRow("on") << QByteArray("[General]\nAutoStart=1\n") << true;
        QTest::newRow("two counts as on") << QByteArray("[General]\nAutoStart=2\n") << true;
        QTest::newRow("not a number") << QByteArray("[General]\nAutoStart=abc\n") << true;
        QTest::newRow("off") << QByteArray("[General]\nAutoStart=0\n") << false;
    }

    void exitFollowsTheSetting()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, entryAfterExit);
        if (!settings.isEmpty())
            TestEnv::writeFile(SmsIni::defaultPath(), settings);
        const QString program = QStringLiteral("/opt/zelkora/zelkora");
        const QString entry = autostartDir() + QStringLiteral("zelkora.desktop");
        // An entry of an earlier install is refreshed with the current path, or removed.
        TestEnv::writeFile(entry, "[Desktop Entry]\nType=Application\nExec=/old/zelkora /quiet\n");
        QVERIFY(AutoStart::maintain(program));
        QCOMPARE(AutoStart::entryPath(program), entry);
        QCOMPARE(QFileInfo::exists(entry), entryAfterExit);
        if (entryAfterExit)
            QCOMPARE(execOf(entry), QStringLiteral("/opt/zelkora/zelkora /quiet"));
    }

    void execQuotesPaths_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("blank") << QStringLiteral("/home/u/My Apps/zelkora")
                               << QStringLiteral("\"/home/u/My Apps/zelkora\" /quiet");
        QTest::newRow("percent") << QStringLiteral("/opt/100%/zelkora") << QStringLiteral("/opt/100%%/zelkora /quiet");
        QTest::newRow("dollar and backslash")
            << QStringLiteral("/opt/a$b\\c/zelkora") << QStringLiteral("\"/opt/a\\\\$b\\\\\\\\c/zelkora\" /quiet");
    }

    void execQuotesPaths()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QVERIFY(AutoStart::writeEntry(program));
        QCOMPARE(execOf(autostartDir() + QStringLiteral("zelkora.desktop")), exec);
    }

    void failureIsReportedNotRaised()
    {
        QDir(autostartDir()).removeRecursively();
        TestEnv::writeFile(autostartDir().chopped(1), "in the way");
        QVERIFY(!AutoStart::writeEntry(QStringLiteral("/opt/zelkora/zelkora")));
        QFile::remove(autostartDir().chopped(1));
    }
};

QTEST_GUILESS_MAIN(TestAutoStart)
#include "test_autostart.moc"
