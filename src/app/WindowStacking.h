#pragma once

#include <QRect>
#include <QVector>

class QWidget;

// What lies above a window on the screen. On X11 the order comes from the window manager's stacking list
// (_NET_CLIENT_LIST_STACKING), or from the X server's own order of the top-level windows when no window
// manager keeps one. Elsewhere nothing is known to lie above any window.
namespace WindowStacking {
// The rectangles, in the window's screen coordinates, of the visible top-level windows of other programs
// above the window, nearest first. Empty when the window is not on screen or the order cannot be read.
QVector<QRect> windowsAbove(const QWidget* window);

// Whether the windows above, taken nearest first, together cover every pixel of `rect`.
bool isRectCovered(const QRect& rect, const QVector<QRect>& windowsAbove);
} // namespace WindowStacking
