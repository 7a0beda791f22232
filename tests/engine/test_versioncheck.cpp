#include <QProcess>
#include <QtTest>

class TestVersionCheck : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<int>("exitCode");
        const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        QTest::newRow("current browser") << dir + "zelkora-browser.so" << 0;
        QTest::newRow("old browser") << dir + "zelkora-oldbrowser.so" << 1;
        QTest::newRow("missing browser") << dir + "no-such-browser.so" << 1;
    }
    void startUp()
    {
        QFETCH(QString, library);
        QFETCH(int, exitCode);
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZELKORA_BROWSER_LIBRARY"), library);
        probe.setProcessEnvironment(env);
        probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/engine_probe"));
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), exitCode);
        const QString out = QString::fromUtf8(probe.readAllStandardOutput());
        const QString err = QString::fromUtf8(probe.readAllStandardError());
        if (exitCode == 0) {
            // Constructing the engine must not load the browser library.
            QCOMPARE(out.trimmed(), QStringLiteral("status 1 loaded 0"));
        } else {
            QVERIFY(out.isEmpty());
            QVERIFY2(err.contains(
                         QStringLiteral(" ,מגירסא 4 ומעלה Interner Explorer דרוש דפדפן\r.או שהדפדפן אינו מותקן כראוי")),
                qPrintable(err));
        }
    }
};

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "test_versioncheck.moc"
