#pragma once

#include <QString>

class QUrl;

// The tell-a-friend mail: a new message in the user's mail program, with no recipient, that invites a friend
// to the program. Built here without widgets; the main window hands the address to the desktop.
namespace TellFriend {
// "Send me a message with Zelkora!"
QString subject();
// The four lines of the invitation separated by CR LF; the last one names the service's home page.
QString body(const QString& homePage);
// "mailto:?Subject=" + the subject as it stands + "&Body=" + the body in the service's query encoding
// (windows-1255 bytes as %XX) with its spaces left as spaces. A "+" of the body itself stays encoded as
// "%2B", so only the encoder's spaces turn back into spaces.
QString mailLink(const QString& subject, const QString& body);
// The link as an address whose text is the link itself: the escapes are kept as they are, not encoded a
// second time. Only the spaces become "%20" in its encoded form, which mail programs read as spaces.
QUrl mailUrl(const QString& link);
} // namespace TellFriend
