#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A button drawn entirely by pictures: one while the mouse is away, one while it is over the button and
// one while the button is disabled. The keyboard reaches it by Tab (a click does not take the focus from the
// field being typed in); Space or Return presses it, and with the focus it shows a frame in FocusColor. A
// button that opens a menu says so (opensMenu) and asks for it with Alt+Down or the menu key (menuRequested).
// Screen readers name it by its accessible name, else by its tool tip.
class TImgButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(QPixmap MDisabledPicture READ mDisabledPicture WRITE setMDisabledPicture)
    Q_PROPERTY(QPixmap MLeavePicture READ mLeavePicture WRITE setMLeavePicture)
    Q_PROPERTY(QPixmap MEnterPicture READ mEnterPicture WRITE setMEnterPicture)
    Q_PROPERTY(QColor FocusColor READ focusColor WRITE setFocusColor)

public:
    explicit TImgButton(QWidget* parent = nullptr);

    QPixmap mDisabledPicture() const { return m_disabled; }
    void setMDisabledPicture(const QPixmap& picture);
    QPixmap mLeavePicture() const { return m_leave; }
    void setMLeavePicture(const QPixmap& picture);
    QPixmap mEnterPicture() const { return m_enter; }
    void setMEnterPicture(const QPixmap& picture);

    // The picture on show.
    QPixmap picture() const { return m_shown; }

    QColor focusColor() const { return m_focusColor; }
    void setFocusColor(const QColor& colour);
    bool opensMenu() const { return m_opensMenu; }
    void setOpensMenu(bool opens) { m_opensMenu = opens; }

    QSize sizeHint() const override;

public slots:
    // The mouse-over look; nothing happens while the button is disabled.
    void ShowEnterPicture();
    // The resting look; the main window also calls this after a button's menu has closed, because the
    // mouse left the button while the menu had it.
    void ShowLeavePicture();

signals:
    void OnMouseEnter();
    void OnMouseLeave();
    // Any mouse button pressed on the button, at a point in the button's coordinates.
    void OnMouseDown(Qt::MouseButton button, const QPoint& pos);
    // Alt+Down or the menu key on a button that opens a menu, or a screen reader's "show menu".
    void menuRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showRestingPicture();
    void display(const QPixmap& picture);

    QPixmap m_disabled;
    QPixmap m_leave;
    QPixmap m_enter;
    QPixmap m_shown;
    QColor m_focusColor;
    bool m_hovered = false;
    bool m_opensMenu = false;
};
