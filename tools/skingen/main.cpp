// Draws the skin of the main window: the device picture, the image buttons' and the lamp's pictures,
// the built-in banner, the About box's logo, the tray images and the window outlines. The files go to
// the folder given as the first argument (resources/skin/); a second argument names a preview picture
// of the assembled window.
//
// Every picture is drawn once per pixel density: "name.jpg" for ordinary screens, "name@1.5x.jpg" and
// "name@2x.jpg" with 1.5 and 2 device pixels per window pixel. Each is drawn afresh at its size, never
// enlarged from the ordinary one, and the device's edge follows the outline as the window system scales
// it for that density.

#include "FormShapeData.h"
#include "Outline.h"
#include "Painting.h"
#include "PictureWriters.h"
#include "SkinLayout.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTextOption>
#include <QTextStream>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {
// The skin's screen colours: field background and text (the window's skin colours) and the
// screen's own darker glass.
const QColor FieldBack(0x07, 0x3B, 0x2E);
const QColor ScreenText(0x9C, 0xFE, 0xA4);
const QColor ScreenTop(0x05, 0x2F, 0x25);
const QColor ScreenBottom(0x03, 0x22, 0x1B);
const QColor TitleBar(0x03, 0x25, 0x1D);

const QString LatinFamily = QStringLiteral("DejaVu Sans");
const QString HebrewFamily = QStringLiteral("Nachlieli CLM");

QFont font(const QString& family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Hebrew lines are laid out right to left even when they begin with a Latin word.
void drawRtl(QPainter& p, const QRectF& rect, const QString& text, Qt::Alignment alignment)
{
    QTextOption option(alignment | Qt::AlignAbsolute);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::NoWrap);
    p.drawText(rect, text, option);
}

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "skingen: %s\n", qPrintable(what));
    std::exit(1);
}

// ---- outline --------------------------------------------------------------------------------

struct Expected
{
    int dpi;
    QRect bounds;
    QRect rows[3];
    QRect body;
    QRect last;
};

// Rectangles given as (left, top, right, bottom) with exclusive right and bottom.
QRect edges(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

// The outline data must be exactly what the window description has always carried.
void checkOutline(const QByteArray& data, const Expected& e)
{
    QVector<QRect> rects;
    QRect bounds;
    if (!FormShapeData::parse(data, &rects, &bounds))
        fail(QStringLiteral("outline %1 does not parse").arg(e.dpi));
    auto check = [&](bool ok, const char* what) {
        if (!ok)
            fail(QStringLiteral("outline %1: %2").arg(e.dpi).arg(QLatin1String(what)));
    };
    check(data.size() == 1040, "length is not 1040");
    check(rects.size() == 63, "not 63 rectangles");
    check(bounds == e.bounds, "bounding rectangle");
    check(rects[0] == e.rows[0] && rects[1] == e.rows[1] && rects[2] == e.rows[2], "first rows");
    check(rects[15] == e.body, "body rectangle");
    check(rects[62] == e.last, "last row");
    for (int i = 1; i < rects.size(); ++i)
        check(rects[i].top() == rects[i - 1].top() + rects[i - 1].height(), "rows not contiguous");
}

QByteArray outlineData(const Outline& outline)
{
    return FormShapeData::regionData(regionOf(outline));
}

// ---- the device picture -----------------------------------------------------------------------

// Per pixel of the body: how many steps it lies inside the outline (1 on the edge), up to `limit`.
QVector<int> depthMap(const Outline& outline, int width, int height, int limit)
{
    QVector<int> depth(width * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (contains(outline, x, y))
                depth[y * width + x] = limit + 1;
    for (int level = 1; level <= limit; ++level) {
        QVector<int> next = depth;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (depth[y * width + x] != limit + 1)
                    continue;
                bool edge = false;
                for (int dy = -1; dy <= 1 && !edge; ++dy)
                    for (int dx = -1; dx <= 1 && !edge; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        const int d = (nx < 0 || ny < 0 || nx >= width || ny >= height) ? 0 : depth[ny * width + nx];
                        edge = d < level;
                    }
                if (edge)
                    next[y * width + x] = level;
            }
        }
        depth = next;
    }
    return depth;
}

