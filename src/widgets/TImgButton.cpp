#include "TImgButton.h"

#include "ControlAccessibility.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TImgButton::TImgButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_focusColor(palette().color(QPalette::Highlight))
{
    setFocusPolicy(Qt::TabFocus);
    resize(60, 22);
    ControlAccessibility::install();
}

void TImgButton::setFocusColor(const QColor& colour)
{
    m_focusColor = colour;
    update();
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
    QPainter painter(this);
    if (!m_shown.isNull())
        painter.drawPixmap(0, 0, m_shown);
    if (hasFocus()) {
        // Inside the button's own pixels: the pictures around it are drawn by other controls.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_focusColor, 1.5, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }
}

void TImgButton::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey
        = event->key() == Qt::Key_Menu || (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier);
    const bool returnKey = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & ~Qt::KeypadModifier);
    const bool spaceKey = event->key() == Qt::Key_Space && !event->isAutoRepeat();
    if (m_opensMenu && (menuKey || returnKey || spaceKey)) {
        emit menuRequested();
        return;
    }
    // Space is the button's own; Return and Enter press it too, as on a dialog's button.
    if (returnKey) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
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
