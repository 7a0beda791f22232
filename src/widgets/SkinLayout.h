#pragma once

#include <QRect>
#include <QSize>

// Where things sit on the skin picture, in the main window's coordinates at 96 pixels per inch (the
// picture's own pixels). The image buttons and the lamp are cut from the picture itself, so they blend
// in only at exactly these places; the banner and the fields sit on the device's screen and have some
// room to move.
namespace SkinLayout {
// The whole background picture (the device); also the window's design client size.
constexpr QRect DevicePicture(0, 0, 287, 446);
// The device's body, as the 96 pixels-per-inch outline cuts it.
constexpr QRect Body(10, 7, 256, 362);
// The device's screen, where banner, fields, labels and status line go.
constexpr QRect Screen(18, 32, 240, 282);

// Pictures cut from the background.
constexpr QRect CloseButton(24, 35, 18, 18); // close
constexpr QRect MenuButton(46, 35, 18, 18); // main menu
constexpr QRect ConnectionLamp(234, 36, 16, 16);
constexpr QRect PhoneBookButton(24, 146, 20, 18); // phone book
constexpr QRect AreaMenuButton(24, 167, 14, 20); // area-code menu
constexpr QRect SendButton(102, 326, 72, 26); // send, on the device's chin

// The banner (195 x 56, like every banner the service sends).
constexpr QRect BannerImage(41, 62, 195, 56);

// A layout for the fields that suits the picture (the window may place them otherwise within Screen).
// Labels stand at the right, right to left; each field has a one-pixel frame around it.
constexpr QRect SeparatorLine(24, 57, 228, 1); // separator under the screen's title bar
constexpr QRect SenderEdit(25, 124, 176, 18);
constexpr QRect RecipientLabel(47, 146, 154, 18);
constexpr QRect AreaCodeEdit(41, 168, 34, 18);
constexpr QRect NumberEdit(87, 168, 114, 18);
constexpr QRect MessageEdit(25, 208, 226, 72);
constexpr QRect StatusLine(25, 288, 226, 18);
// The label column and the message label's line.
constexpr QRect LabelColumn(204, 124, 48, 62);
constexpr QRect MessageLabelLine(25, 190, 226, 16);

// The tray images, one per connection state.
constexpr QSize TrayImage(16, 16);
} // namespace SkinLayout
