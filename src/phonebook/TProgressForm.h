#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

// A horizontal bar gauge with the behaviour of the classic Samples gauge: MinValue to MaxValue, the bar in
// ForeColor over BackColor, and, with ShowText, the percentage done written across it. Setting Progress
// only asks for a repaint when the bar's length or the percentage changes, so stepping it once per item of
// a long list costs next to nothing.
class TGauge : public QWidget
{
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    int MinValue() const { return m_min; }
    int MaxValue() const { return m_max; }
    int Progress() const { return m_progress; }
    bool ShowText() const { return m_showText; }
    // Whole per cent, rounded down.
    int PercentDone() const;

    // Progress stays within the range.
    void setRange(int minValue, int maxValue);
    void setProgress(int progress);
    void AddProgress(int value) { setProgress(m_progress + value); }
    void setShowText(bool on);
    void setColors(const QColor& back, const QColor& fore);

signals:
    void progressChanged(int progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int barLength(int progress) const;

    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
    bool m_showText = true;
    QColor m_back = Qt::white;
    QColor m_fore = Qt::blue;
};

// The small window the contacts import shows while it runs: a tool window without title-bar buttons,
// always on top, centred on its owner, shown as soon as it is made. gauge prints its percentage; messageLabel
// ("מתנתק מפנקס הכתובות...") covers it at the end, hidden until then. It is modal to its owner, so that
// nothing in the phone book window is clicked while the table fills.
class TProgressForm : public QWidget
{
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* owner);

    TGauge* gauge;
    QLabel* messageLabel;
};
