#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decoding of the skin pictures and the service's banners. JPEG goes through libjpeg and GIF through
// giflib; anything else through Qt's own readers. Every decoder returns a null image for data it cannot
// read completely (a truncated download is refused rather than shown half grey).
namespace ImageDecoders
{
    // Baseline and progressive JPEG; greyscale, RGB and CMYK (Adobe's inverted form) become RGB32.
    QImage decodeJpeg(const QByteArray& data);
    // The first frame of a GIF, placed on the file's logical screen. The frame's transparent colour and
    // the screen outside the frame are transparent (ARGB32); a frame without either gives RGB32.
    QImage decodeGif(const QByteArray& data);
    // Chooses the decoder by the data's first bytes: FF D8 FF is JPEG, "GIF87a" / "GIF89a" is GIF, and
    // everything else goes to QImage::fromData.
    QImage decode(const QByteArray& data);
    // Reads a file (a resource path such as ":/skin/..." included) and decodes it; null when it cannot
    // be read.
    QImage decodeFile(const QString& path);

    // Pictures larger than this on either side are refused, so that a hostile header cannot make the
    // program allocate gigabytes.
    constexpr int MaxSide = 16384;
} // namespace ImageDecoders
