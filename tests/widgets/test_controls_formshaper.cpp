#include "widgets/FormShapeData.h"
#include "widgets/Skin.h"
#include "widgets/TFormShaper.h"

#include <QBuffer>
#include <QWidget>
#include <QtEndian>
#include <QtTest>

namespace {
QRect edges(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

QRegion ring()
{
    return QRegion(0, 0, 10, 10).subtracted(QRegion(3, 3, 4, 4));
}

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// Region data with chosen header fields, for the malformed cases.
QByteArray rawData(qint32 header, qint32 type, qint32 count, qint32 size, const QVector<QRect>& rects)
{
    QByteArray d = le32(header) + le32(type) + le32(count) + le32(size) + le32(0) + le32(0) + le32(9) + le32(9);
    for (const QRect& r : rects)
        d += le32(r.left()) + le32(r.top()) + le32(r.left() + r.width()) + le32(r.top() + r.height());
    return d;
}
} // namespace

class TestFormShaper : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QRegion>("region");
        QTest::addColumn<int>("count");
        QTest::newRow("one rectangle") << QRegion(5, 6, 20, 10) << 1;
        QTest::newRow("rows with equal spans merge") << (QRegion(0, 0, 10, 1) + QRegion(0, 1, 10, 1)) << 1;
        QTest::newRow("a hole splits its band") << ring() << 4;
        QTest::newRow("steps") << (QRegion(2, 0, 6, 1) + QRegion(0, 1, 10, 5) + QRegion(3, 6, 4, 2)) << 3;
    }

    void roundTrip()
    {
        QFETCH(QRegion, region);
        QFETCH(int, count);
        const QByteArray data = FormShapeData::regionData(region);
        QCOMPARE(data.size(), FormShapeData::HeaderSize + FormShapeData::RectangleSize * count);
        QVector<QRect> rects;
        QRect bounds;
        QVERIFY(FormShapeData::parse(data, &rects, &bounds));
        QCOMPARE(rects.size(), count);
        QCOMPARE(bounds, region.boundingRect());
        QCOMPARE(FormShapeData::toRegion(data), region);
        QCOMPARE(FormShapeData::regionData(FormShapeData::toRegion(data)), data);

        TFormShaper shaper;
        QVERIFY(shaper.setRegionData(data));
        const auto stream = shaper.shape();
        const QByteArray stored = stream->readAll();
        QCOMPARE(qFromLittleEndian<quint32>(stored.constData()), quint32(data.size()));
        TFormShaper copy;
        QVERIFY(copy.setFormShape(stored));
        QCOMPARE(copy.regionData(), data);
    }

    // The outlines the window has always carried: N, count, bounding rectangle, first rows, body, last row.
    void builtInOutline_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QRect>("row0");
        QTest::addColumn<QRect>("row1");
        QTest::addColumn<QRect>("row2");
        QTest::addColumn<QRect>("body");
        QTest::addColumn<QRect>("last");
        QTest::newRow("96") << 96 << edges(10, 7, 266, 369) << edges(28, 7, 248, 8) << edges(26, 8, 252, 9)
                            << edges(23, 9, 253, 10) << edges(10, 27, 266, 320) << edges(115, 368, 161, 369);
        QTest::newRow("120") << 120 << edges(12, 9, 327, 454) << edges(34, 9, 305, 10) << edges(32, 10, 310, 11)
                             << edges(28, 11, 311, 12) << edges(12, 33, 327, 393) << edges(141, 452, 198, 454);
    }

    void builtInOutline()
    {
        QFETCH(int, dpi);
        QFETCH(QRect, bounds);
        const QByteArray stored = Skin::formShape(dpi);
        QCOMPARE(stored.size(), 4 + 1040);
        QCOMPARE(qFromLittleEndian<quint32>(stored.constData()), 1040u);
        const QByteArray data = stored.mid(4);
        QVector<QRect> rects;
        QRect stated;
        QVERIFY(FormShapeData::parse(data, &rects, &stated));
        QCOMPARE(rects.size(), 63);
        QCOMPARE(stated, bounds);
        QTEST(rects[0], "row0");
        QTEST(rects[1], "row1");
        QTEST(rects[2], "row2");
        QTEST(rects[15], "body");
        QTEST(rects[62], "last");
        for (int i = 1; i < rects.size(); ++i)
            QCOMPARE(rects[i].top(), rects[i - 1].bottom() + 1);
        // Stored exactly as a region gives it back, so saving a loaded window keeps the bytes.
        QCOMPARE(FormShapeData::regionData(FormShapeData::toRegion(data)), data);
    }

    void otherDensitiesHaveNoOutline()
    {
        QVERIFY(Skin::formShape(72).isEmpty());
        QVERIFY(Skin::formShape(144).isEmpty());
    }

    void malformed_data()
    {
        QTest::addColumn<QByteArray>("stored");
        const QVector<QRect> one { QRect(0, 0, 9, 9) };
        const QByteArray good = rawData(32, 1, 1, 16, one);
        QTest::newRow("length prefix cut") << QByteArray("\x10\x00", 2);
        QTest::newRow("length beyond the data") << le32(good.size() + 16) + good;
        QTest::newRow("absurd length") << le32(-1) + good;
        QTest::newRow("length too small for a header") << le32(8) + good.left(8);
        QTest::newRow("header size") << FormShapeData::stored(rawData(40, 1, 1, 16, one));
        QTest::newRow("region type") << FormShapeData::stored(rawData(32, 2, 1, 16, one));
        QTest::newRow("count past the end") << FormShapeData::stored(rawData(32, 1, 5, 80, one));
        QTest::newRow("negative count") << FormShapeData::stored(rawData(32, 1, -1, 16, one));
        QTest::newRow("size disagrees") << FormShapeData::stored(rawData(32, 1, 1, 32, one));
        QTest::newRow("inverted rectangle") << FormShapeData::stored(rawData(32, 1, 1, 16, { QRect(9, 0, -5, 9) }));
        QTest::newRow("coordinate out of range")
            << FormShapeData::stored(rawData(32, 1, 1, 16, { QRect(0, 0, 2000000000, 1) }));
    }

    void malformed()
    {
        QFETCH(QByteArray, stored);
        QWidget window;
        TFormShaper shaper(&window);
        QVERIFY(shaper.setFormShape(Skin::formShape(96)));
        shaper.setActive(true);
        QVERIFY(!window.mask().isEmpty());

        QVERIFY(!shaper.setFormShape(stored));
        QVERIFY(shaper.regionData().isEmpty());
        QVERIFY(!shaper.active());
        QVERIFY(window.mask().isEmpty());
    }

    void emptyPropertyClearsTheShape()
    {
        TFormShaper shaper;
        QVERIFY(shaper.setRegionData(FormShapeData::regionData(ring())));
        QBuffer empty;
        empty.open(QIODevice::ReadOnly);
        QVERIFY(shaper.setShape(empty));
        QVERIFY(shaper.regionData().isEmpty());
        QCOMPARE(shaper.shape()->size(), 0);
    }

    void activationShapesTheTarget()
    {
        QWidget window;
        auto* child = new QWidget(&window);
        TFormShaper shaper(&window);
        shaper.setActive(true);
        QVERIFY2(!shaper.active(), "nothing to apply without outline data");

        QVERIFY(shaper.setRegionData(FormShapeData::regionData(ring())));
        shaper.setActive(true);
        QVERIFY(shaper.active());
        QCOMPARE(window.mask(), ring());

        // A new outline loaded while active is shown at once.
        const QRegion square(0, 0, 5, 5);
        QVERIFY(shaper.setRegionData(FormShapeData::regionData(square)));
        QCOMPARE(window.mask(), square);

        // Choosing a control takes the outline off the window before the control gets it.
        shaper.setControlToShape(child);
        QVERIFY(!shaper.active());
        QVERIFY(window.mask().isEmpty());
        shaper.setActive(true);
        QCOMPARE(child->mask(), square);

        delete child;
        QVERIFY(!shaper.controlToShape());
        QVERIFY(!shaper.active());
        shaper.setActive(false);
        QVERIFY(window.mask().isEmpty());
    }

    void idleShaperLeavesTheOtherOutline()
    {
        QWidget window;
        TFormShaper shaper96(&window);
        TFormShaper shaper120(&window);
        QVERIFY(shaper96.setFormShape(Skin::formShape(96)));
        QVERIFY(shaper120.setFormShape(Skin::formShape(120)));
        shaper96.setActive(true);
        shaper120.setActive(false);
        QCOMPARE(window.mask(), shaper96.region());
        QCOMPARE(window.mask().boundingRect(), edges(10, 7, 266, 369));
    }
};

QTEST_MAIN(TestFormShaper)
#include "test_controls_formshaper.moc"
