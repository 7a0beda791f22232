#include "TProgressForm.h"

#include "common/InterfaceDirection.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

TGauge::TGauge(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TGauge::PercentDone() const
{
    const qint64 span = qint64(m_max) - m_min;
    return span <= 0 ? 0 : int((qint64(m_progress) - m_min) * 100 / span);
}

int TGauge::barLength(int progress) const
{
    const qint64 span = qint64(m_max) - m_min;
    const int inner = qMax(0, width() - 2);
    return span <= 0 ? 0 : int((qint64(progress) - m_min) * inner / span);
}

void TGauge::setRange(int minValue, int maxValue)
{
    m_min = minValue;
    m_max = qMax(minValue, maxValue);
    m_progress = qBound(m_min, m_progress, m_max);
    update();
}

void TGauge::setProgress(int progress)
{
    progress = qBound(m_min, progress, m_max);
    if (progress == m_progress)
        return;
    const int before = m_progress;
    const int percentBefore = PercentDone();
    m_progress = progress;
    if (barLength(before) != barLength(progress) || (m_showText && percentBefore != PercentDone()))
        update();
    emit progressChanged(progress);
}

void TGauge::setShowText(bool on)
{
    m_showText = on;
    update();
}

void TGauge::setColors(const QColor& back, const QColor& fore)
{
    m_back = back;
    m_fore = fore;
    update();
}

void TGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(inner, m_back);
    const QRect bar(inner.left(), inner.top(), barLength(m_progress), inner.height());
    painter.fillRect(bar, m_fore);
    if (!m_showText)
        return;
    // The percentage in the bar's colour over the background and in the background's colour over the bar.
    const QString text = QStringLiteral("%1%").arg(PercentDone());
    painter.setClipRect(inner.adjusted(bar.width(), 0, 0, 0));
    painter.setPen(m_fore);
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setClipRect(bar);
    painter.setPen(m_back);
    painter.drawText(inner, Qt::AlignCenter, text);
}

TProgressForm::TProgressForm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(tr("טעינת אנשי קשר מפנקס הכתובות"));
    setLayoutDirection(interfaceDirection());
    setWindowModality(Qt::WindowModal);
    setFixedSize(270, 39);

    const QRect place(6, 5, 257, 29);
    gauge = new TGauge(this);
    gauge->setObjectName(QStringLiteral("gauge"));
    gauge->setGeometry(place);
    gauge->setColors(Qt::white, Qt::blue);

    messageLabel = new QLabel(tr("מתנתק מפנקס הכתובות..."), this);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setGeometry(place);
    messageLabel->setAlignment(Qt::AlignCenter);
    messageLabel->setAutoFillBackground(true);
    QPalette colors = messageLabel->palette();
    colors.setColor(QPalette::Window, Qt::blue);
    colors.setColor(QPalette::WindowText, Qt::white);
    messageLabel->setPalette(colors);
    QFont bold = messageLabel->font();
    bold.setBold(true);
    messageLabel->setFont(bold);
    messageLabel->hide();

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = owner ? owner->window()->frameGeometry() : screen ? screen->availableGeometry() : QRect();
    move(area.center() - rect().center());
    show();
}
