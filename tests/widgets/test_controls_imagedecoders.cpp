#include "common/ImageDecoders.h"

#include <QBuffer>
#include <QtTest>

#include <gif_lib.h>

namespace {
const QRgb Palette[4] = { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255) };

int indexAt(int x, int y)
{
    return (x + 2 * y) % 4;
}

int appendBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct GifPlan
{
    int screenWidth = 6;
    int screenHeight = 5;
    QRect frame = QRect(0, 0, 6, 5);
    int transparent = NO_TRANSPARENT_COLOR;
    bool interlace = false;
    bool localMap = false;
};

// A one-frame GIF written with giflib itself, so the decoder is checked against the library's own
// encoder rather than against bytes typed in by hand.
QByteArray makeGif(const GifPlan& plan)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    GifColorType colours[4];
    for (int i = 0; i < 4; ++i)
        colours[i] = { static_cast<GifByteType>(qRed(Palette[i])), static_cast<GifByteType>(qGreen(Palette[i])),
            static_cast<GifByteType>(qBlue(Palette[i])) };
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, plan.screenWidth, plan.screenHeight, 2, 0, plan.localMap ? nullptr : map);
    if (plan.transparent != NO_TRANSPARENT_COLOR) {
        GraphicsControlBlock gcb { 0, false, 0, plan.transparent }; // no disposal, no delay
        GifByteType block[4];
        const size_t length = EGifGCBToExtension(&gcb, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block);
    }
    const QRect f = plan.frame;
    EGifPutImageDesc(gif, f.x(), f.y(), f.width(), f.height(), plan.interlace, plan.localMap ? map : nullptr);
    QVector<int> rows;
    if (plan.interlace) {
        for (const auto& [start, step] : { qMakePair(0, 8), qMakePair(4, 8), qMakePair(2, 4), qMakePair(1, 2) })
            for (int y = start; y < f.height(); y += step)
                rows.append(y);
    } else {
        for (int y = 0; y < f.height(); ++y)
            rows.append(y);
    }
    for (const int y : rows) {
        QVector<GifPixelType> line(f.width());
        for (int x = 0; x < f.width(); ++x)
            line[x] = static_cast<GifPixelType>(indexAt(x, y));
        EGifPutLine(gif, line.data(), f.width());
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

QByteArray jpegOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

QImage quadrants()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, Palette[(x < 20 ? 0 : 1) + (y < 15 ? 0 : 2)]);
    return image;
}

// The same picture with the frame header's size replaced: the JPEG's SOF marker, the GIF's screen.
QByteArray withDeclaredSize(QByteArray bytes, int width, int height)
{
    auto put16 = [&](qsizetype at, int value, bool bigEndian) {
        bytes[at] = char(bigEndian ? value >> 8 : value & 0xFF);
        bytes[at + 1] = char(bigEndian ? value & 0xFF : value >> 8);
    };
    if (bytes.startsWith("GIF")) {
        put16(6, width, false);
        put16(8, height, false);
        return bytes;
    }
    for (qsizetype i = 2; i + 9 < bytes.size(); ++i) {
        const auto marker = static_cast<unsigned char>(bytes[i + 1]);
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            put16(i + 5, height, true);
            put16(i + 7, width, true);
            break;
        }
    }
    return bytes;
}

// The most memory this process has held so far, in KiB.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 && qAbs(qBlue(a) - qBlue(b)) < 24;
}
} // namespace

class TestImageDecoders : public QObject
{
    Q_OBJECT

private slots:
    void jpeg()
    {
        const QByteArray bytes = jpegOf(quadrants());
        for (const QImage& image : { ImageDecoders::decodeJpeg(bytes), ImageDecoders::decode(bytes) }) {
            QCOMPARE(image.size(), QSize(40, 30));
            QVERIFY(near(image.pixel(8, 6), Palette[0]));
            QVERIFY(near(image.pixel(32, 6), Palette[1]));
            QVERIFY(near(image.pixel(8, 24), Palette[2]));
            QVERIFY(near(image.pixel(32, 24), Palette[3]));
        }
    }

    void jpegGreyscale()
    {
        QImage grey(16, 8, QImage::Format_Grayscale8);
        grey.fill(128);
        const QImage image = ImageDecoders::decodeJpeg(jpegOf(grey));
        QCOMPARE(image.size(), QSize(16, 8));
        QVERIFY(near(image.pixel(5, 5), qRgb(128, 128, 128)));
    }

