#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

class TImgButton;
class TImgLed;

// The built-in skin: the pictures under ":/skin/" and the window outlines. The pictures are decoded by
// ImageDecoders, so what the skin shows goes through the same code as the service's banners.
namespace Skin {
// Registers the skin's resources; every function below calls it, so only code that reads ":/skin/"
// paths directly needs to call it first.
void initResources();

// The pictures the main window shows from its creation on.
const QStringList& mainWindowPictures();
// Decodes pictures ahead of their use; image() hands each out once, then decodes again. Safe on any
// thread, so the pictures can be decoded while the application object is being made.
void decodeAhead(const QStringList& fileNames);

// A picture of the skin by file name ("background.jpg"); null when there is none.
QImage image(const QString& fileName);
QPixmap pixmap(const QString& fileName);

// Image1, the device picture.
QPixmap background();
// The built-in banner shown until the service's first banner (195 x 56).
QPixmap defaultBanner();
// The About box's logo (195 x 56).
QPixmap aboutLogo();

// Gives a button its leave, enter and disabled pictures, chosen by its object name: "Button1",
// "ImgButton2", "ImgButton4", "ImgButton5" or "SpeedButton1". False for any other name.
bool dressButton(TImgButton* button);
// Gives the lamp its three pictures.
void dressLed(TImgLed* led);

// The tray image of a connection state (0 red, 1 yellow, 2 green), 16 x 16 with a 32 x 32 version
// for dense screens; a null icon for any other state.
QIcon trayImage(int state);

// The window outline in its stored form for a screen of 96 or 120 pixels per inch; empty for any
// other density, which gets the ordinary framed window instead.
QByteArray formShape(int dotsPerInch);
} // namespace Skin
