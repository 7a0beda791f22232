#pragma once

#include <QObject>
#include <QTimer>

class QLineEdit;

// Keeps a text longer than its one-line field readable whole, as a status line does: the view moves through
// the text a character at a time, rests at each end, and starts again; a text that fits stands still at its
// start. The field itself always holds the whole text, for a screen reader and for copying.
class TextScroller : public QObject
{
    Q_OBJECT
public:
    explicit TextScroller(QLineEdit* line);

    // Milliseconds between two steps, and how many steps the view rests at each end.
    static constexpr int StepMs = 120;
    static constexpr int RestSteps = 12;

    bool scrolling() const { return m_timer.isActive(); }

private:
    bool fits() const;
    void restart();
    void step();

    QLineEdit* m_line;
    QTimer m_timer;
    int m_step = 0;
};
