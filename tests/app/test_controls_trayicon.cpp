#include "app/controls/Skin.h"
#include "app/controls/TTrayIcon.h"

#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QtTest>

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void tip_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("tip");
        const QString hebrew = QString(70, QChar(0x05D0));
        QTest::newRow("short") << "Zelkora" << "Zelkora";
        QTest::newRow("63 fit") << QString(63, QLatin1Char('a')) << QString(63, QLatin1Char('a'));
        QTest::newRow("64 cut to 63") << QString(64, QLatin1Char('b')) << QString(63, QLatin1Char('b'));
        QTest::newRow("Hebrew cut to 63") << hebrew << hebrew.left(63);
        // A character outside the basic plane that would be split at the limit is left out whole.
        const QString emoji = QString(62, QLatin1Char('c')) + QString::fromUtf8("\xF0\x9F\x98\x80") + "d";
        QTest::newRow("pair at the limit") << emoji << QString(62, QLatin1Char('c'));
        QTest::newRow("empty") << "" << "";
    }

    void tip()
    {
        QFETCH(QString, hint);
        TTrayIcon tray;
        tray.setHint(hint);
        QTEST(tray.tip(), "tip");
        tray.setIcon(Skin::trayImage(0));
        tray.UpdateIcon();
        QTEST(tray.systemTrayIcon()->toolTip(), "tip");
    }

    void iconLifecycle()
    {
        TTrayIcon tray;
        tray.UpdateIcon();
        QVERIFY2(!tray.isShown(), "nothing is shown without an icon");

        tray.setIcon(Skin::trayImage(1));
        tray.UpdateIcon();
        QVERIFY(tray.isShown());
        QVERIFY(!tray.systemTrayIcon()->icon().isNull());
        tray.RemoveIcon();
        QVERIFY(!tray.isShown());
        tray.AddIcon();
        QVERIFY(tray.isShown());
    }

    void clicks()
    {
        TTrayIcon tray;
        QMenu menu;
        tray.setTrayMenu(&menu);
        QCOMPARE(tray.systemTrayIcon()->contextMenu(), &menu);
        QSignalSpy doubleClicks(&tray, &TTrayIcon::OnDblClick);
        emit tray.systemTrayIcon()->activated(QSystemTrayIcon::Context);
        emit tray.systemTrayIcon()->activated(QSystemTrayIcon::Trigger);
        QCOMPARE(doubleClicks.count(), 0);
        emit tray.systemTrayIcon()->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(doubleClicks.count(), 1);
    }
};

QTEST_MAIN(TestTrayIcon)
#include "test_controls_trayicon.moc"
