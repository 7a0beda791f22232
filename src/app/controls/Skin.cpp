#include "Skin.h"

#include "ImageDecoders.h"
#include "TImgButton.h"
#include "TImgLed.h"

#include <QFile>

// Q_INIT_RESOURCE names a function in the global namespace, so it cannot be called from inside Skin.
static void registerSkinResources()
{
    Q_INIT_RESOURCE(skin);
}

namespace
{
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

QImage Skin::image(const QString& fileName)
{
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
