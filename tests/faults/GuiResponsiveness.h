#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// A timer ticking on the GUI thread every 10 ms while a fault is served: the largest gap between two ticks
// (or since the last one) is how long the window would have stood frozen.
class GuiResponsiveness
{
public:
    // Longer than any scheduling hiccup of a busy test machine, far shorter than any of the time-outs a
    // blocked thread would wait for.
    static constexpr qint64 MaxGapMs = 1500;

    GuiResponsiveness()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_largest = std::max(m_largest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }

    qint64 largestGapMs() const { return std::max(m_largest, m_clock.elapsed() - m_last); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_largest = 0;
};