// The outline in device pixels at `scale`, row by row.
Outline scaledOutline(const Outline& outline, qreal scale)
{
    Outline rows;
    for (const QRect& rect : FormShapeData::scaled(regionOf(outline), scale)) {
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            rows.append({ y, rect.left(), rect.right() + 1 });
    }
    return rows;
}

// The device's body in device pixels: `outline` and `size` are already scaled; the frame's bands are
// `scale` device pixels wide each.
QImage bodyLayer(const Outline& outline, const QSize& size, qreal scale)
{
    const int w = size.width();
    const int h = size.height();
    const int limit = qCeil(5 * scale);
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (contains(outline, x, y))
                mask.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QImage soft = blurred(mask, qRound(2 * scale));
    const QVector<int> depth = depthMap(outline, w, h, limit);

    // Light comes from the upper left; a pixel's outward normal is the falling side of the blurred mask.
    const qreal lx = -0.45, ly = -0.89;
    auto alphaAt = [&soft](int x, int y) {
        x = qBound(0, x, soft.width() - 1);
        y = qBound(0, y, soft.height() - 1);
        return qAlpha(soft.pixel(x, y)) / 255.0;
    };

    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int raw = depth[y * w + x];
            if (raw == 0)
                continue;
            const int d = raw > limit ? 6 : qCeil(raw / scale);
            qreal nx = alphaAt(x - 1, y) - alphaAt(x + 1, y);
            qreal ny = alphaAt(x, y - 1) - alphaAt(x, y + 1);
            const qreal len = qSqrt(nx * nx + ny * ny);
            qreal light = 0;
            if (len > 1e-6)
                light = (nx * lx + ny * ly) / len;
            // Front glass: near black, a little lighter towards the top.
            const qreal t = (y / scale - 7) / 362.0;
            QColor glass = mixed(QColor(0x1a, 0x1e, 0x23), QColor(0x0b, 0x0d, 0x10), qBound(0.0, t, 1.0));
            QColor c;
            switch (d) {
            case 1: // the frame's outer edge
                c = QColor::fromHslF(0.58, 0.06, qBound(0.0, 0.34 + 0.22 * light, 1.0));
                break;
            case 2: // polished chamfer
                c = QColor::fromHslF(0.58, 0.08, qBound(0.0, 0.62 + 0.25 * light, 1.0));
                break;
            case 3: // the frame's flat
                c = QColor::fromHslF(0.58, 0.07, qBound(0.0, 0.44 + 0.12 * light, 1.0));
                break;
            case 4: // where the glass meets the frame
                c = QColor::fromHslF(0.58, 0.08, 0.10);
                break;
            default:
                c = glass;
                break;
            }
            layer.setPixel(x, y, c.rgba());
        }
    }
    return layer;
}

void drawFrontDetails(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    // Earpiece.
    const QRectF ear(116, 17, 44, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2c, 0x31, 0x37));
    p.drawRoundedRect(ear.adjusted(-0.5, -0.5, 0.5, 0.5), 3, 3);
    p.setBrush(QColor(0x05, 0x06, 0x07));
    p.drawRoundedRect(ear, 2.5, 2.5);
    p.setPen(QPen(QColor(0x24, 0x28, 0x2d), 1));
    for (qreal x = 119; x < 158; x += 2.5)
        p.drawPoint(QPointF(x, 19.5));
    // Front camera: a lens in a dark ring, with a small blue reflection.
    const QPointF cam(176.5, 19.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x2f, 0x35));
    p.drawEllipse(cam, 4.2, 4.2);
    QRadialGradient lens(cam, 3.4, cam + QPointF(-1, -1));
    lens.setColorAt(0, QColor(0x1c, 0x2f, 0x4a));
    lens.setColorAt(0.6, QColor(0x08, 0x0c, 0x14));
    lens.setColorAt(1, QColor(0x02, 0x03, 0x05));
    p.setBrush(lens);
    p.drawEllipse(cam, 3.4, 3.4);
    p.setBrush(QColor(0x7f, 0xa8, 0xe0, 170));
    p.drawEllipse(cam + QPointF(-1.1, -1.1), 0.9, 0.9);
    // Light sensor.
    p.setBrush(QColor(0x22, 0x26, 0x2b));
    p.drawEllipse(QPointF(99.5, 19.5), 1.8, 1.8);
}

