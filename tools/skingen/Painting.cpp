#include "Painting.h"

#include <QtMath>
#include <vector>

namespace {
// One horizontal box-blur pass over the four channels, then the same vertically.
void boxPass(QImage& image, int radius)
{
    const int w = image.width();
    const int h = image.height();
    auto run = [&](auto pixelAt, int length) {
        // pixelAt(i) returns a pointer to the i-th pixel of the line.
        std::vector<QRgb> line(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i)
            line[static_cast<size_t>(i)] = *pixelAt(i);
        for (int i = 0; i < length; ++i) {
            int a = 0, r = 0, g = 0, b = 0, n = 0;
            for (int k = i - radius; k <= i + radius; ++k) {
                const QRgb p = (k >= 0 && k < length) ? line[static_cast<size_t>(k)] : 0;
                a += qAlpha(p);
                r += qRed(p);
                g += qGreen(p);
                b += qBlue(p);
                ++n;
            }
            *pixelAt(i) = qRgba(r / n, g / n, b / n, a / n);
        }
    };
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        run([line](int i) { return line + i; }, w);
    }
    for (int x = 0; x < w; ++x) {
        run([&image, x](int i) { return reinterpret_cast<QRgb*>(image.scanLine(i)) + x; }, h);
    }
}
} // namespace

QImage blurred(const QImage& source, int radius)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int pass = 0; pass < 3; ++pass)
        boxPass(image, radius);
    return image;
}

QColor mixed(const QColor& a, const QColor& b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QPainterPath speechBubble(const QRectF& box)
{
    const qreal w = box.width();
    const qreal h = box.height();
    const QRectF body(box.left(), box.top(), w, h * 0.74);
    QPainterPath bubble;
    bubble.addRoundedRect(body, h * 0.2, h * 0.2);
    QPainterPath tail;
    tail.moveTo(box.left() + w * 0.18, body.bottom() - h * 0.05);
    tail.lineTo(box.left() + w * 0.14, box.bottom());
    tail.lineTo(box.left() + w * 0.46, body.bottom() - h * 0.05);
    tail.closeSubpath();
    return bubble.united(tail).simplified();
}

QPainterPath paperPlane(const QRectF& box)
{
    // Drawn in a unit square and mapped onto the box.
    auto at = [&box](qreal x, qreal y) { return QPointF(box.left() + x * box.width(), box.top() + y * box.height()); };
    QPainterPath wing;
    wing.moveTo(at(0.0, 0.45));
    wing.lineTo(at(1.0, 0.0));
    wing.lineTo(at(0.72, 1.0));
    wing.lineTo(at(0.46, 0.62));
    wing.closeSubpath();
    // The fold: a notch from the tip down to the tail.
    QPainterPath fold;
    fold.moveTo(at(0.46, 0.62));
    fold.lineTo(at(1.0, 0.0));
    fold.lineTo(at(0.40, 0.74));
    fold.lineTo(at(0.40, 0.98));
    fold.lineTo(at(0.56, 0.76));
    fold.closeSubpath();
    return wing.united(fold).simplified();
}
