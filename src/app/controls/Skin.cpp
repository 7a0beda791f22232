#include "Skin.h"

#include "ImageDecoders.h"
#include "TImgButton.h"
#include "TImgLed.h"

#include <QFile>
#include <QHash>

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

// Which pictures each of the main window's image buttons wears.
QString buttonRole(const QString& objectName)
{
    if (objectName == QLatin1String("Button1"))
        return QStringLiteral("send");
    if (objectName == QLatin1String("ImgButton2"))
        return QStringLiteral("area");
    if (objectName == QLatin1String("ImgButton4"))
        return QStringLiteral("close");
    if (objectName == QLatin1String("ImgButton5"))
        return QStringLiteral("menu");
    if (objectName == QLatin1String("SpeedButton1"))
        return QStringLiteral("phonebook");
    return {};
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
        for (const char* role : { "send", "area", "close", "menu", "phonebook" }) {
            for (const char* state : { "-leave.jpg", "-enter.jpg", "-disabled.jpg" })
                list << QLatin1String(role) + QLatin1String(state);
        }
        for (const char* lamp : { "led-red.jpg", "led-yellow.jpg", "led-green.jpg" })
            list << QLatin1String(lamp);
        for (int state = 0; state <= 2; ++state) {
            list << QStringLiteral("tray-%1.png").arg(state);
            list << QStringLiteral("tray-%1@2x.png").arg(state);
        }
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
        decoded().images.insert(name, std::move(picture));
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

QPixmap Skin::background()
{
    return pixmap(QStringLiteral("background.jpg"));
}

QPixmap Skin::defaultBanner()
{
    return pixmap(QStringLiteral("banner.gif"));
}

QPixmap Skin::aboutLogo()
{
    return pixmap(QStringLiteral("logo.gif"));
}

bool Skin::dressButton(TImgButton* button)
{
    const QString role = buttonRole(button->objectName());
    if (role.isEmpty())
        return false;
    button->setMLeavePicture(pixmap(role + QStringLiteral("-leave.jpg")));
    button->setMEnterPicture(pixmap(role + QStringLiteral("-enter.jpg")));
    button->setMDisabledPicture(pixmap(role + QStringLiteral("-disabled.jpg")));
    return true;
}

void Skin::dressLed(TImgLed* led)
{
    led->setImgRed(pixmap(QStringLiteral("led-red.jpg")));
    led->setImgYellow(pixmap(QStringLiteral("led-yellow.jpg")));
    led->setImgGreen(pixmap(QStringLiteral("led-green.jpg")));
}

QIcon Skin::trayImage(int state)
{
    if (state < 0 || state > 2)
        return {};
    const QString base = QStringLiteral("tray-%1").arg(state);
    QIcon icon;
    icon.addPixmap(pixmap(base + QStringLiteral(".png")));
    icon.addPixmap(pixmap(base + QStringLiteral("@2x.png")));
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
