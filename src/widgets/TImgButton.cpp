#include "TImgButton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

TImgButton::TImgButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    resize(60, 22);
}

QSize TImgButton::sizeHint() const
{
    return m_leave.isNull() ? QSize(60, 22) : m_leave.deviceIndependentSize().toSize();
}

void TImgButton::setMDisabledPicture(const QPixmap& picture)
{
    m_disabled = picture;
    showRestingPicture();
}

void TImgButton::setMLeavePicture(const QPixmap& picture)
{
    m_leave = picture;
    showRestingPicture();
}

void TImgButton::setMEnterPicture(const QPixmap& picture)
{
    m_enter = picture;
    if (m_hovered && isEnabled())
        display(m_enter);
}

void TImgButton::showRestingPicture()
{
    if (!isEnabled())
        display(m_disabled);
    else if (m_hovered)
        display(m_enter);
    else
        display(m_leave);
}

void TImgButton::display(const QPixmap& picture)
{
    m_shown = picture;
    update();
}

void TImgButton::ShowEnterPicture()
{
    if (!isEnabled())
        return;
    m_hovered = true;
    display(m_enter);
    emit OnMouseEnter();
}

void TImgButton::ShowLeavePicture()
{
    if (!isEnabled())
        return;
    m_hovered = false;
    display(m_leave);
    emit OnMouseLeave();
}

void TImgButton::paintEvent(QPaintEvent*)
{
    if (m_shown.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_shown);
}

void TImgButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        // Hovering is forgotten on the way: a button enabled under a resting mouse shows its leave
        // picture until the mouse moves in again.
        m_hovered = false;
        showRestingPicture();
    }
    QAbstractButton::changeEvent(event);
}

void TImgButton::enterEvent(QEnterEvent* event)
{
    ShowEnterPicture();
    QAbstractButton::enterEvent(event);
}

void TImgButton::leaveEvent(QEvent* event)
{
    ShowLeavePicture();
    QAbstractButton::leaveEvent(event);
}

void TImgButton::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    emit OnMouseDown(event->button(), event->position().toPoint());
}
