#pragma once

#include <QPixmap>
#include <QWidget>

// The connection lamp: one of three pictures. A new lamp shows green; the main window turns it red
// while it starts.
class TImgLed : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap imgRed READ imgRed WRITE setImgRed)
    Q_PROPERTY(QPixmap imgGreen READ imgGreen WRITE setImgGreen)
    Q_PROPERTY(QPixmap imgYellow READ imgYellow WRITE setImgYellow)

public:
    enum class Colour
    {
        Red,
        Yellow,
        Green
    };
    Q_ENUM(Colour)

    explicit TImgLed(QWidget* parent = nullptr);

    QPixmap imgRed() const { return m_red; }
    void setImgRed(const QPixmap& picture);
    QPixmap imgGreen() const { return m_green; }
    void setImgGreen(const QPixmap& picture);
    QPixmap imgYellow() const { return m_yellow; }
    void setImgYellow(const QPixmap& picture);

    Colour colour() const { return m_colour; }
    // The state in words, for screen readers, one text per colour; the lamp's accessible name follows the
    // colour shown, and a change is announced.
    void setStateNames(const QString& red, const QString& yellow, const QString& green);
    QString stateName() const;
    // The picture on show.
    QPixmap picture() const;

    QSize sizeHint() const override;

public slots:
    void SetRed();
    void SetYellow();
    void SetGreen();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setColour(Colour colour);

    QPixmap m_red;
    QPixmap m_green;
    QPixmap m_yellow;
    Colour m_colour = Colour::Green;
    QString m_stateNames[3];
};