void drawScreen(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF screen = SkinLayout::Screen;
    // A thin black border where the display meets the glass.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x02, 0x03, 0x03));
    p.drawRoundedRect(screen.adjusted(-1.5, -1.5, 1.5, 1.5), 5, 5);

    QLinearGradient back(screen.topLeft(), screen.bottomLeft());
    back.setColorAt(0, ScreenTop);
    back.setColorAt(1, ScreenBottom);
    p.setBrush(back);
    p.drawRoundedRect(screen, 3.5, 3.5);

    p.save();
    p.setClipRect(screen);
    // Title bar with the program's name; the close and menu buttons and the lamp sit on it.
    const QRectF bar(screen.left(), screen.top(), screen.width(), 25);
    p.setBrush(TitleBar);
    p.drawRoundedRect(bar.adjusted(0, 0, 0, 4), 3.5, 3.5);
    p.fillRect(QRectF(bar.left(), bar.bottom(), bar.width(), 4), back);
    p.fillRect(QRectF(24, 57, 228, 1), withAlpha(ScreenText, 80));

    p.setFont(font(LatinFamily, 11, true));
    p.setPen(ScreenText);
    p.drawText(QRectF(70, 35, 146, 18), Qt::AlignCenter, QStringLiteral("Zelkora"));

    // A faint glow at the top of the display, and its edges a touch darker so it sits under the glass.
    QRadialGradient glow(QPointF(138, 70), 150);
    glow.setColorAt(0, withAlpha(QColor(0x1f, 0x8f, 0x6c), 26));
    glow.setColorAt(1, withAlpha(QColor(0x1f, 0x8f, 0x6c), 0));
    p.fillRect(screen.adjusted(0, 26, 0, 0), glow);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.drawRoundedRect(screen.adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
}

void drawChin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    // A recess around the send button, so the button seems set into the glass.
    const QRectF well = QRectF(SkinLayout::SendButton).adjusted(-2.5, -2.5, 2.5, 2.5);
    p.setPen(QPen(QColor(0x30, 0x35, 0x3b), 1));
    p.setBrush(QColor(0x03, 0x04, 0x05));
    p.drawRoundedRect(well, well.height() / 2, well.height() / 2);
}

void drawGlassSheen(QPainter& p, const Outline& outline)
{
    // One broad diagonal reflection across the upper glass, kept off the display.
    p.save();
    QRegion glass = regionOf(outline).subtracted(QRegion(SkinLayout::Screen.adjusted(-2, -2, 2, 2)));
    p.setClipRegion(glass);
    QLinearGradient sheen(QPointF(10, 7), QPointF(150, 200));
    sheen.setColorAt(0, QColor(255, 255, 255, 20));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 6));
    sheen.setColorAt(0.51, QColor(255, 255, 255, 0));
    p.fillRect(QRect(14, 11, 248, 354), sheen);
    p.restore();
}

QImage drawBackdrop(const QSize& size, qreal scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.scale(scale, scale);
    QLinearGradient back(0, 0, 0, size.height());
    back.setColorAt(0, QColor(0x2b, 0x31, 0x38));
    back.setColorAt(1, QColor(0x12, 0x15, 0x18));
    p.fillRect(QRect(QPoint(0, 0), size), back);
    QRadialGradient light(QPointF(size.width() / 2.0, 120), 220);
    light.setColorAt(0, QColor(255, 255, 255, 18));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(QPoint(0, 0), size), light);
    return image;
}

