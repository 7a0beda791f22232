#include "widgets/Skin.h"
#include "widgets/TTrayIcon.h"

#include <QMenu>
#include <QSignalSpy>
#include <QStyleHints>
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
        constexpr int max = TTrayIcon::MaxTipLength;
        const QString hebrew = QString(max + 7, QChar(0x05D0));
        QTest::newRow("short") << "Zelkora"
                               << "Zelkora";
        QTest::newRow("the next send's whole time")
            << "Zelkora\nהגדרות מהשירות\nשליחה הבאה: 08/12/2026 07:25, אל דנה כהן"
            << "Zelkora\nהגדרות מהשירות\nשליחה הבאה: 08/12/2026 07:25, אל דנה כהן";
        QTest::newRow("the limit fits") << QString(max, QLatin1Char('a')) << QString(max, QLatin1Char('a'));
        QTest::newRow("one more is cut") << QString(max + 1, QLatin1Char('b')) << QString(max, QLatin1Char('b'));
        QTest::newRow("Hebrew cut") << hebrew << hebrew.left(max);
        // A character outside the basic plane that would be split at the limit is left out whole.
        const QString emoji = QString(max - 1, QLatin1Char('c')) + QString::fromUtf8("\xF0\x9F\x98\x80") + "d";
        QTest::newRow("pair at the limit") << emoji << QString(max - 1, QLatin1Char('c'));
        QTest::newRow("empty") << ""
                               << "";
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

    // What the desktops send for one gesture, and how often the icon counts as activated: once for a single
    // activation (Plasma, AppIndicator), once for a double click with or without the single click before it
    // (XEmbed trays send both), never for the context click or the middle button.
    void activations_data()
    {
        using R = QSystemTrayIcon::ActivationReason;
        QTest::addColumn<QList<int>>("reasons"); // -1: a pause longer than a double click
        QTest::addColumn<int>("activations");
        QTest::newRow("single activation") << QList<int> { R::Trigger } << 1;
        QTest::newRow("double click after its single click") << QList<int> { R::Trigger, R::DoubleClick } << 1;
        QTest::newRow("double click alone") << QList<int> { R::DoubleClick } << 1;
        QTest::newRow("two single activations") << QList<int> { R::Trigger, -1, R::Trigger } << 2;
        QTest::newRow("two double clicks")
            << QList<int> { R::Trigger, R::DoubleClick, -1, R::Trigger, R::DoubleClick } << 2;
        QTest::newRow("double click long after a click") << QList<int> { R::Trigger, -1, R::DoubleClick } << 2;
        QTest::newRow("context and middle") << QList<int> { R::Context, R::MiddleClick } << 0;
    }
    void activations()
    {
        QFETCH(QList<int>, reasons);
        QFETCH(int, activations);
        TTrayIcon tray;
        QMenu menu;
        tray.setTrayMenu(&menu);
        QCOMPARE(tray.systemTrayIcon()->contextMenu(), &menu);
        QSignalSpy activated(&tray, &TTrayIcon::OnDblClick);
        for (const int reason : reasons) {
            if (reason < 0)
                QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
            else
                emit tray.systemTrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        }
        QCOMPARE(activated.count(), activations);
    }
};

QTEST_MAIN(TestTrayIcon)
#include "test_controls_trayicon.moc"
