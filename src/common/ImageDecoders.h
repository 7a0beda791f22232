#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decoding of the skin pictures and the service's banners. JPEG goes through libjpeg and GIF through
// giflib; anything else through Qt's own readers. Every decoder returns a null image for data it cannot
// read completely (a truncated download is refused rather than shown half grey).
namespace ImageDecoders {
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
// Chooses the decoder by the picture's file extension, without regard to letter case: "gif" through the
// GIF decoder, "jpg" and "jpeg" through the JPEG decoder, any other through Qt's readers. Data the
// chosen decoder rejects gives a null image, whatever it really holds.
QImage decodeAs(const QByteArray& data, const QString& extension);

// Pictures larger than this on either side, or with more pixels than the budget, are refused from their
// header, before anything is allocated: a header of a few bytes must not make the program allocate and
// fill gigabytes. The budget is some four hundred banners' worth (a banner is 195 x 56) and well above
// the skin's largest picture.
constexpr int MaxSide = 16384;
constexpr qint64 MaxPixels = qint64(2048) * 2048;
// Whether a picture of that size may be decoded.
bool withinBudget(qint64 width, qint64 height);
} // namespace ImageDecoders