QImage drawDevice(const Outline& outline, qreal scale)
{
    const QSize size = SkinLayout::DevicePicture.size() * scale;
    QImage device = bodyLayer(scaledOutline(outline, scale), size, scale);
    QPainter p(&device);
    p.setClipRegion(FormShapeData::scaled(regionOf(outline), scale));
    p.scale(scale, scale);
    drawFrontDetails(p);
    drawScreen(p);
    drawChin(p);
    drawGlassSheen(p, outline);
    return device;
}

QImage drawBackground(const Outline& outline, qreal scale)
{
    const QSize size = SkinLayout::DevicePicture.size() * scale;
    const QImage device = drawDevice(outline, scale);
    QImage image = drawBackdrop(SkinLayout::DevicePicture.size(), scale);
    QPainter p(&image);

    // The device's shadow and, under it, its reflection on a dark, glossy floor.
    QImage shadow(size, QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter s(&shadow);
        s.setClipRegion(FormShapeData::scaled(regionOf(outline).translated(0, 5), scale));
        s.fillRect(shadow.rect(), QColor(0, 0, 0, 170));
    }
    p.drawImage(0, 0, blurred(shadow, qRound(5 * scale)));

    const int floor = qRound((SkinLayout::Body.bottom() + 4) * scale);
    const int reflected = qRound(90 * scale);
    QImage reflection = device.copy(0, floor - reflected, size.width(), reflected).mirrored(false, true);
    {
        QPainter r(&reflection);
        r.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(0, 0, 0, 60 * scale);
        fade.setColorAt(0, QColor(0, 0, 0, 60));
        fade.setColorAt(1, QColor(0, 0, 0, 0));
        r.fillRect(reflection.rect(), fade);
    }
    p.drawImage(0, floor, reflection);
    p.drawImage(0, 0, device);
    p.end();
    image = image.convertToFormat(QImage::Format_RGB32);

    // A pixel of noise over the display breaks the gentle gradients' bands into grain.
    QRandomGenerator noise(7);
    const QRect screen = FormShapeData::scaled(QRegion(SkinLayout::Screen), scale).boundingRect();
    for (int y = screen.top(); y <= screen.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = screen.left(); x <= screen.right(); ++x) {
            const int d = noise.bounded(3) - 1;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255), qBound(0, qBlue(c) + d, 255));
        }
    }
    return image;
}

// ---- image buttons and the lamp -----------------------------------------------------------------

enum class State
{
    Leave,
    Enter,
    Disabled
};

QColor glyphColour(State state)
{
    switch (state) {
    case State::Leave:
        return ScreenText;
    case State::Enter:
        return QColor(0xE4, 0xFF, 0xE6);
    case State::Disabled:
        break;
    }
    return mixed(ScreenText, TitleBar, 0.68);
}

// The background under a control, with the control drawn over it by `paint`.
QImage onBackground(const QImage& background, const QRect& rect, qreal scale,
    const std::function<void(QPainter&, const QRectF&)>& paint)
{
    const QRect area((QPointF(rect.topLeft()) * scale).toPoint(), rect.size() * scale);
    QImage image = background.copy(area).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paint(p, QRectF(0, 0, rect.width(), rect.height()));
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

// The highlight disc of the screen's glyph buttons under the mouse.
void hoverDisc(QPainter& p, const QRectF& r, State state)
{
    if (state != State::Enter)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(ScreenText, 48));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void paintClose(QPainter& p, const QRectF& r, State state)
{
    hoverDisc(p, r, state);
    QPen pen(glyphColour(state), 2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(5.5, 5.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 5.5), QPointF(5.5, 12.5));
}

void paintMenu(QPainter& p, const QRectF& r, State state)
{
    hoverDisc(p, r, state);
    QPen pen(glyphColour(state), 2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    for (const qreal y : { 5.0, 9.0, 13.0 })
        p.drawLine(QPointF(4.5, y), QPointF(13.5, y));
}

void paintPhoneBook(QPainter& p, const QRectF& r, State state)
{
    hoverDisc(p, r, state);
    const QColor c = glyphColour(state);
    // A contact card: the card, a head and shoulders, and the binder's two rings on the left.
    p.setPen(QPen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5.5, 2.5, 11, 13), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(11, 7), 2.1, 2.1);
    QPainterPath shoulders;
    shoulders.moveTo(7.4, 13.2);
    shoulders.cubicTo(7.6, 9.6, 14.4, 9.6, 14.6, 13.2);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 5.5), QPointF(6.5, 5.5));
    p.drawLine(QPointF(3.5, 12.5), QPointF(6.5, 12.5));
}

