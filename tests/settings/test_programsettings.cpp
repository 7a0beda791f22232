#include "TestEnv.h"
#include "settings/ProgramSettings.h"

#include <QtTest>

class TestProgramSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnv::freshConfigDir(); }

    void language()
    {
        // Nothing stored: the desktop's language, Hebrew under LANG=C.UTF-8.
        QCOMPARE(ProgramSettings::readLanguage(), QStringLiteral("HEB"));
        ProgramSettings::writeLanguage(QStringLiteral("HEB"));
        QCOMPARE(ProgramSettings::readLanguage(), QStringLiteral("HEB"));
        QCOMPARE(TestEnv::readFile(ProgramSettings::currentUserFile()),
            QByteArray("[Software\\Halvern Systems\\Corvalent]\nLanguage=HEB\n"));
        ProgramSettings::writeLanguage(QString());
        QCOMPARE(ProgramSettings::readLanguage(), ProgramSettings::desktopLanguage());
    }

    void languageWhenTheStoreCannotBeOpened()
    {
        QDir().mkpath(ProgramSettings::currentUserFile());
        QCOMPARE(ProgramSettings::readLanguage(), QString());
        QDir().rmdir(ProgramSettings::currentUserFile());
    }

    void installationType_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no files") << QByteArray() << QByteArray() << QString();
        QTest::newRow("first folder") << QByteArray("[Software\\Halvern Systems\\Corvalent]\nType=OEM\n")
                                      << QByteArray("[Software\\Halvern Systems\\Corvalent]\nType=Retail\n")
                                      << QStringLiteral("OEM");
        QTest::newRow("key only in second")
            << QByteArray("[Other]\nType=X\n") << QByteArray("[software\\halvern systems\\corvalent]\ntype=Retail\n")
            << QStringLiteral("Retail");
        QTest::newRow("key without value")
            << QByteArray("[Software\\Halvern Systems\\Corvalent]\n")
            << QByteArray("[Software\\Halvern Systems\\Corvalent]\nType=Retail\n") << QString();
    }

    void installationType()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, expected);
        const QString base = TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/machine"));
        const QStringList dirs { base + QStringLiteral("a"), base + QStringLiteral("b") };
        const QByteArray contents[] = { first, second };
        for (int i = 0; i < 2; ++i) {
            if (!contents[i].isEmpty()) {
                QDir().mkpath(dirs[i] + QStringLiteral("/zelkora"));
                TestEnv::writeFile(dirs[i] + QStringLiteral("/zelkora/registry.ini"), contents[i]);
            }
        }
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(QStringLiteral("relative:") + dirs.join(QLatin1Char(':'))));
        QCOMPARE(ProgramSettings::readInstallationType(), expected);
        qunsetenv("XDG_CONFIG_DIRS");
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "test_programsettings.moc"
