#include "FormShapeData.h"

#include <QIODevice>
#include <QtEndian>

namespace {
void putInt(QByteArray& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    out.append(bytes, 4);
}

// Callers have checked the length; QByteArrayView keeps the reads tied to it.
qint32 intAt(QByteArrayView data, qsizetype offset)
{
    const QByteArrayView bytes = data.sliced(offset, 4);
    quint32 value = 0;
    for (qsizetype i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes[i]);
    return static_cast<qint32>(value);
}

void putRect(QByteArray& out, const QRect& r)
{
    // QRect's right() and bottom() are inclusive; the stored edges are not.
    putInt(out, r.left());
    putInt(out, r.top());
    putInt(out, r.left() + r.width());
    putInt(out, r.top() + r.height());
}

bool inRange(qint32 v)
{
    return v >= -FormShapeData::MaxCoordinate && v <= FormShapeData::MaxCoordinate;
}
} // namespace

QByteArray FormShapeData::regionData(const QVector<QRect>& rects)
{
    if (rects.isEmpty())
        return {};
    QRect bounds;
    for (const QRect& r : rects)
        bounds = bounds.united(r);
    QByteArray out;
    out.reserve(HeaderSize + RectangleSize * rects.size());
    putInt(out, HeaderSize);
    putInt(out, 1);
    putInt(out, static_cast<qint32>(rects.size()));
    putInt(out, static_cast<qint32>(RectangleSize * rects.size()));
    putRect(out, bounds);
    for (const QRect& r : rects)
        putRect(out, r);
    return out;
}

QByteArray FormShapeData::regionData(const QRegion& region)
{
    return regionData(QVector<QRect>(region.begin(), region.end()));
}

bool FormShapeData::parse(const QByteArray& data, QVector<QRect>* rects, QRect* bounds)
{
    if (data.size() < HeaderSize)
        return false;
    const qint32 headerSize = intAt(data, 0);
    const qint32 type = intAt(data, 4);
    const qint32 count = intAt(data, 8);
    const qint32 rectSize = intAt(data, 12);
    if (headerSize != HeaderSize || type != 1 || count < 0)
        return false;
    if (count > (data.size() - HeaderSize) / RectangleSize)
        return false;
    // Windows leaves the size field 0 in data it did not compute itself; any other value must agree.
    if (rectSize != 0 && rectSize != count * RectangleSize)
        return false;

    QVector<QRect> result;
    result.reserve(count);
    for (qint32 i = 0; i < count; ++i) {
        const int at = HeaderSize + i * RectangleSize;
        const qint32 l = intAt(data, at);
        const qint32 t = intAt(data, at + 4);
        const qint32 r = intAt(data, at + 8);
        const qint32 b = intAt(data, at + 12);
        if (!inRange(l) || !inRange(t) || !inRange(r) || !inRange(b) || r < l || b < t)
            return false;
        result.append(QRect(l, t, r - l, b - t));
    }
    if (bounds) {
        const qint32 l = intAt(data, 16);
        const qint32 t = intAt(data, 20);
        const qint32 r = intAt(data, 24);
        const qint32 b = intAt(data, 28);
        if (!inRange(l) || !inRange(t) || !inRange(r) || !inRange(b))
            return false;
        *bounds = QRect(l, t, r - l, b - t);
    }
    if (rects)
        *rects = result;
    return true;
}

QRegion FormShapeData::toRegion(const QByteArray& data)
{
    QVector<QRect> rects;
    if (!parse(data, &rects))
        return {};
    QRegion region;
    for (const QRect& r : rects) {
        if (!r.isEmpty())
            region += r;
    }
    return region;
}

QByteArray FormShapeData::stored(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    QByteArray out;
    putInt(out, static_cast<qint32>(data.size()));
    out.append(data);
    return out;
}

bool FormShapeData::write(QIODevice& stream, const QByteArray& data)
{
    const QByteArray bytes = stored(data);
    return stream.write(bytes) == bytes.size();
}

bool FormShapeData::read(QIODevice& stream, QByteArray* data)
{
    data->clear();
    const QByteArray prefix = stream.read(4);
    if (prefix.isEmpty())
        return true;
    if (prefix.size() < 4)
        return false;
    const quint32 length = qFromLittleEndian<quint32>(prefix.constData());
    if (length == 0)
        return true;
    if (length > MaxDataSize)
        return false;
    if (!stream.isSequential() && length > stream.size() - stream.pos())
        return false;
    const QByteArray body = stream.read(length);
    if (body.size() != static_cast<qsizetype>(length) || !parse(body, nullptr))
        return false;
    *data = body;
    return true;
}

QRegion FormShapeData::scaled(const QRegion& region, qreal ratio)
{
    if (ratio == 1.0)
        return region;
    QRegion result;
    for (const QRect& rect : region)
        result += QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio).toRect();
    return result;
}
