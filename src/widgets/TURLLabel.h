#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

// A label that is a web link: it takes MouseOverFont and MouseOverColor while the mouse is over it and
// opens URL in the desktop's browser when pressed.
class TURLLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString URL READ url WRITE setUrl)
    Q_PROPERTY(QFont MouseOverFont READ mouseOverFont WRITE setMouseOverFont)
    Q_PROPERTY(QColor MouseOverColor READ mouseOverColor WRITE setMouseOverColor)

public:
    // URL and caption start as the maker's address (the service's base address).
    explicit TURLLabel(QWidget* parent = nullptr);

    QString url() const { return m_url; }
    // Tab reaches the label only while its address can be opened.
    void setUrl(const QString& url);
    QFont mouseOverFont() const { return m_mouseOverFont; }
    void setMouseOverFont(const QFont& font) { m_mouseOverFont = font; }
    QColor mouseOverColor() const { return m_mouseOverColor; }
    void setMouseOverColor(const QColor& colour) { m_mouseOverColor = colour; }

    // The label's text colour.
    QColor fontColor() const;
    void setFontColor(const QColor& colour);

    // Opens URL with the desktop's handler. Only web addresses (http, https) are opened: the address may
    // come from the service, and another scheme could name a local program or file.
    bool openUrl() const;
    static bool isOpenable(const QUrl& url);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_url;
    QFont m_mouseOverFont;
    QColor m_mouseOverColor = QColor(0, 0, 255);
    QFont m_savedFont;
    QColor m_savedColor;
    bool m_hovered = false;
};
