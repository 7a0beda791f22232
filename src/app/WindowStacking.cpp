#include "WindowStacking.h"

#include <QGuiApplication>
#include <QRegion>
#include <QSet>
#include <QWidget>
#include <QWindow>

#if defined(ZELKORA_HAVE_XCB) && QT_CONFIG(xcb)
#define ZELKORA_STACKING_X11 1
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

bool WindowStacking::isRectCovered(const QRect& rect, const QVector<QRect>& windowsAbove)
{
    if (rect.isEmpty())
        return false;
    const QRegion target(rect);
    QRegion covered;
    for (const QRect& above : windowsAbove) {
        if (!above.intersects(rect))
            continue;
        covered += target.intersected(above);
        if (covered == target)
            return true;
    }
    return false;
}

#ifdef ZELKORA_STACKING_X11
namespace {
// A reply of libxcb, freed with free().
template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Reply<T> reply(T* pointer)
{
    return Reply<T>(pointer, &std::free);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    auto answer = reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(qstrlen(name)), name), nullptr));
    return answer ? answer->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window's rectangle in root coordinates, when it is mapped and can be seen.
bool visibleRect(xcb_connection_t* connection, xcb_window_t window, xcb_window_t root, QRect* rect)
{
    auto attributes
        = reply(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE
        || attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
        return false;
    auto geometry = reply(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return false;
    auto origin = reply(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr));
    if (!origin)
        return false;
    const int border = geometry->border_width;
    *rect = QRect(
        origin->dst_x - border, origin->dst_y - border, geometry->width + 2 * border, geometry->height + 2 * border);
    return true;
}

// The window manager's list of client windows, bottom first; empty when no window manager keeps one.
QVector<xcb_window_t> managedStacking(xcb_connection_t* connection, xcb_window_t root)
{
    QVector<xcb_window_t> windows;
    const xcb_atom_t stacking = atom(connection, "_NET_CLIENT_LIST_STACKING");
    if (stacking == XCB_ATOM_NONE)
        return windows;
    auto property = reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, stacking, XCB_ATOM_WINDOW, 0, 16384), nullptr));
    if (!property || property->format != 32 || property->type != XCB_ATOM_WINDOW)
        return windows;
    const auto* values = static_cast<const xcb_window_t*>(xcb_get_property_value(property.get()));
    const int count = xcb_get_property_value_length(property.get()) / int(sizeof(xcb_window_t));
    windows.reserve(count);
    for (int i = 0; i < count; ++i)
        windows.append(values[i]);
    return windows;
}

// The X server's top-level windows (children of the root), bottom first.
QVector<xcb_window_t> serverStacking(xcb_connection_t* connection, xcb_window_t root)
{
    QVector<xcb_window_t> windows;
    auto tree = reply(xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
    if (!tree)
        return windows;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i)
        windows.append(children[i]);
    return windows;
}

// The child of the root that holds the window: the window itself, or the frame a window manager put
// around it.
xcb_window_t topLevelOf(xcb_connection_t* connection, xcb_window_t window, xcb_window_t* root)
{
    for (int depth = 0; depth < 64; ++depth) {
        auto tree = reply(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (!tree)
            return XCB_WINDOW_NONE;
        *root = tree->root;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
    return XCB_WINDOW_NONE;
}
} // namespace
#endif

QVector<QRect> WindowStacking::windowsAbove(const QWidget* window)
{
    QVector<QRect> above;
#ifdef ZELKORA_STACKING_X11
    if (!window || !window->isVisible())
        return above;
    const QWidget* topLevel = window->window();
    const QWindow* handle = topLevel->windowHandle();
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!handle || !x11 || !x11->connection())
        return above;
    xcb_connection_t* connection = x11->connection();
    const auto own = static_cast<xcb_window_t>(handle->winId());

    xcb_window_t root = XCB_WINDOW_NONE;
    const xcb_window_t frame = topLevelOf(connection, own, &root);
    if (frame == XCB_WINDOW_NONE)
        return above;

    // The window manager's list names client windows, the server's order their frames.
    QVector<xcb_window_t> order = managedStacking(connection, root);
    xcb_window_t self = own;
    if (!order.contains(self)) {
        order = serverStacking(connection, root);
        self = frame;
    }
    const int position = order.indexOf(self);
    if (position < 0)
        return above;

    // The program's own windows (help, teach, dialogs, the browser's) never count: only other programs
    // cover the window. Both the windows and the frames a window manager put around them are known.
    QSet<xcb_window_t> ours;
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (!window->handle() || !window->isVisible())
            continue;
        const auto id = static_cast<xcb_window_t>(window->winId());
        ours.insert(id);
        xcb_window_t ignored = XCB_WINDOW_NONE;
        ours.insert(topLevelOf(connection, id, &ignored));
    }

    // Screen rectangles are compared in the window's own (device-independent) coordinates.
    const qreal ratio = handle->devicePixelRatio() > 0 ? handle->devicePixelRatio() : 1.0;
    for (int i = order.size() - 1; i > position; --i) {
        QRect rect;
        if (ours.contains(order.at(i)) || !visibleRect(connection, order.at(i), root, &rect))
            continue;
        if (ratio != 1.0)
            rect = QRectF(rect.x() / ratio, rect.y() / ratio, rect.width() / ratio, rect.height() / ratio)
                       .toAlignedRect();
        above.append(rect);
    }
#else
    Q_UNUSED(window)
#endif
    return above;
}
