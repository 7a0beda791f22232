#include "BannerPictures.h"

#include <QBuffer>
#include <QImage>

namespace {

class BitWriter
{
public:
    void put(unsigned code, int width)
    {
        m_acc |= code << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_out += char(m_acc & 0xff);
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_out += char(m_acc & 0xff);
        m_acc = 0;
        m_bits = 0;
        return m_out;
    }

private:
    QByteArray m_out;
    unsigned m_acc = 0;
    int m_bits = 0;
};

void putLe16(QByteArray& out, int value)
{
    out += char(value & 0xff);
    out += char((value >> 8) & 0xff);
}

constexpr int BannerWidth = 195;
constexpr int BannerHeight = 56;

// A framed panel with a band of stripes across the middle.
int bannerPixel(int x, int y)
{
    if (x < 3 || y < 3 || x >= BannerWidth - 3 || y >= BannerHeight - 3)
        return 1;
    if (y >= 20 && y < 36)
        return ((x + y) / 6) % 2 == 0 ? 2 : 3;
    return 0;
}

} // namespace

QByteArray BannerPictures::gif(
    int width, int height, const QList<QRgb>& palette, const std::function<int(int x, int y)>& pixel)
{
    constexpr int minCodeSize = 2; // palette of 4 entries
    constexpr unsigned clearCode = 1u << minCodeSize;
    constexpr unsigned endCode = clearCode + 1;
    constexpr int codeWidth = minCodeSize + 1;

    QByteArray out("GIF89a");
    putLe16(out, width);
    putLe16(out, height);
    out += char(0x80 | (1 << 4) | 1); // global colour table of 2^(1+1) entries, 2 bits of colour resolution
    out += char(0); // background colour index
    out += char(0); // pixel aspect ratio
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < palette.size() ? palette.at(i) : qRgb(0, 0, 0);
        out += char(qRed(c));
        out += char(qGreen(c));
        out += char(qBlue(c));
    }

    out += char(0x2c); // image descriptor
    putLe16(out, 0);
    putLe16(out, 0);
    putLe16(out, width);
    putLe16(out, height);
    out += char(0);
    out += char(minCodeSize);

    // After a clear code the table's next free entry is endCode + 1 = 6; the second pixel adds it and the
    // clear before the third resets it, so the table never reaches 8 entries and codes stay 3 bits wide.
    BitWriter bits;
    int run = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (run % 2 == 0)
                bits.put(clearCode, codeWidth);
            bits.put(unsigned(pixel(x, y)) & 3u, codeWidth);
            ++run;
        }
    }
    bits.put(endCode, codeWidth);
    const QByteArray data = bits.finish();

    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        out += char(block.size());
        out += block;
    }
    out += char(0); // end of the image data
    out += char(0x3b); // trailer
    return out;
}

QByteArray BannerPictures::bannerA()
{
    return gif(BannerWidth, BannerHeight,
        { qRgb(0xc8, 0xe6, 0xc9), qRgb(0x1b, 0x5e, 0x20), qRgb(0x43, 0xa0, 0x47), qRgb(0xff, 0xff, 0xff) },
        bannerPixel);
}

QByteArray BannerPictures::bannerB()
{
    return gif(BannerWidth, BannerHeight,
        { qRgb(0xbb, 0xde, 0xfb), qRgb(0x0d, 0x47, 0xa1), qRgb(0x19, 0x76, 0xd2), qRgb(0xff, 0xff, 0xff) },
        bannerPixel);
}

QByteArray BannerPictures::bannerC()
{
    QImage image(BannerWidth, BannerHeight, QImage::Format_RGB32);
    for (int y = 0; y < BannerHeight; ++y) {
        for (int x = 0; x < BannerWidth; ++x)
            image.setPixel(x, y, bannerPixel(x, y) == 1 ? qRgb(0xbf, 0x36, 0x0c) : qRgb(0xff, 0xa0 + y, 0x40 + x / 2));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}
