#include "Skin.h"

#include "FormShapeData.h"
#include "TImgButton.h"
#include "TImgLed.h"
#include "common/ImageDecoders.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>

#include <mutex>

// Q_INIT_RESOURCE names a function in the global namespace, so it cannot be called from inside Skin.
static void registerSkinResources()
{
    Q_INIT_RESOURCE(skin);
}

namespace {
QString path(const QString& fileName)
{
    return QStringLiteral(":/skin/") + fileName;
}

// The main window's image buttons by object name, and the name their pictures are filed under.
struct ButtonRole
{
    const char* objectName;
    const char* role;
};
constexpr ButtonRole ButtonRoles[] = {
    { "sendButton", "send" },
    { "areaMenuButton", "area" },
    { "closeButton", "close" },
    { "menuButton", "menu" },
    { "phoneBookButton", "phonebook" },
};

QString buttonRole(const QString& objectName)
{
    for (const ButtonRole& entry : ButtonRoles) {
        if (objectName == QLatin1String(entry.objectName))
            return QLatin1String(entry.role);
    }
    return {};
}

// A button's pictures: mouse away, mouse over, disabled.
QStringList buttonPictures(const QString& role)
{
    return { role + QStringLiteral("-leave.jpg"), role + QStringLiteral("-enter.jpg"),
        role + QStringLiteral("-disabled.jpg") };
}

// The lamp's pictures: red, yellow, green.
QStringList lampPictures()
{
    return { QStringLiteral("led-red.jpg"), QStringLiteral("led-yellow.jpg"), QStringLiteral("led-green.jpg") };
}

// A connection state's tray pictures: ordinary and for dense screens.
QStringList trayPictures(int state)
{
    const QString base = QStringLiteral("tray-%1").arg(state);
    return { base + QStringLiteral(".png"), base + QStringLiteral("@2x.png") };
}
} // namespace

void Skin::initResources()
{
    static const bool registered = [] {
        registerSkinResources();
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {
// Pictures decoded ahead of their first use, by name; taken out as they are asked for.
struct Decoded
{
    std::mutex mutex;
    QHash<QString, QImage> images;
};

Decoded& decoded()
{
    static Decoded store;
    return store;
}
} // namespace

const QStringList& Skin::mainWindowPictures()
{
    static const QStringList names = [] {
        QStringList list { QStringLiteral("background.jpg"), QStringLiteral("banner.gif") };
        for (const ButtonRole& entry : ButtonRoles)
            list << buttonPictures(QLatin1String(entry.role));
        list << lampPictures();
        for (int state = 0; state <= 2; ++state)
            list << trayPictures(state);
        return list;
    }();
    return names;
}

void Skin::decodeAhead(const QStringList& fileNames)
{
    initResources();
    for (const QString& name : fileNames) {
        QImage picture = ImageDecoders::decodeFile(path(name));
        const std::lock_guard<std::mutex> lock(decoded().mutex);
        decoded().images.insert(name, picture);
    }
}

QImage Skin::image(const QString& fileName)
{
    {
        const std::lock_guard<std::mutex> lock(decoded().mutex);
        const auto found = decoded().images.constFind(fileName);
        if (found != decoded().images.cend()) {
            QImage picture = *found;
            decoded().images.erase(found);
            return picture;
        }
    }
    initResources();
    return ImageDecoders::decodeFile(path(fileName));
}

QPixmap Skin::pixmap(const QString& fileName)
{
    return QPixmap::fromImage(image(fileName));
}

qreal Skin::pictureScale(qreal devicePixelRatio)
{
    if (devicePixelRatio < 1.25)
        return 1.0;
    if (devicePixelRatio < 1.75)
        return 1.5;
    return 2.0;
}

QString Skin::fileNameFor(const QString& fileName, qreal scale)
{
    if (scale == 1.0)
        return fileName;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString density = scale == 1.5 ? QStringLiteral("@1.5x") : QStringLiteral("@%1x").arg(qRound(scale));
    return dot < 0 ? fileName + density : fileName.left(dot) + density + fileName.mid(dot);
}

QPixmap Skin::pixmap(const QString& fileName, qreal devicePixelRatio)
{
    const qreal scale = pictureScale(devicePixelRatio);
    if (scale != 1.0) {
        QImage dense = image(fileNameFor(fileName, scale));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(scale);
            return QPixmap::fromImage(dense);
        }
    }
    return pixmap(fileName);
}

qreal Skin::primaryRatio()
{
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->devicePixelRatio() : 1.0;
}

QPixmap Skin::background(qreal devicePixelRatio)
{
    return pixmap(QStringLiteral("background.jpg"), devicePixelRatio);
}

QPixmap Skin::defaultBanner(qreal devicePixelRatio)
{
    return pixmap(QStringLiteral("banner.gif"), devicePixelRatio);
}

QPixmap Skin::aboutLogo(qreal devicePixelRatio)
{
    return pixmap(QStringLiteral("logo.gif"), devicePixelRatio);
}

QPixmap Skin::cutOut(const QPixmap& picture, const QRegion& outline)
{
    // The cut is made in the picture's own pixels with the outline scaled as the window system scales a
    // window's outline, so the edge is the same whether a window is shaped or drawn transparent.
    QImage cut(picture.size(), QImage::Format_ARGB32_Premultiplied);
    cut.fill(Qt::transparent);
    QPainter painter(&cut);
    painter.setClipRegion(FormShapeData::scaled(outline, picture.devicePixelRatio()));
    QPixmap unscaled = picture;
    unscaled.setDevicePixelRatio(1.0);
    painter.drawPixmap(0, 0, unscaled);
    painter.end();
    cut.setDevicePixelRatio(picture.devicePixelRatio());
    return QPixmap::fromImage(cut);
}

bool Skin::dressButton(TImgButton* button, qreal devicePixelRatio)
{
    const QString role = buttonRole(button->objectName());
    if (role.isEmpty())
        return false;
    const QStringList pictures = buttonPictures(role);
    button->setMLeavePicture(pixmap(pictures[0], devicePixelRatio));
    button->setMEnterPicture(pixmap(pictures[1], devicePixelRatio));
    button->setMDisabledPicture(pixmap(pictures[2], devicePixelRatio));
    return true;
}

void Skin::dressLed(TImgLed* led, qreal devicePixelRatio)
{
    const QStringList pictures = lampPictures();
    led->setImgRed(pixmap(pictures[0], devicePixelRatio));
    led->setImgYellow(pixmap(pictures[1], devicePixelRatio));
    led->setImgGreen(pixmap(pictures[2], devicePixelRatio));
}

QIcon Skin::trayImage(int state)
{
    if (state < 0 || state > 2)
        return {};
    QIcon icon;
    for (const QString& picture : trayPictures(state))
        icon.addPixmap(pixmap(picture));
    return icon;
}

QByteArray Skin::formShape(int dotsPerInch)
{
    if (dotsPerInch != 96 && dotsPerInch != 120)
        return {};
    initResources();
    QFile file(path(QStringLiteral("formshape%1.bin").arg(dotsPerInch)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
