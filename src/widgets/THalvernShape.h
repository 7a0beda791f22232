#pragma once

#include <QBrush>
#include <QPen>
#include <QWidget>

enum TShapeType
{
    stRectangle,
    stSquare,
    stRoundRect,
    stRoundSquare,
    stEllipse,
    stCircle,
    stFrame
};

// A drawn figure: the usual shapes, plus a one-pixel frame in the brush colour that leaves its inside
// unpainted (the skin's frames around the fields).
class THalvernShape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Shape READ shapeValue WRITE setShapeValue)
    Q_PROPERTY(QPen Pen READ pen WRITE setPen)
    Q_PROPERTY(QBrush Brush READ brush WRITE setBrush)

public:
    explicit THalvernShape(QWidget* parent = nullptr);

    TShapeType shape() const { return m_shape; }
    void setShape(TShapeType shape);
    QPen pen() const { return m_pen; }
    void setPen(const QPen& pen);
    QBrush brush() const { return m_brush; }
    void setBrush(const QBrush& brush);

    // The figure's rectangle in a control of the given size, with edges as the painter's rectangle
    // calls take them (right and bottom exclusive): x = y = w div 2 and the size grows by 1 - w (one less
    // again for w = 0); the square kinds take the smaller side and are centred.
    static QRect figureRect(const QSize& size, int penWidth, TShapeType shape);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int shapeValue() const { return m_shape; }
    void setShapeValue(int value);

    TShapeType m_shape = stRectangle;
    QPen m_pen = QPen(Qt::black, 1);
    QBrush m_brush = QBrush(Qt::white);
};
