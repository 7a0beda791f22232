#pragma once

// The skin's own controls as assistive technology sees them: TImgButton as a button named by its accessible
// name or its tool tip and pressed by the reader's action; TImgLed as a text naming the lamp's state in words;
// TListLabel as the recipient, or the list's caption with its names; TURLLabel as a link to its address.
// Every text is plain: a tool tip's markup never reaches a name or a description.
namespace ControlAccessibility {
// Makes the controls' interfaces known to Qt's accessibility; each control calls it when it is made.
void install();
} // namespace ControlAccessibility