    void gif_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("plain") << 0;
        QTest::newRow("transparent colour") << 1;
        QTest::newRow("interlaced") << 2;
        QTest::newRow("frame inside the screen") << 3;
        QTest::newRow("local colour map") << 4;
    }

    void gif()
    {
        QFETCH(int, kind);
        GifPlan s;
        if (kind == 1)
            s.transparent = 3;
        if (kind == 2)
            s.frame = QRect(0, 0, 6, 11), s.screenHeight = 11, s.interlace = true;
        if (kind == 3)
            s.frame = QRect(2, 1, 3, 3);
        if (kind == 4)
            s.localMap = true;

        const QByteArray bytes = makeGif(s);
        const QImage image = ImageDecoders::decode(bytes);
        QCOMPARE(image.size(), QSize(s.screenWidth, s.screenHeight));
        QCOMPARE(image.hasAlphaChannel(), s.transparent != NO_TRANSPARENT_COLOR || s.frame.size() != image.size());
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QPoint inFrame = QPoint(x, y) - s.frame.topLeft();
                const bool covered = s.frame.contains(x, y);
                const int index = covered ? indexAt(inFrame.x(), inFrame.y()) : -1;
                const bool clear = !covered || index == s.transparent;
                QCOMPARE(qAlpha(image.pixel(x, y)), clear ? 0 : 255);
                if (!clear)
                    QCOMPARE(image.pixel(x, y), Palette[index]);
            }
        }
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray jpeg = jpegOf(quadrants());
        GifPlan big;
        big.frame = QRect(0, 0, 20, 20), big.screenWidth = big.screenHeight = 20;
        const QByteArray gif = makeGif(big);
        GifPlan huge;
        huge.screenWidth = 60000;
        QTest::newRow("jpeg header only") << jpeg.left(20);
        QTest::newRow("jpeg cut in half") << jpeg.left(jpeg.size() / 2);
        QTest::newRow("jpeg without its end") << jpeg.left(jpeg.size() - 2);
        QTest::newRow("gif signature only") << gif.left(6);
        QTest::newRow("gif cut in the picture") << gif.left(gif.size() - 8);
        QTest::newRow("gif screen too large") << makeGif(huge);
        QTest::newRow("jpeg over the pixel budget, each side allowed") << withDeclaredSize(jpeg, 4000, 4000);
        QTest::newRow("gif over the pixel budget, each side allowed") << withDeclaredSize(gif, 4000, 4000);
        QTest::newRow("not a picture") << QByteArray("GIF89a but then nothing sensible at all");
        QTest::newRow("empty") << QByteArray();
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(ImageDecoders::decode(bytes).isNull());
    }

    // A header of a few bytes that declares 16384 x 16384 pixels is refused from the header at once, before
    // a gigabyte is allocated and filled.
    void hugeDeclaredPictureCostsNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        GifPlan tiny;
        tiny.screenWidth = tiny.screenHeight = 1;
        tiny.frame = QRect(0, 0, 1, 1);
        QTest::newRow("gif") << withDeclaredSize(makeGif(tiny), 16384, 16384);
        QTest::newRow("jpeg") << withDeclaredSize(jpegOf(quadrants()), 16384, 16384);
        QImage png(1, 1, QImage::Format_RGB32);
        QByteArray pngBytes;
        QBuffer buffer(&pngBytes);
        buffer.open(QIODevice::WriteOnly);
        png.save(&buffer, "PNG");
        // PNG's header: width and height, big-endian 32-bit, at 16 and 20 (the chunk's checksum is left
        // wrong, which Qt's reader only notices once it reads the picture).
        pngBytes[18] = char(0x40), pngBytes[22] = char(0x40);
        QTest::newRow("png, through Qt") << pngBytes;
    }
    void hugeDeclaredPictureCostsNothing()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(bytes.size() < 1024);
        const long before = peakKb();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(ImageDecoders::decode(bytes).isNull());
        QVERIFY2(timer.elapsed() < 10, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(peakKb() - before < 16L * 1024, qPrintable(QString::number(peakKb() - before)));
    }

    void budgetAllowsTheSkinAndBanners_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("banner") << 195 << 56 << true;
        QTest::newRow("main window picture") << 287 << 446 << true;
        QTest::newRow("at the budget") << 2048 << 2048 << true;
        QTest::newRow("one row over") << 2048 << 2049 << false;
        QTest::newRow("long and thin") << 16384 << 256 << true;
        QTest::newRow("side too long") << 16385 << 1 << false;
        QTest::newRow("empty") << 0 << 10 << false;
    }
    void budgetAllowsTheSkinAndBanners()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, allowed);
        QCOMPARE(ImageDecoders::withinBudget(width, height), allowed);
    }

    void otherTypesGoToQt()
    {
        QImage png(3, 2, QImage::Format_ARGB32);
        png.fill(qRgba(1, 2, 3, 200));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        png.save(&buffer, "PNG");
        const QImage image = ImageDecoders::decode(bytes);
        QCOMPARE(image.size(), QSize(3, 2));
        QCOMPARE(qAlpha(image.pixel(1, 1)), 200);
    }
};

QTEST_GUILESS_MAIN(TestImageDecoders)
#include "test_controls_imagedecoders.moc"