void paintArea(QPainter& p, const QRectF& r, State state)
{
    hoverDisc(p, r, state);
    p.setPen(Qt::NoPen);
    p.setBrush(glyphColour(state));
    QPainterPath arrow;
    arrow.moveTo(2.5, 8);
    arrow.lineTo(11.5, 8);
    arrow.lineTo(7, 13.5);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void paintSend(QPainter& p, const QRectF& r, State state)
{
    const QRectF pill = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = pill.height() / 2;
    QColor top, bottom, border, icon;
    switch (state) {
    case State::Leave:
        top = QColor(0x4c, 0xd9, 0x86);
        bottom = QColor(0x1c, 0x94, 0x4d);
        border = QColor(0x12, 0x5e, 0x33);
        icon = Qt::white;
        break;
    case State::Enter:
        top = QColor(0x74, 0xf2, 0xa4);
        bottom = QColor(0x25, 0xb3, 0x60);
        border = QColor(0x1a, 0x7a, 0x43);
        icon = Qt::white;
        break;
    case State::Disabled:
        top = QColor(0x4d, 0x53, 0x59);
        bottom = QColor(0x33, 0x37, 0x3c);
        border = QColor(0x22, 0x25, 0x29);
        icon = QColor(0x86, 0x8c, 0x93);
        break;
    }
    QLinearGradient fill(pill.topLeft(), pill.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(pill, radius, radius);

    // Gloss on the upper half.
    QLinearGradient gloss(pill.topLeft(), QPointF(pill.left(), pill.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, state == State::Disabled ? 40 : 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(pill.adjusted(2, 1.5, -2, -pill.height() / 2), radius - 2, radius - 2);

    const QRectF plane(r.center().x() - 8, r.center().y() - 7.5, 16, 15);
    p.setBrush(withAlpha(Qt::black, state == State::Disabled ? 0 : 50));
    p.drawPath(paperPlane(plane.translated(0, 1)));
    p.setBrush(icon);
    p.drawPath(paperPlane(plane));
}

void paintLed(QPainter& p, const QRectF& r, const QColor& light, const QColor& dark)
{
    const QPointF c = r.center();
    QRadialGradient glow(c, 8);
    glow.setColorAt(0.45, withAlpha(light, 120));
    glow.setColorAt(1, withAlpha(light, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, 8, 8);
    p.setBrush(QColor(0x01, 0x12, 0x0d));
    p.drawEllipse(c, 5.6, 5.6);
    QRadialGradient bead(c, 4.8, c + QPointF(-1.2, -1.4));
    bead.setColorAt(0, mixed(light, Qt::white, 0.35));
    bead.setColorAt(0.55, light);
    bead.setColorAt(1, dark);
    p.setBrush(bead);
    p.drawEllipse(c, 4.8, 4.8);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(QRectF(c.x() - 3.0, c.y() - 3.4, 3.0, 2.0));
}

// ---- tray images, banner and logo ---------------------------------------------------------------

const QColor LampLight[3] = { QColor(0xff, 0x5d, 0x4f), QColor(0xff, 0xd8, 0x4a), QColor(0x6e, 0xf5, 0x85) };
const QColor LampDark[3] = { QColor(0xa8, 0x12, 0x0a), QColor(0xb8, 0x86, 0x00), QColor(0x10, 0x8c, 0x2a) };

QImage trayImage(int state, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    const QRectF box(0.75 * s, 1.25 * s, 14.5 * s, 13.5 * s);
    const QPainterPath bubble = speechBubble(box);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, mixed(LampLight[state], Qt::white, 0.25));
    fill.setColorAt(1, LampDark[state]);
    p.setPen(QPen(QColor(0x12, 0x16, 0x1a, 230), s > 1 ? 1.5 : 1.0));
    p.setBrush(fill);
    p.drawPath(bubble);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    if (size < 32) {
        // Whole pixels: a round dot of two pixels would blur into a dash.
        p.setRenderHint(QPainter::Antialiasing, false);
        for (const int x : { 4, 7, 10 })
            p.drawRect(QRect(x, 5, 2, 2));
        return image;
    }
    const qreal dotY = box.top() + box.height() * 0.37;
    for (const qreal x : { 0.32, 0.5, 0.68 })
        p.drawEllipse(QPointF(box.left() + box.width() * x, dotY), 1.9, 1.9);
    return image;
}

void drawBubbleIcon(QPainter& p, const QRectF& box)
{
    const QPainterPath bubble = speechBubble(box);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, QColor(0x7d, 0xf7, 0x9a));
    fill.setColorAt(1, QColor(0x13, 0x9a, 0x4c));
    p.setPen(QPen(QColor(0x0b, 0x4f, 0x2d), 1.2));
    p.setBrush(fill);
    p.drawPath(bubble);
    // The gloss of the bubble's upper half.
    p.save();
    p.setClipPath(bubble);
    QLinearGradient gloss(box.topLeft(), QPointF(box.left(), box.top() + box.height() * 0.4));
    gloss.setColorAt(0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRect(box.adjusted(0, 0, 0, -box.height() * 0.6));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const qreal y = box.top() + box.height() * 0.37;
    const qreal r = box.width() * 0.065;
    for (const qreal x : { 0.3, 0.5, 0.7 })
        p.drawEllipse(QPointF(box.left() + box.width() * x, y), r, r);
}

QImage drawBanner(qreal scale)
{
    const QSize size = SkinLayout::BannerImage.size();
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QLinearGradient back(0, 0, size.width(), size.height());
    back.setColorAt(0, QColor(0x04, 0x2a, 0x21));
    back.setColorAt(1, QColor(0x0b, 0x55, 0x41));
    p.fillRect(QRect(QPoint(0, 0), size), back);
    // Light streaks rising to the right, behind the text.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        QPainterPath streak;
        const qreal x = -20 + i * 34;
        streak.moveTo(x, 56);
        streak.lineTo(x + 40, 0);
        streak.lineTo(x + 52 + i * 4, 0);
        streak.lineTo(x + 12 + i * 4, 56);
        streak.closeSubpath();
        p.setBrush(QColor(0x9c, 0xfe, 0xa4, 10 + i * 3));
        p.drawPath(streak);
    }
    drawBubbleIcon(p, QRectF(151, 9, 37, 36));

    p.setPen(ScreenText);
    p.setFont(font(LatinFamily, 20, true));
    p.drawText(QRectF(8, 5, 136, 26), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Zelkora"));
    p.setPen(Qt::white);
    const QString tagline = QStringLiteral("SMS מהמחשב לכל הרשתות");
    const QRectF line(4, 30, 140, 20);
    int pixels = 14;
    while (pixels > 9 && QFontMetricsF(font(HebrewFamily, pixels, true)).horizontalAdvance(tagline) > line.width())
        --pixels;
    p.setFont(font(HebrewFamily, pixels, true));
    drawRtl(p, line, tagline, Qt::AlignRight | Qt::AlignVCenter);
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage drawLogo(qreal scale)
{
    QImage image(QSize(195, 56) * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    drawBubbleIcon(p, QRectF(8, 8, 42, 40));
    p.setPen(QColor(0x0a, 0x4d, 0x3c));
    p.setFont(font(LatinFamily, 27, true));
    p.drawText(QRectF(56, 4, 136, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelkora"));
    p.setPen(QColor(0x5f, 0x70, 0x6b));
    QFont small = font(LatinFamily, 10, false);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(small);
    p.drawText(QRectF(58, 36, 134, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("SMS FOR LINUX"));
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

// ---- preview ------------------------------------------------------------------------------------

// The assembled window as the main window shows it, for looking at while drawing the skin.
QImage preview(const QImage& background, const QImage& banner, const QVector<QPair<QRect, QImage>>& pictures,
    const Outline& outline, bool shaped)
{
    QImage image = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    for (const auto& picture : pictures)
        p.drawImage(picture.first.topLeft(), picture.second);
    p.drawImage(SkinLayout::BannerImage.topLeft(), banner);

    auto field = [&p](const QRect& r, const QString& text, bool rtl) {
        p.fillRect(r, FieldBack);
        p.setPen(ScreenText);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        p.setFont(font(HebrewFamily, 12, false));
        const Qt::Alignment top = r.height() > 30 ? Qt::AlignTop : Qt::AlignVCenter;
        if (rtl)
            drawRtl(p, r.adjusted(3, 1, -3, 0), text, Qt::AlignRight | top);
        else
            p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignLeft | top, text);
    };
    field(SkinLayout::SenderEdit, QStringLiteral("דנה"), true);
    field(SkinLayout::RecipientLabel, QStringLiteral("יוסי כהן"), true);
    field(SkinLayout::AreaCodeEdit, QStringLiteral("052"), false);
    field(SkinLayout::NumberEdit, QStringLiteral("1234567"), false);
    field(SkinLayout::MessageEdit, QStringLiteral("נפגשים בשמונה?"), true);
    field(SkinLayout::StatusLine, QStringLiteral("פעיל"), true);
    p.setPen(ScreenText);
    p.setFont(font(HebrewFamily, 12, true));
    const QRect col = SkinLayout::LabelColumn;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    drawRtl(p, QRect(col.left(), 124, col.width(), 18), QStringLiteral("השולח:"), right);
    drawRtl(p, QRect(col.left(), 146, col.width(), 18), QStringLiteral("אל:"), right);
    drawRtl(p, QRect(col.left(), 168, col.width(), 18), QStringLiteral("טלפון:"), right);
    drawRtl(p, SkinLayout::MessageLabelLine, QStringLiteral("ההודעה: (14)"), right);
    p.drawText(QRect(75, 168, 12, 18), Qt::AlignCenter, QStringLiteral("-"));
    p.end();
    if (!shaped)
        return image;
    QImage cut(image.size(), QImage::Format_ARGB32_Premultiplied);
    cut.fill(QColor(0xd8, 0xdc, 0xe0));
    QPainter c(&cut);
    c.setClipRegion(regionOf(outline));
    c.drawImage(0, 0, image);
    c.end();
    return cut;
}

void save(bool ok, const QString& path)
{
    if (!ok)
        fail(QStringLiteral("cannot write %1").arg(path));
    std::printf("wrote %s\n", qPrintable(path));
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        fail(QStringLiteral("usage: skingen OUTPUT-FOLDER [PREVIEW.png]"));
    const QDir out(args.at(1));
    if (!out.exists())
        fail(QStringLiteral("no folder %1").arg(args.at(1)));
    for (const QString& family : { LatinFamily, HebrewFamily }) {
        if (!QFontDatabase::families().contains(family))
            fail(QStringLiteral("font %1 is not installed").arg(family));
    }
    auto file = [&out](const QString& name) { return out.filePath(name); };

    // Outlines.
    const Outline shape96 = outline96();
    const QByteArray data96 = outlineData(shape96);
    const QByteArray data120 = outlineData(outline120());
    checkOutline(data96,
        { 96, edges(10, 7, 266, 369), { edges(28, 7, 248, 8), edges(26, 8, 252, 9), edges(23, 9, 253, 10) },
            edges(10, 27, 266, 320), edges(115, 368, 161, 369) });
    checkOutline(data120,
        { 120, edges(12, 9, 327, 454), { edges(34, 9, 305, 10), edges(32, 10, 310, 11), edges(28, 11, 311, 12) },
            edges(12, 33, 327, 393), edges(141, 452, 198, 454) });
    for (const auto& [name, data] : { qMakePair(QStringLiteral("formshape96.bin"), data96),
             qMakePair(QStringLiteral("formshape120.bin"), data120) }) {
        QFile f(file(name));
        save(f.open(QIODevice::WriteOnly) && FormShapeData::write(f, data), f.fileName());
    }

    for (int state = 0; state < 3; ++state) {
        const QString base = QStringLiteral("tray-%1").arg(state);
        save(writePng(trayImage(state, 16), file(base + QStringLiteral(".png"))), file(base + QStringLiteral(".png")));
        save(writePng(trayImage(state, 32), file(base + QStringLiteral("@2x.png"))),
            file(base + QStringLiteral("@2x.png")));
    }

    struct Density
    {
        qreal scale;
        QString suffix;
    };
    const Density densities[]
        = { { 1.0, QString() }, { 1.5, QStringLiteral("@1.5x") }, { 2.0, QStringLiteral("@2x") } };
    QImage background;
    QImage banner;
    QVector<QPair<QRect, QImage>> shown;
    for (const Density& density : densities) {
        const qreal scale = density.scale;
        auto named
            = [&](const QString& stem, const QString& extension) { return file(stem + density.suffix + extension); };
        // The device picture.
        const QImage picture = drawBackground(shape96, scale);
        save(writeJpeg(picture, named(QStringLiteral("background"), QStringLiteral(".jpg"))),
            named(QStringLiteral("background"), QStringLiteral(".jpg")));

        // Buttons and lamp, cut from the picture.
        struct Button
        {
            QString role;
            QRect rect;
            void (*paint)(QPainter&, const QRectF&, State);
        };
        const Button buttons[] = {
            { QStringLiteral("send"), SkinLayout::SendButton, paintSend },
            { QStringLiteral("area"), SkinLayout::AreaMenuButton, paintArea },
            { QStringLiteral("close"), SkinLayout::CloseButton, paintClose },
            { QStringLiteral("menu"), SkinLayout::MenuButton, paintMenu },
            { QStringLiteral("phonebook"), SkinLayout::PhoneBookButton, paintPhoneBook },
        };
        for (const Button& b : buttons) {
            const QPair<State, QString> states[] = { { State::Leave, QStringLiteral("leave") },
                { State::Enter, QStringLiteral("enter") }, { State::Disabled, QStringLiteral("disabled") } };
            for (const auto& [state, suffix] : states) {
                const QImage cut
                    = onBackground(picture, b.rect, scale, [&](QPainter& p, const QRectF& r) { b.paint(p, r, state); });
                const QString name = named(b.role + QLatin1Char('-') + suffix, QStringLiteral(".jpg"));
                save(writeJpeg(cut, name), name);
                if (state == State::Leave && scale == 1.0)
                    shown.append({ b.rect, cut });
            }
        }
        const QString lamps[] = { QStringLiteral("red"), QStringLiteral("yellow"), QStringLiteral("green") };
        for (int i = 0; i < 3; ++i) {
            const QImage cut = onBackground(picture, SkinLayout::ConnectionLamp, scale,
                [&](QPainter& p, const QRectF& r) { paintLed(p, r, LampLight[i], LampDark[i]); });
            const QString name = named(QStringLiteral("led-") + lamps[i], QStringLiteral(".jpg"));
            save(writeJpeg(cut, name), name);
            if (i == 2 && scale == 1.0)
                shown.append({ SkinLayout::ConnectionLamp, cut });
        }

        const QImage bannerPicture = drawBanner(scale);
        save(writeGif(bannerPicture, named(QStringLiteral("banner"), QStringLiteral(".gif"))),
            named(QStringLiteral("banner"), QStringLiteral(".gif")));
        save(writeGif(drawLogo(scale), named(QStringLiteral("logo"), QStringLiteral(".gif"))),
            named(QStringLiteral("logo"), QStringLiteral(".gif")));
        if (scale == 1.0) {
            background = picture;
            banner = bannerPicture;
        }
    }

    if (args.size() >= 3) {
        const QString path = args.at(2);
        save(preview(background, banner, shown, shape96, true).save(path), path);
        QString framed = path;
        framed.replace(QStringLiteral(".png"), QStringLiteral("-framed.png"));
        save(preview(background, banner, shown, shape96, false).save(framed), framed);
    }
    return 0;
}
