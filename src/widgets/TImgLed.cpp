#include "TImgLed.h"

#include "ControlAccessibility.h"

#include <QAccessible>
#include <QPainter>

TImgLed::TImgLed(QWidget* parent)
    : QWidget(parent)
{
    resize(32, 32);
    ControlAccessibility::install();
}

void TImgLed::setStateNames(const QString& red, const QString& yellow, const QString& green)
{
    m_stateNames[int(Colour::Red)] = red;
    m_stateNames[int(Colour::Yellow)] = yellow;
    m_stateNames[int(Colour::Green)] = green;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

QString TImgLed::stateName() const
{
    return m_stateNames[int(m_colour)];
}

QSize TImgLed::sizeHint() const
{
    const QPixmap shown = picture();
    return shown.isNull() ? QSize(32, 32) : shown.deviceIndependentSize().toSize();
}

void TImgLed::setImgRed(const QPixmap& picture)
{
    m_red = picture;
    update();
}

void TImgLed::setImgGreen(const QPixmap& picture)
{
    m_green = picture;
    update();
}

void TImgLed::setImgYellow(const QPixmap& picture)
{
    m_yellow = picture;
    update();
}

QPixmap TImgLed::picture() const
{
    switch (m_colour) {
    case Colour::Red:
        return m_red;
    case Colour::Yellow:
        return m_yellow;
    case Colour::Green:
        break;
    }
    return m_green;
}

void TImgLed::SetRed()
{
    setColour(Colour::Red);
}

void TImgLed::SetYellow()
{
    setColour(Colour::Yellow);
}

void TImgLed::SetGreen()
{
    setColour(Colour::Green);
}

void TImgLed::setColour(Colour colour)
{
    const bool changed = colour != m_colour;
    m_colour = colour;
    update();
    if (changed) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TImgLed::paintEvent(QPaintEvent*)
{
    const QPixmap shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown);
}
