// Where the programs find their browser library, language modules and help file, and where they keep the
// user's data: a probe that looks them up as the programs do, copied into made-up layouts.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The install's folders below a root, as the build's install folders place them for a program in usr/bin.
QString installed(const char* fromBin)
{
    return QDir::cleanPath(QStringLiteral("usr/bin/") + QLatin1String(fromBin));
}
const QString Library = installed(ZELKORA_LIBRARY_DIR_FROM_BINDIR);
const QString Data = installed(ZELKORA_DATA_DIR_FROM_BINDIR);
} // namespace

class TestInstallLookup : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("appDir"); // "program": beside the program; "data": $XDG_DATA_HOME/zelkora
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<QString>("moduleBase");
        QTest::addColumn<QString>("library"); // empty: none found

        const QString lib = Library + QStringLiteral("/zelkora-browser.so");
        QTest::newRow("build tree: everything beside the program")
            << "build/bin"
            << QStringList { "build/bin/zelkora.ENU", "build/bin/zelkora.HEB", "build/bin/Zelkora_heb.HLP",
                   "build/bin/zelkora-browser.so" }
            << "program"
            << "build/bin/Zelkora_heb.HLP"
            << "build/bin/zelkora"
            << "build/bin/zelkora-browser.so";
        QTest::newRow("installed under usr")
            << "usr/bin" << QStringList { Data + "/zelkora.ENU", Data + "/zelkora.HEB", Data + "/Zelkora_heb.HLP", lib }
            << "data" << Data + "/Zelkora_heb.HLP" << Data + "/zelkora" << lib;
        QTest::newRow("installed, library in lib/zelkora")
            << "usr/bin" << QStringList { Data + "/zelkora.ENU", "usr/lib/zelkora/zelkora-browser.so" } << "data"
            << "usr/bin/Zelkora_heb.HLP" << Data + "/zelkora"
            << "usr/lib/zelkora/zelkora-browser.so";
        QTest::newRow("files beside the program come first")
            << "usr/bin"
            << QStringList { "usr/bin/zelkora.ENU", "usr/bin/Zelkora_heb.HLP", "usr/bin/zelkora-browser.so",
                   Data + "/zelkora.ENU", Data + "/Zelkora_heb.HLP", lib }
            << "data"
            << "usr/bin/Zelkora_heb.HLP"
            << "usr/bin/zelkora"
            << "usr/bin/zelkora-browser.so";
        QTest::newRow("each file where it is")
            << "usr/bin" << QStringList { "usr/bin/Zelkora_heb.HLP", Data + "/zelkora.HEB", lib } << "data"
            << "usr/bin/Zelkora_heb.HLP" << Data + "/zelkora" << lib;
        QTest::newRow("module names in another letter case")
            << "usr/bin" << QStringList { Data + "/ZELKORA.enu" } << "data"
            << "usr/bin/Zelkora_heb.HLP" << Data + "/zelkora"
            << "";
        QTest::newRow("another program's modules are not ours")
            << "usr/bin" << QStringList { Data + "/other.ENU", Data + "/zelkora." } << "data"
            << "usr/bin/Zelkora_heb.HLP"
            << "usr/bin/zelkora"
            << "";
        QTest::newRow("nothing anywhere") << "opt/zelkora" << QStringList {} << "program"
                                          << "opt/zelkora/Zelkora_heb.HLP"
                                          << "opt/zelkora/zelkora"
                                          << "";
    }
    void lookup()
    {
        QFETCH(QString, programFolder);
        QFETCH(QStringList, files);
        QFETCH(QString, appDir);
        QFETCH(QString, helpFile);
        QFETCH(QString, moduleBase);
        QFETCH(QString, library);

        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString root = QFileInfo(scratch.path()).canonicalFilePath() + QLatin1Char('/');
        for (const QString& file : files) {
            QVERIFY(QDir().mkpath(QFileInfo(root + file).absolutePath()));
            QFile out(root + file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("x");
        }
        QVERIFY(QDir().mkpath(root + programFolder));
        const QString program = root + programFolder + QStringLiteral("/zelkora");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/install_probe"), program));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("ZELKORA_APPDIR"));
        env.remove(QStringLiteral("ZELKORA_BROWSER_LIBRARY"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("xdg-data"));
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(program, QStringList());
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitCode(), 0);
        QMap<QString, QString> found;
        const QStringList lines = QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const int equals = line.indexOf(QLatin1Char('='));
            if (equals > 0)
                found.insert(line.left(equals), line.mid(equals + 1));
        }

        QCOMPARE(found.value(QStringLiteral("appDir")),
            appDir == QLatin1String("program") ? root + programFolder + QLatin1Char('/')
                                               : root + QStringLiteral("xdg-data/zelkora/"));
        QCOMPARE(found.value(QStringLiteral("helpFile")), root + helpFile);
        QCOMPARE(found.value(QStringLiteral("moduleBase")), root + moduleBase);
        QCOMPARE(found.value(QStringLiteral("library")), library.isEmpty() ? QString() : root + library);
    }
};

QTEST_GUILESS_MAIN(TestInstallLookup)
#include "test_installlookup.moc"
