#pragma once

#include <QString>
#include <QTextDocument>

// Text that comes from outside (the service, the phone book, the sites) is shown as the characters it holds.
// Labels and message boxes are told so; a tool tip has no such setting, so its text is turned into markup
// that shows those characters, markup and links included, as written.
namespace PlainText {
inline QString toolTip(const QString& text)
{
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}
} // namespace PlainText
