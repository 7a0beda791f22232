#include "TextScroller.h"

#include <QLineEdit>

TextScroller::TextScroller(QLineEdit* line)
    : QObject(line)
    , m_line(line)
{
    m_timer.setInterval(StepMs);
    connect(&m_timer, &QTimer::timeout, this, &TextScroller::step);
    connect(line, &QLineEdit::textChanged, this, &TextScroller::restart);
}

bool TextScroller::fits() const
{
    // The field's inner width, less its frame's and the cursor's few pixels on each side.
    const QMargins margins = m_line->textMargins();
    const int width = m_line->contentsRect().width() - margins.left() - margins.right() - (m_line->hasFrame() ? 8 : 4);
    return m_line->fontMetrics().horizontalAdvance(m_line->text()) <= width;
}

void TextScroller::restart()
{
    m_step = 0;
    m_line->setCursorPosition(0);
    if (fits())
        m_timer.stop();
    else
        m_timer.start();
}

void TextScroller::step()
{
    if (fits()) {
        restart();
        return;
    }
    // Resting at the start, moving to the end, resting there, and again.
    const int length = int(m_line->text().size());
    ++m_step;
    if (m_step > RestSteps + length + RestSteps)
        m_step = 0;
    m_line->setCursorPosition(qBound(0, m_step - RestSteps, length));
}
