#pragma once

#include <QByteArray>
#include <QRect>
#include <QRegion>
#include <QVector>

class QIODevice;

// A window outline as the window description stores it (the FormShape property):
//
//   4 bytes   N, unsigned little-endian: the length of the region data that follows
//   N bytes   region data: header size (32), type (1 = rectangles), rectangle count C, size of the
//             rectangle part (16 x C), bounding rectangle (left, top, right, bottom), then the C
//             rectangles (left, top, right, bottom); every field a little-endian 32-bit integer.
//
// Rectangles are in window coordinates with exclusive right and bottom edges, in bands from top to
// bottom, and a band equal to the one above it is merged into it. QRegion keeps its rectangles the same
// way, so a region converted to data and back gives the same bytes.
struct FormShapeData
{
    static constexpr int HeaderSize = 32;
    static constexpr int RectangleSize = 16;
    // A length prefix above this is taken for damage rather than allocated.
    static constexpr quint32 MaxDataSize = 16u * 1024 * 1024;
    // Coordinates beyond this are refused; no screen is that large and QRegion's arithmetic stays safe.
    static constexpr int MaxCoordinate = 1000000;

    // The region data (without the length prefix) describing `rects` in the given order.
    static QByteArray regionData(const QVector<QRect>& rects);
    // The region data of a region; empty for an empty region.
    static QByteArray regionData(const QRegion& region);
    // Checks region data and returns its rectangles and bounding rectangle; false for anything that is
    // not well-formed (wrong header, counts that disagree with the length, inverted rectangles).
    static bool parse(const QByteArray& data, QVector<QRect>* rects, QRect* bounds = nullptr);
    // The region covered by well-formed region data; an empty region otherwise.
    static QRegion toRegion(const QByteArray& data);

    // The stored form: the length prefix followed by the data; nothing at all for empty data.
    static QByteArray stored(const QByteArray& data);
    // Writes the stored form to a stream.
    static bool write(QIODevice& stream, const QByteArray& data);
    // Reads one stored form from a stream. An exhausted stream gives true with empty data (an empty
    // property); a short or malformed one gives false.
    static bool read(QIODevice& stream, QByteArray* data);

    // The region in device pixels on a screen of `ratio` device pixels per window pixel: each rectangle is
    // scaled and rounded the way Qt scales a window's mask, so a picture cut with it matches the outline
    // the window system applies.
    static QRegion scaled(const QRegion& region, qreal ratio);
};
