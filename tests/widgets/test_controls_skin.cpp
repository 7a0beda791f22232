#include "widgets/Skin.h"
#include "widgets/SkinLayout.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"

#include <QtTest>

#include <thread>

class TestSkin : public QObject
{
    Q_OBJECT

private slots:
    // Every picture decodes through the skin's own decoders, at the size of its place in the layout.
    void pictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QRect>("place");
        QTest::newRow("background") << "background.jpg" << SkinLayout::Image1;
        QTest::newRow("banner") << "banner.gif" << QRect(QPoint(), SkinLayout::Image2.size());
        QTest::newRow("logo") << "logo.gif" << QRect(0, 0, 195, 56);
        QTest::newRow("tray") << "tray-2.png" << QRect(QPoint(), SkinLayout::TrayImage);
        QTest::newRow("tray, dense") << "tray-0@2x.png" << QRect(QPoint(), SkinLayout::TrayImage * 2);
        const QPair<QString, QRect> cut[] = { { "send", SkinLayout::Button1 }, { "area", SkinLayout::ImgButton2 },
            { "close", SkinLayout::ImgButton4 }, { "menu", SkinLayout::ImgButton5 },
            { "phonebook", SkinLayout::SpeedButton1 } };
        for (const auto& [role, rect] : cut)
            for (const char* state : { "leave", "enter", "disabled" })
                QTest::addRow("%s-%s", qPrintable(role), state) << role + "-" + state + ".jpg" << rect;
        for (const char* colour : { "red", "yellow", "green" })
            QTest::addRow("led-%s", colour) << QStringLiteral("led-%1.jpg").arg(colour) << SkinLayout::Led;
    }

    void pictures()
    {
        QFETCH(QString, file);
        QFETCH(QRect, place);
        const QImage picture = Skin::image(file);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), place.size());
    }

    // The pictures decoded ahead on another thread while the program starts are the very pictures the
    // window would decode itself, every one of them, and asking again still gives the picture.
    void decodedAheadOnAnotherThread()
    {
        const QStringList names = Skin::mainWindowPictures();
        QVERIFY(names.contains(QStringLiteral("background.jpg")));
        QList<QImage> onDemand;
        for (const QString& name : names)
            onDemand << Skin::image(name);

        std::thread ahead([&names] { Skin::decodeAhead(names); });
        ahead.join();
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY2(!onDemand[i].isNull(), qPrintable(names[i]));
            QCOMPARE(Skin::image(names[i]), onDemand[i]);
            QCOMPARE(Skin::image(names[i]), onDemand[i]);
        }
    }

    void dressing()
    {
        TImgButton send;
        send.setObjectName(QStringLiteral("Button1"));
        QVERIFY(Skin::dressButton(&send));
        QCOMPARE(send.mLeavePicture().size(), SkinLayout::Button1.size());
        QVERIFY(!send.mEnterPicture().isNull());
        QVERIFY(!send.mDisabledPicture().isNull());
        TImgButton stranger;
        stranger.setObjectName(QStringLiteral("Button7"));
        QVERIFY(!Skin::dressButton(&stranger));

        TImgLed led;
        Skin::dressLed(&led);
        QVERIFY(!led.imgRed().isNull() && !led.imgYellow().isNull() && !led.imgGreen().isNull());
        QVERIFY(led.imgRed().toImage() != led.imgGreen().toImage());

        QVERIFY(!Skin::trayImage(2).isNull());
        QVERIFY(Skin::trayImage(3).isNull());
    }
};

QTEST_MAIN(TestSkin)
#include "test_controls_skin.moc"
