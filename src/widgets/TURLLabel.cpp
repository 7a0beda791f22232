#include "TURLLabel.h"

#include "ControlAccessibility.h"
#include "common/AppPaths.h"
#include "common/WebAddress.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

TURLLabel::TURLLabel(QWidget* parent)
    : QLabel(parent)
{
    QFont plain = font();
    plain.setBold(false);
    plain.setItalic(false);
    plain.setUnderline(false);
    plain.setStrikeOut(false);
    setFont(plain);
    setFontColor(Qt::black);

    // Same family, size and pitch as the label's own font, underlined.
    m_mouseOverFont = plain;
    m_mouseOverFont.setUnderline(true);

    // Reached by Tab and opened with Space or Return, as a link on a page.
    setUrl(AppPaths::serviceUrl());
    setText(m_url);
    setCursor(Qt::PointingHandCursor);
    ControlAccessibility::install();
}

void TURLLabel::setUrl(const QString& url)
{
    m_url = url;
    setFocusPolicy(isOpenable(QUrl::fromUserInput(url.trimmed())) ? Qt::TabFocus : Qt::NoFocus);
}

QColor TURLLabel::fontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TURLLabel::setFontColor(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}

bool TURLLabel::isOpenable(const QUrl& url)
{
    return isWebAddress(url);
}

bool TURLLabel::openUrl() const
{
    const QUrl url = QUrl::fromUserInput(m_url.trimmed());
    if (!isOpenable(url))
        return false;
    return QDesktopServices::openUrl(url);
}

void TURLLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (m_hovered)
        return;
    m_hovered = true;
    m_savedFont = font();
    m_savedColor = fontColor();
    setFont(m_mouseOverFont);
    setFontColor(m_mouseOverColor);
}

void TURLLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (!m_hovered)
        return;
    m_hovered = false;
    setFont(m_savedFont);
    setFontColor(m_savedColor);
}

void TURLLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    openUrl();
}

void TURLLabel::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & ~Qt::KeypadModifier)) {
        openUrl();
        return;
    }
    QLabel::keyPressEvent(event);
}

void TURLLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(fontColor(), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
