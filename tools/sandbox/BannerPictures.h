#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>

#include <functional>

// The sandbox's banner pictures, made when the server starts.
namespace BannerPictures {
// A GIF89a picture of width x height pixels whose pixel (x, y) is palette[pixel(x, y)]. The palette
// holds at most 4 colours. The image data is LZW with a clear code before every second pixel: larger
// than a real encoder's output, but every decoder reads it and the codes never outgrow 3 bits.
QByteArray gif(int width, int height, const QList<QRgb>& palette, const std::function<int(int x, int y)>& pixel);

// 195 x 56 pictures in the banner's own size: a.gif green, b.gif blue, c.jpg orange.
QByteArray bannerA();
QByteArray bannerB();
QByteArray bannerC();
} // namespace BannerPictures
