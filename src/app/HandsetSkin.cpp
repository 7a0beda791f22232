#include "HandsetSkin.h"

#include "HandsetBuilder.h"

#include "widgets/FormShapeData.h"
#include "widgets/Skin.h"
#include "widgets/SkinLayout.h"
#include "widgets/TFormShaper.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace {
// The 120 pixels-per-inch outline is drawn for the window as it is scaled on such a screen, by the ratio
// of the standard font's heights there and at 96 (16 to 13 pixels). Qt lays the window out in design
// units on every screen and scales it itself, so the outline goes back to design units.
QByteArray designUnits(const QByteArray& regionData, qreal scale)
{
    QVector<QRect> rects;
    if (!FormShapeData::parse(regionData, &rects))
        return regionData;
    QRegion region;
    for (const QRect& rect : std::as_const(rects)) {
        const QPoint topLeft(qRound(rect.left() / scale), qRound(rect.top() / scale));
        const QPoint end(qRound((rect.right() + 1) / scale), qRound((rect.bottom() + 1) / scale));
        if (end.x() > topLeft.x() && end.y() > topLeft.y())
            region += QRect(topLeft, end - QPoint(1, 1));
    }
    return FormShapeData::regionData(region);
}
} // namespace

HandsetSkin::HandsetSkin(QWidget& window, const MsgFormUi& ui)
    : QObject(&window)
    , m_window(window)
    , m_ui(ui)
{
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window.setPalette(palette);
    window.installEventFilter(this);
    m_ui.devicePicture->installEventFilter(this);
    for (QLineEdit* edit : { m_ui.numberEdit, m_ui.senderEdit, m_ui.areaCodeEdit, m_ui.statusLine })
        edit->installEventFilter(this);
    dressBackground();
}

bool HandsetSkin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui.devicePicture)
        return dragBackground(event);
    if (watched == &m_window) {
        if (event->type() == QEvent::ScreenChangeInternal)
            dress();
        // Toggling an edit's read-only state makes it draw its caret again, which the skinned window loses
        // when it is activated or an edit is entered; the status line is only read.
        if (event->type() == QEvent::WindowActivate) {
            for (QLineEdit* edit : { m_ui.numberEdit, m_ui.senderEdit, m_ui.areaCodeEdit }) {
                edit->setReadOnly(true);
                edit->setReadOnly(false);
            }
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_ui.statusLine) {
            m_ui.statusLine->setReadOnly(true);
        } else if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            edit->setReadOnly(true);
            edit->setReadOnly(false);
        }
    }
    return false;
}

int HandsetSkin::screenDensity() const
{
    // The logical resolution: where Qt scales windows for a dense screen (a device pixel ratio of 1.5 or 2)
    // it stays 96, and the window is cut to the same outline in window pixels and drawn from pictures
    // made for the density.
    const QScreen* screen = m_window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96;
    return qRound(screen->logicalDotsPerInch());
}

bool HandsetSkin::platformShapesWindows()
{
    // Only X11 cuts a window to a region. Wayland compositors and the rest show a window's transparent
    // pixels instead; there a mask only limits where the window takes input.
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool HandsetSkin::isCutOut() const
{
    return m_window.testAttribute(Qt::WA_TranslucentBackground);
}

const TFormShaper* HandsetSkin::activeShaper() const
{
    for (const TFormShaper* shaper : { m_ui.shaper96, m_ui.shaper120 }) {
        if (shaper && shaper->active())
            return shaper;
    }
    return nullptr;
}

void HandsetSkin::dressBackground()
{
    const qreal ratio = m_window.devicePixelRatioF();
    if (m_background.isNull() || m_background.devicePixelRatio() != Skin::pictureScale(ratio))
        m_background = Skin::background(ratio);
    const TFormShaper* shaper = activeShaper();
    m_ui.devicePicture->setPixmap(isCutOut() && shaper ? Skin::cutOut(m_background, shaper->region()) : m_background);
}

void HandsetSkin::dress()
{
    const qreal ratio = m_window.devicePixelRatioF();
    if (!m_background.isNull() && m_background.devicePixelRatio() == Skin::pictureScale(ratio))
        return;
    for (TImgButton* button : { m_ui.sendButton, m_ui.areaMenuButton, m_ui.closeButton, m_ui.menuButton, m_ui.phoneBookButton })
        Skin::dressButton(button, ratio);
    Skin::dressLed(m_ui.connectionLamp, ratio);
    dressBackground();
}

void HandsetSkin::placeOnScreen()
{
    // Centred on the screen, and wholly on it: a window larger than the screen keeps its top-left corner,
    // where the close and menu buttons are, in view. Where the platform places windows itself (Wayland)
    // this is only a wish the compositor may ignore.
    const QScreen* screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect placed(QPoint(0, 0), m_window.frameGeometry().size().expandedTo(m_window.size()));
    placed.moveCenter(available.center());
    placed.moveRight(qMin(placed.right(), available.right()));
    placed.moveBottom(qMin(placed.bottom(), available.bottom()));
    placed.moveLeft(qMax(placed.left(), available.left()));
    placed.moveTop(qMax(placed.top(), available.top()));
    m_window.move(placed.topLeft());
}

void HandsetSkin::chooseOutline(int dotsPerInch)
{
    m_ui.shaper96->setActive(false);
    m_ui.shaper120->setActive(false);
    const bool wasVisible = m_window.isVisible();

    if (dotsPerInch == 96 || dotsPerInch == 120) {
        // Before the window is made: a window's alpha channel is chosen when it is created.
        const bool cutOut = !platformShapesWindows();
        m_window.setAttribute(Qt::WA_TranslucentBackground, cutOut);
        if (!cutOut)
            m_window.setAttribute(Qt::WA_NoSystemBackground, false);
        m_window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        m_window.setFixedSize(SkinLayout::DevicePicture.size());
        if (dotsPerInch == 96) {
            m_ui.shaper96->setActive(true);
        } else {
            static const qreal outlineScale = 16.0 / 13.0;
            if (!m_ui.shaper120->property("designUnits").toBool()) {
                m_ui.shaper120->setRegionData(designUnits(m_ui.shaper120->regionData(), outlineScale));
                m_ui.shaper120->setProperty("designUnits", true);
            }
            m_ui.shaper120->setActive(true);
        }
    } else {
        // No outline for this density: an ordinary window with a single border, sized to the picture.
        m_window.clearMask();
        m_window.setAttribute(Qt::WA_TranslucentBackground, false);
        m_window.setAttribute(Qt::WA_NoSystemBackground, false);
        m_window.setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        m_window.setFixedSize(m_window.childrenRect().united(SkinLayout::DevicePicture).size());
    }

    dressBackground();
    placeOnScreen();
    if (wasVisible)
        m_window.show();
}

bool HandsetSkin::isShaped() const
{
    return activeShaper() != nullptr;
}

bool HandsetSkin::dragBackground(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // The window manager moves the window where it can; elsewhere the window follows the mouse.
        if (m_window.windowHandle() && m_window.windowHandle()->startSystemMove())
            return true;
        m_dragging = true;
        m_dragOffset = mouse->globalPosition().toPoint() - m_window.frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_dragging || !(mouse->buttons() & Qt::LeftButton))
            return false;
        m_window.move(mouse->globalPosition().toPoint() - m_dragOffset);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_dragging)
            return false;
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

