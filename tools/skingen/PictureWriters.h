#pragma once

#include <QImage>
#include <QString>

// JPEG at high quality with full-resolution colour (small glyphs keep their edges).
bool writeJpeg(const QImage& image, const QString& path, int quality = 95);
// GIF with a median-cut palette of 256 colours.
bool writeGif(const QImage& image, const QString& path);
bool writePng(const QImage& image, const QString& path);
