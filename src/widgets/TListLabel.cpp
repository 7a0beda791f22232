#include "TListLabel.h"

#include "ControlAccessibility.h"
#include "common/ListLine.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>

namespace {
constexpr int HintMaxTextWidth = 150;
constexpr int HintMargin = 3;
} // namespace

TListLabel::TListLabel(QWidget* parent)
    : QLabel(parent)
{
    // Names come from the phone book and the address book: shown as written, never as markup.
    setTextFormat(Qt::PlainText);
    ControlAccessibility::install();
}

QString TListLabel::accessibleText() const
{
    if (!accessibleName().isEmpty())
        return accessibleName();
    if (!isList())
        return text();
    QString caption = text();
    if (caption.startsWith(QLatin1Char('<')) && caption.endsWith(QLatin1Char('>')))
        caption = caption.mid(1, caption.size() - 2);
    return caption;
}

QString TListLabel::recipientNames() const
{
    return ListLine::names(m_list).join(QStringLiteral(", "));
}

bool TListLabel::isList() const
{
    return !m_listCaption.isEmpty() && text() == m_listCaption;
}

void TListLabel::setIsList(bool list)
{
    if (list == isList())
        return;
    if (list) {
        m_savedCaption = text();
        setText(m_listCaption);
    } else {
        setText(m_savedCaption);
    }
}

QString TListLabel::hintText(const QStringList& list)
{
    return ListLine::names(list).join(QStringLiteral("\r\n"));
}

bool TListLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_showHint) {
        event->ignore();
        return true;
    }
    return QLabel::event(event);
}

void TListLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (isList())
        showListHint();
}

void TListLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    hideListHint();
}

void TListLabel::showListHint()
{
    m_showHint = false;
    const QString text = hintText(m_list);
    if (!m_hint) {
        m_hint = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
        m_hint->setObjectName(QStringLiteral("ListHint"));
        m_hint->setForegroundRole(QPalette::ToolTipText);
        m_hint->setBackgroundRole(QPalette::ToolTipBase);
        m_hint->setAutoFillBackground(true);
        m_hint->setFrameShape(QFrame::Box);
        m_hint->setMargin(HintMargin);
        m_hint->setWordWrap(true);
        m_hint->setTextFormat(Qt::PlainText);
        m_hint->setLayoutDirection(layoutDirection());
    }
    // QLabel breaks lines at LF alone; a CR left in would show as a box in some fonts.
    m_hint->setText(QString(text).remove(QLatin1Char('\r')));
    const QFontMetrics metrics(m_hint->font());
    const QRect textRect
        = metrics.boundingRect(QRect(0, 0, HintMaxTextWidth, 100000), Qt::TextWordWrap | Qt::AlignLeft, m_hint->text());
    const int frame = 2 * (m_hint->frameWidth() + HintMargin);
    m_hint->resize(textRect.width() + frame, textRect.height() + frame);
    m_hint->move(QCursor::pos() + QPoint(0, 16));
    m_hint->show();

    if (!m_colourSaved) {
        m_savedColour = palette().color(QPalette::WindowText);
        m_colourSaved = true;
    }
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_listColor);
    setPalette(pal);
    update();
}

void TListLabel::hideListHint()
{
    // Leaving restores the colour even when list mode ended while the mouse was over the label.
    if (m_colourSaved) {
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, m_savedColour);
        setPalette(pal);
        m_colourSaved = false;
    }
    delete m_hint;
    update();
}
