#include "THalvernShape.h"

#include <QPainter>

THalvernShape::THalvernShape(QWidget* parent)
    : QWidget(parent)
{
    resize(65, 65);
}

void THalvernShape::setShape(TShapeType shape)
{
    if (shape == m_shape)
        return;
    m_shape = shape;
    update();
}

void THalvernShape::setShapeValue(int value)
{
    if (value >= stRectangle && value <= stFrame)
        setShape(static_cast<TShapeType>(value));
}

void THalvernShape::setPen(const QPen& pen)
{
    m_pen = pen;
    update();
}

void THalvernShape::setBrush(const QBrush& brush)
{
    m_brush = brush;
    update();
}

QRect THalvernShape::figureRect(const QSize& size, int penWidth, TShapeType shape)
{
    const int w = qMax(0, penWidth);
    int x = w / 2;
    int y = x;
    int width = size.width() - w + 1;
    int height = size.height() - w + 1;
    if (w == 0) {
        --width;
        --height;
    }
    if (shape == stSquare || shape == stRoundSquare || shape == stCircle) {
        const int s = qMin(width, height);
        x += (width - s) / 2;
        y += (height - s) / 2;
        width = height = s;
    }
    return QRect(x, y, width, height);
}

void THalvernShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = figureRect(size(), m_pen.width(), m_shape);
    if (r.width() <= 0 || r.height() <= 0)
        return;

    if (m_shape == stFrame) {
        // A frame one pixel wide along the inside of the figure's edges, painted with the brush.
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), m_brush);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), m_brush);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), m_brush);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), m_brush);
        return;
    }

    painter.setPen(m_pen);
    painter.setBrush(m_brush);
    // An outline drawn along QRect(x, y, w - 1, h - 1) with a one-pixel pen covers exactly the columns x
    // to x + w - 1, the same pixels as the exclusive rectangle the geometry describes.
    const QRect outline(r.left(), r.top(), r.width() - 1, r.height() - 1);
    switch (m_shape) {
    case stRectangle:
    case stSquare:
        painter.drawRect(outline);
        break;
    case stRoundRect:
    case stRoundSquare: {
        // The corner is an ellipse a quarter of the smaller side across, in whole pixels (rounded down), so its
        // radius is half of that.
        const int corner = qMin(r.width(), r.height()) / 4;
        const qreal radius = corner / 2.0;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(QRectF(outline).adjusted(0.5, 0.5, 0.5, 0.5), radius, radius);
        break;
    }
    case stEllipse:
    case stCircle:
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(QRectF(outline).adjusted(0.5, 0.5, 0.5, 0.5));
        break;
    case stFrame:
        break;
    }
}
