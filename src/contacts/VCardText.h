#pragma once

#include <QByteArray>
#include <QString>

// The encodings of vCard values, each rule in one place: the reader undoes them, the writer applies them.
namespace Contacts::VCardText {

bool isAscii(const QByteArray& bytes);

// "=XX" becomes the byte XX; an "=" that starts no hexadecimal pair stays as it is. Soft line breaks are
// joined by the reader before this.
QByteArray fromQuotedPrintable(const QByteArray& encoded);
// Every byte outside printable ASCII, and "=", as "=XX"; blanks at the end stay readable as "=20".
QByteArray toQuotedPrintable(const QByteArray& bytes);

// Bytes in the named character set. Without one they are UTF-8; bytes that are not valid UTF-8 are taken
// as windows-1255, which Hebrew programs of the Windows world write without saying so. An unknown
// character set is read as UTF-8.
QString decode(const QByteArray& bytes, const QByteArray& charset);

// The text escapes of vCard 3.0 and 4.0, also met in 2.1 cards: \n (or \N) for a line break, \\, \, and \;.
// A backslash before anything else stays.
QString unescape(const QString& text);
QString escape(const QString& text);

} // namespace Contacts::VCardText
