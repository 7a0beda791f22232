#include "EditCaret.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleHints>

namespace {
// The style of an attached single-line edit: the application's style with a caret of no width, so
// that only the block is seen.
class NoCaretStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};
} // namespace

EditCaret::EditCaret(QObject* parent)
    : QObject(parent)
    , m_noCaretStyle(new NoCaretStyle)
{
    m_noCaretStyle->setParent(this);
    connect(&m_blinkTimer, &QTimer::timeout, this, &EditCaret::blink);
}

EditCaret::~EditCaret()
{
    detachAll();
}

QSize EditCaret::sizeFor(const QFont& font)
{
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(QLatin1Char('_')), metrics.boundingRect(QLatin1Char('|')).height())
        .expandedTo(QSize(1, metrics.height()));
}

void EditCaret::setBitmap(const QSize& size, const QColor& color)
{
    m_size = size;
    m_color = color;
    if (m_active)
        repaint(m_active);
}

bool EditCaret::attach(QWidget* field)
{
    if (!field || isAttached(field))
        return false;
    Attached entry;
    entry.field = field;
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        entry.paintTarget = line;
        line->setStyle(m_noCaretStyle);
        connect(line, &QLineEdit::cursorPositionChanged, this, [this, line] { moved(line); });
        connect(line, &QLineEdit::textChanged, this, [this, line] { moved(line); });
        connect(line, &QLineEdit::selectionChanged, this, [this, line] { moved(line); });
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
        entry.paintTarget = text->viewport();
        entry.previousCursorWidth = text->cursorWidth();
        text->setCursorWidth(0);
        connect(text, &QPlainTextEdit::cursorPositionChanged, this, [this, text] { moved(text); });
        connect(text, &QPlainTextEdit::textChanged, this, [this, text] { moved(text); });
        connect(text, &QPlainTextEdit::updateRequest, this, [this, text](const QRect&, int dy) {
            if (dy != 0)
                moved(text);
        });
    } else {
        return false;
    }
    field->installEventFilter(this);
    if (entry.paintTarget != field)
        entry.paintTarget->installEventFilter(this);
    m_fields.append(entry);
    if (field->hasFocus())
        focusIn(field);
    return true;
}

void EditCaret::restore(const Attached& entry)
{
    if (entry.field) {
        entry.field->removeEventFilter(this);
        disconnect(entry.field, nullptr, this, nullptr);
        if (auto* line = qobject_cast<QLineEdit*>(entry.field))
            line->setStyle(nullptr);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(entry.field))
            text->setCursorWidth(entry.previousCursorWidth);
        entry.field->update();
    }
    if (entry.paintTarget) {
        entry.paintTarget->removeEventFilter(this);
        entry.paintTarget->update();
    }
}

void EditCaret::detach(QWidget* field)
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).field == field) {
            const Attached entry = m_fields.takeAt(i);
            if (m_active == field)
                focusOut(field);
            restore(entry);
            return;
        }
    }
}

void EditCaret::detachAll()
{
    while (!m_fields.isEmpty()) {
        const Attached entry = m_fields.takeLast();
        restore(entry);
    }
    m_active = nullptr;
    m_blinkTimer.stop();
}

bool EditCaret::isAttached(const QWidget* field) const
{
    return field && find(field) && find(field)->field == field;
}

const EditCaret::Attached* EditCaret::find(const QObject* object) const
{
    for (const Attached& entry : m_fields) {
        if (entry.field == object || entry.paintTarget == object)
            return &entry;
    }
    return nullptr;
}

QRect EditCaret::caretRect(const QWidget* field) const
{
    QRect cursor;
    if (auto* line = qobject_cast<const QLineEdit*>(field))
        cursor = line->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    else if (auto* text = qobject_cast<const QPlainTextEdit*>(field))
        cursor = text->cursorRect();
    if (cursor.isNull() || m_size.isEmpty())
        return QRect();
    // The fields report a rectangle around the caret position (a single-line edit adds a few pixels on both
    // sides); the position is its middle. The block stands on the text line, centred on the line's height, and
    // reaches from the position towards where the next character goes: to the right, or to the left in a
    // right-to-left field.
    const int x = cursor.left() + cursor.width() / 2;
    const int top = cursor.top() + (cursor.height() - m_size.height()) / 2;
    const int left = field->layoutDirection() == Qt::RightToLeft ? x - m_size.width() + 1 : x;
    return QRect(QPoint(left, top), m_size);
}

void EditCaret::focusIn(QWidget* field)
{
    m_active = field;
    m_blinkOn = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0)
        m_blinkTimer.start(flash / 2);
    else
        m_blinkTimer.stop();
    repaint(field);
}

void EditCaret::focusOut(QWidget* field)
{
    if (m_active != field)
        return;
    m_active = nullptr;
    m_blinkTimer.stop();
    repaint(field);
}

void EditCaret::blink()
{
    if (!m_active) {
        m_blinkTimer.stop();
        return;
    }
    m_blinkOn = !m_blinkOn;
    repaint(m_active);
}

void EditCaret::moved(QWidget* field)
{
    if (field == m_active) {
        // A move or an edit shows the block at once, as a typing user expects.
        m_blinkOn = true;
        if (m_blinkTimer.isActive())
            m_blinkTimer.start();
    }
    repaint(field);
}

void EditCaret::repaint(QWidget* field)
{
    const Attached* entry = find(field);
    if (!entry || !entry->paintTarget)
        return;
    // The whole field: the text may have moved under the old block, which must not stay behind.
    entry->paintTarget->update();
}

void EditCaret::paintBlock(const Attached& entry)
{
    if (entry.field != m_active || !m_blinkOn || !entry.paintTarget)
        return;
    const QRect block = caretRect(entry.field);
    if (block.isEmpty())
        return;
    QPainter painter(entry.paintTarget);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(block, m_color);
}

bool EditCaret::eventFilter(QObject* watched, QEvent* event)
{
    const Attached* entry = find(watched);
    if (!entry)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == entry->field)
            focusIn(entry->field);
        break;
    case QEvent::FocusOut:
        if (watched == entry->field)
            focusOut(entry->field);
        break;
    case QEvent::Paint:
        // The field paints first (through the filters after this one, such as a scroll area's viewport
        // filter), then the block goes on top of the fresh text.
        if (watched == entry->paintTarget && !m_inPaint && entry->field == m_active) {
            const Attached current = *entry;
            m_inPaint = true;
            QCoreApplication::sendEvent(watched, event);
            m_inPaint = false;
            paintBlock(current);
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
