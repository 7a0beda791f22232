#include "widgets/FormShapeData.h"
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
    // Every picture decodes through the skin's own decoders, at the size of its place in the layout, and
    // for each density it is drawn for at that many times the size.
    void pictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("tray") << "tray-2.png" << SkinLayout::TrayImage;
        QTest::newRow("tray, dense") << "tray-0@2x.png" << SkinLayout::TrayImage * 2;
        QList<QPair<QString, QRect>> places { { "background.jpg", SkinLayout::DevicePicture },
            { "banner.gif", QRect(QPoint(), SkinLayout::BannerImage.size()) }, { "logo.gif", QRect(0, 0, 195, 56) } };
        const QPair<QString, QRect> cut[] = { { "send", SkinLayout::SendButton }, { "area", SkinLayout::AreaMenuButton },
            { "close", SkinLayout::CloseButton }, { "menu", SkinLayout::MenuButton },
            { "phonebook", SkinLayout::PhoneBookButton } };
        for (const auto& [role, rect] : cut)
            for (const char* state : { "leave", "enter", "disabled" })
                places.append({ role + "-" + state + ".jpg", rect });
        for (const char* colour : { "red", "yellow", "green" })
            places.append({ QStringLiteral("led-%1.jpg").arg(colour), SkinLayout::ConnectionLamp });
        for (const auto& [file, place] : std::as_const(places)) {
            for (const qreal scale : { 1.0, 1.5, 2.0 }) {
                const QString name = Skin::fileNameFor(file, scale);
                QTest::addRow("%s", qPrintable(name)) << name << place.size() * scale;
            }
        }
    }

    void pictures()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const QImage picture = Skin::image(file);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), size);
    }

    // A screen's ratio picks the pictures drawn nearest to it, which cover the same window pixels as the
    // ordinary ones.
    void picturesForTheScreen_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("100%") << 1.0 << 1.0;
        QTest::newRow("120%") << 1.2 << 1.0;
        QTest::newRow("125%") << 1.25 << 1.5;
        QTest::newRow("150%") << 1.5 << 1.5;
        QTest::newRow("175%") << 1.75 << 2.0;
        QTest::newRow("200%") << 2.0 << 2.0;
        QTest::newRow("300%") << 3.0 << 2.0;
    }

    void picturesForTheScreen()
    {
        QFETCH(qreal, ratio);
        QFETCH(qreal, scale);
        const QPixmap background = Skin::background(ratio);
        QCOMPARE(background.devicePixelRatio(), scale);
        QCOMPARE(background.deviceIndependentSize().toSize(), SkinLayout::DevicePicture.size());
        TImgButton send;
        send.setObjectName(QStringLiteral("sendButton"));
        QVERIFY(Skin::dressButton(&send, ratio));
        QCOMPARE(send.mEnterPicture().devicePixelRatio(), scale);
        QCOMPARE(send.sizeHint(), SkinLayout::SendButton.size());
    }

    // Cut to the outline, a picture is opaque exactly on the device pixels the outline covers at its
    // density, and every window pixel inside the outline covers ratio x ratio device pixels.
    void cutToTheOutline_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }

    void cutToTheOutline()
    {
        QFETCH(qreal, ratio);
        const QRegion outline = FormShapeData::toRegion(Skin::formShape(96).mid(4));
        QVERIFY(!outline.isEmpty());
        const QImage cut = Skin::cutOut(Skin::background(ratio), outline).toImage();
        QCOMPARE(cut.devicePixelRatio(), ratio);
        const QRegion covered = FormShapeData::scaled(outline, ratio);
        qint64 opaque = 0;
        QList<QPoint> wrong;
        for (int y = 0; y < cut.height(); ++y) {
            for (int x = 0; x < cut.width(); ++x) {
                const int alpha = qAlpha(cut.pixel(x, y));
                if (alpha != (covered.contains(QPoint(x, y)) ? 255 : 0))
                    wrong.append(QPoint(x, y));
                opaque += alpha ? 1 : 0;
            }
        }
        QCOMPARE(wrong, QList<QPoint>());
        qint64 area = 0;
        for (const QRect& rect : outline)
            area += qint64(rect.width()) * rect.height();
        QVERIFY2(qAbs(opaque - area * ratio * ratio) <= area * ratio * ratio / 100,
            qPrintable(QStringLiteral("%1 device pixels for %2").arg(opaque).arg(area)));
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
        send.setObjectName(QStringLiteral("sendButton"));
        QVERIFY(Skin::dressButton(&send));
        QCOMPARE(send.mLeavePicture().size(), SkinLayout::SendButton.size());
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
