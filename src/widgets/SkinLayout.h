#pragma once

#include <QRect>
#include <QSize>

// Where things sit on the skin picture, in the main window's coordinates at 96 pixels per inch (the
// picture's own pixels). The image buttons and the lamp are cut from the picture itself, so they blend
// in only at exactly these places; the banner and the fields sit on the device's screen and have some
// room to move.
namespace SkinLayout {
// The whole background picture, Image1; also the window's design client size.
constexpr QRect Image1(0, 0, 287, 446);
// The device's body, as the 96 pixels-per-inch outline cuts it.
constexpr QRect Body(10, 7, 256, 362);
// The device's screen, where banner, fields, labels and status line go.
constexpr QRect Screen(18, 32, 240, 282);

// Pictures cut from the background.
constexpr QRect ImgButton4(24, 35, 18, 18); // close
constexpr QRect ImgButton5(46, 35, 18, 18); // main menu
constexpr QRect Led(234, 36, 16, 16);
constexpr QRect SpeedButton1(24, 146, 20, 18); // phone book
constexpr QRect ImgButton2(24, 167, 14, 20); // area-code menu
constexpr QRect Button1(102, 326, 72, 26); // send, on the device's chin

// The banner, Image2 (195 x 56, like every banner the service sends).
constexpr QRect Image2(41, 62, 195, 56);

// A layout for the fields that suits the picture (the window may place them otherwise within Screen).
// Labels stand at the right, right to left; each field has a one-pixel frame around it.
constexpr QRect Shape5(24, 57, 228, 1); // separator under the screen's title bar
constexpr QRect Edit2(25, 124, 176, 18);
constexpr QRect ToLabel(47, 146, 154, 18);
constexpr QRect ComboBox1(41, 168, 34, 18);
constexpr QRect Edit1(87, 168, 114, 18);
constexpr QRect Memo1(25, 208, 226, 72);
constexpr QRect Panel1(25, 288, 226, 18);
// The label column and the message label's line.
constexpr QRect LabelColumn(204, 124, 48, 62);
constexpr QRect MessageLabelLine(25, 190, 226, 16);

// The tray images, one per connection state.
constexpr QSize TrayImage(16, 16);
} // namespace SkinLayout
