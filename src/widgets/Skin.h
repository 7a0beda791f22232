#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>
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

// The pictures are drawn for 1, 1.5 and 2 device pixels per window pixel ("background.jpg",
// "background@1.5x.jpg", "background@2x.jpg"). The density drawn for a screen's ratio: the nearest,
// halfway ratios taking the denser pictures, which scale down better than the others scale up.
qreal pictureScale(qreal devicePixelRatio);
// The file name of a picture drawn for a density ("background@2x.jpg" for 2).
QString fileNameFor(const QString& fileName, qreal scale);
// The picture for a screen of that ratio, its own device pixel ratio set so that it covers the same
// window pixels as the ordinary one; the ordinary one where no denser picture is drawn.
QPixmap pixmap(const QString& fileName, qreal devicePixelRatio);
// The device pixel ratio of the primary screen; 1 before the application has screens.
qreal primaryRatio();

// The device picture.
QPixmap background(qreal devicePixelRatio = primaryRatio());
// The built-in banner shown until the service's first banner (195 x 56).
QPixmap defaultBanner(qreal devicePixelRatio = primaryRatio());
// The About box's logo (195 x 56).
QPixmap aboutLogo(qreal devicePixelRatio = primaryRatio());

// The picture with every pixel outside `outline` (in window pixels) transparent, for a window that the
// window system cannot cut to the outline and that shows the desktop through its transparent pixels.
QPixmap cutOut(const QPixmap& picture, const QRegion& outline);

// Gives a button its leave, enter and disabled pictures, chosen by its object name: "sendButton",
// "areaMenuButton", "closeButton", "menuButton" or "phoneBookButton". False for any other name.
bool dressButton(TImgButton* button, qreal devicePixelRatio = primaryRatio());
// Gives the lamp its three pictures.
void dressLed(TImgLed* led, qreal devicePixelRatio = primaryRatio());

// The tray image of a connection state (0 red, 1 yellow, 2 green), 16 x 16 with a 32 x 32 version
// for dense screens; a null icon for any other state.
QIcon trayImage(int state);

// The window outline in its stored form for a screen of 96 or 120 pixels per inch; empty for any
// other density, which gets the ordinary framed window instead.
QByteArray formShape(int dotsPerInch);
} // namespace Skin
