#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

// Small drawing helpers of the skin generator.

// A box blur, three passes, of a premultiplied ARGB image.
QImage blurred(const QImage& image, int radius);

QColor mixed(const QColor& a, const QColor& b, qreal t);
QColor withAlpha(QColor colour, int alpha);

// A rounded speech bubble with its tail at the lower left, filling `box`.
QPainterPath speechBubble(const QRectF& box);
// A paper plane pointing up and to the right, filling `box`.
QPainterPath paperPlane(const QRectF& box);
