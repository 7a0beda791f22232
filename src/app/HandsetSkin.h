#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>

class QEvent;
class QLineEdit;
class QWidget;
class TFormShaper;
struct MsgFormUi;

// How the handset wears its skin: the outline for the screen's density, the pictures for its pixel density
// (again when the window moves to another screen), its place on the screen, dragging it by the device
// picture, and the edits' read-only toggles that keep their carets drawn. It watches the window and its
// components itself and goes with the window.
class HandsetSkin : public QObject
{
    Q_OBJECT
public:
    // The window's components must exist.
    HandsetSkin(QWidget& window, const MsgFormUi& ui);

    // The outline for a screen density: 96 and 120 pixels per inch cut the window to the device picture,
    // any other density gives an ordinary framed window sized to its contents.
    void chooseOutline(int dotsPerInch);
    // The logical density of the window's screen in pixels per inch.
    int screenDensity() const;
    bool isShaped() const;
    // Whether the window system cuts windows to an outline (X11). Elsewhere an outlined window is drawn
    // transparent outside the outline, and the outline only limits where it takes the mouse.
    static bool platformShapesWindows();
    // Whether the window is drawn with an alpha channel, transparent outside its outline.
    bool isCutOut() const;
    // The device picture's image, cut to the outline when the window is drawn transparent outside it.
    void dressBackground();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The skin's pictures for the pixel density of the window's screen.
    void dress();
    bool dragBackground(QEvent* event);
    const TFormShaper* activeShaper() const;
    void placeOnScreen();

    QWidget& m_window;
    const MsgFormUi& m_ui;
    QPoint m_dragOffset;
    bool m_dragging = false;
    // The device picture's image as drawn, before any cut, at the density of the window's screen.
    QPixmap m_background;
};
