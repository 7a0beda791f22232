// The main window's smaller parts: the banner table file, the covered-rectangle test, the program's
// arguments and the online test's local service rule.

#include "TestEnv.h"

#include "app/ProgramEntry.h"
#include "app/WindowStacking.h"
#include "service/TCacheTable.h"
#include "session/OnlineCheck.h"

#include <QtTest>

Q_DECLARE_METATYPE(QVector<QRect>)

class TestAppParts : public QObject
{
    Q_OBJECT

private slots:
    void bannerTableLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("homeUrl");
        QTest::addColumn<quint32>("interval");
        QTest::addColumn<quint32>("hits");
        QTest::newRow("whole") << QByteArray("A,gif,http://h/a.gif,http://h/,15000, 3 ") << "A"
                               << "gif"
                               << "http://h/" << 15000u << 3u;
        QTest::newRow("one comma") << QByteArray("A,gif") << "A"
                                   << ""
                                   << "" << 10000u << 0u;
        QTest::newRow("no interval") << QByteArray("B,jpg,u,h,x,2") << "B"
                                     << "jpg"
                                     << "h" << 10000u << 2u;
        QTest::newRow("hits cut short") << QByteArray("C,jpg,u,h,500") << "C"
                                        << "jpg"
                                        << "h" << 10000u << 500u;
        QTest::newRow("hebrew") << QByteArray("\xf9\xec\xe5\xed,gif,u,h,1,0") << "שלום"
                                << "gif"
                                << "h" << 1u << 0u;
    }

    void bannerTableLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, homeUrl);
        QFETCH(quint32, interval);
        QFETCH(quint32, hits);
        const QString file = TestEnv::freshAppDir() + QStringLiteral("adcache.dat");
        // A line without any comma names no banner and is dropped.
        TestEnv::writeFile(file, "no comma\r\n" + line + "\r\n");
        TCacheTable table;
        table.Append(TCacheEntry { QStringLiteral("old"), {}, {}, {}, 1, 1 });
        table.LoadFromFile(file);
        QCOMPARE(table.Count(), 1);
        QCOMPARE(table[0].Name, name);
        QCOMPARE(table[0].BannerType, type);
        QCOMPARE(table[0].HomeURL, homeUrl);
        QCOMPARE(table[0].Interval, interval);
        QCOMPARE(table[0].Hits, hits);
    }

    void bannerTableRoundTripAndEmptyTable()
    {
        const QString file = TestEnv::freshAppDir() + QStringLiteral("adcache.dat");
        TCacheTable table;
        table.Append(TCacheEntry { QStringLiteral("שלום"), QStringLiteral("gif"), QStringLiteral("http://h/a.gif"),
            QStringLiteral("http://h/"), 15000, 3 });
        table.Append(TCacheEntry {
            QStringLiteral("B"), QStringLiteral("jpg"), QStringLiteral("http://h/b.jpg"), QString(), 4000, 0 });
        table.SaveToFile(file);
        QCOMPARE(TestEnv::readFile(file),
            QByteArray("\xf9\xec\xe5\xed,gif,http://h/a.gif,http://h/,15000,3\r\nB,jpg,http://h/b.jpg,,4000,0\r\n"));
        TCacheTable loaded;
        loaded.LoadFromFile(file);
        QCOMPARE(loaded.entries(), table.entries());
        // An empty table leaves the file as it was.
        TCacheTable().SaveToFile(file);
        QCOMPARE(loaded.Count(), 2);
        loaded.LoadFromFile(file);
        QCOMPARE(loaded.Count(), 2);
    }

    void rectCoveredByWindowsAbove_data()
    {
        QTest::addColumn<QVector<QRect>>("above");
        QTest::addColumn<bool>("covered");
        const QRect target(100, 100, 50, 40);
        QTest::newRow("nothing above") << QVector<QRect>() << false;
        QTest::newRow("one larger") << QVector<QRect> { QRect(0, 0, 500, 500) } << true;
        QTest::newRow("exactly") << QVector<QRect> { target } << true;
        QTest::newRow("one pixel short") << QVector<QRect> { target.adjusted(0, 0, -1, 0) } << false;
        QTest::newRow("two halves") << QVector<QRect> { QRect(90, 90, 35, 60), QRect(125, 80, 40, 80) } << true;
        QTest::newRow("two with a gap") << QVector<QRect> { QRect(90, 90, 35, 60), QRect(126, 80, 40, 80) } << false;
        QTest::newRow("elsewhere") << QVector<QRect> { QRect(0, 0, 99, 99), QRect(151, 0, 10, 300) } << false;
    }

    void rectCoveredByWindowsAbove()
    {
        QFETCH(QVector<QRect>, above);
        QFETCH(bool, covered);
        QCOMPARE(WindowStacking::isRectCovered(QRect(100, 100, 50, 40), above), covered);
    }

    void programArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<QString>("serviceUrl");
        QTest::addColumn<bool>("teach");
        QTest::newRow("none") << QStringList() << false << "" << false;
        QTest::newRow("/quiet") << QStringList { "/quiet" } << true << "" << false;
        QTest::newRow("capitals") << QStringList { "/Quiet" } << false << "" << false;
        QTest::newRow("not first") << QStringList { "-x", "/quiet" } << false << "" << false;
        QTest::newRow("option first") << QStringList { "--service-url", "http://s:1", "/quiet" } << true << "http://s:1"
                                      << false;
        QTest::newRow("option joined") << QStringList { "/quiet", "--service-url=http://s:2" } << true << "http://s:2"
                                       << false;
        // The teach window opens over a main window that stays in the tray.
        QTest::newRow("teach") << QStringList { "--teach" } << true << "" << true;
        QTest::newRow("teach after an option")
            << QStringList { "--service-url=http://s:3", "-x", "--teach" } << true << "http://s:3" << true;
    }

    void programArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, quiet);
        QFETCH(QString, serviceUrl);
        QFETCH(bool, teach);
        const ProgramEntry::Arguments parsed = ProgramEntry::parse(arguments);
        QCOMPARE(parsed.quiet, quiet);
        QCOMPARE(parsed.serviceUrl, serviceUrl);
        QCOMPARE(parsed.teach, teach);
    }

    void localServiceCountsAsReachable_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("local");
        QTest::newRow("loopback") << "http://127.0.0.1:8710" << true;
        QTest::newRow("other loopback") << "http://127.3.0.1" << true;
        QTest::newRow("localhost") << "http://LocalHost:80/x" << true;
        QTest::newRow("ipv6 loopback") << "http://[::1]:80" << true;
        QTest::newRow("a host") << "http://zelkora.example" << false;
        QTest::newRow("an address") << "http://10.0.0.1" << false;
    }

    void localServiceCountsAsReachable()
    {
        QFETCH(QString, url);
        QFETCH(bool, local);
        QCOMPARE(OnlineCheck::serviceIsLocal(url), local);
    }
};

QTEST_MAIN(TestAppParts)
#include "test_appparts.moc"
