#include "TellFriend.h"

#include "service/ServiceRequests.h"

#include <QCoreApplication>
#include <QUrl>

QString TellFriend::subject()
{
    return QCoreApplication::translate("TellFriend", "Send me a message with Zelkora!");
}

QString TellFriend::body(const QString& homePage)
{
    const QString lines[] = {
        QCoreApplication::translate("TellFriend", "Hi,"),
        QCoreApplication::translate("TellFriend", "There's a new tool to send text messages (SMS)"),
        QCoreApplication::translate(
            "TellFriend", "to digital mobile phones in Israel (Pelephone, Cellcom, Orange, MIRS)."),
        QCoreApplication::translate("TellFriend", "Download it FREE: %1 Try it !").arg(homePage),
    };
    QString text;
    for (const QString& line : lines) {
        if (!text.isEmpty())
            text += QLatin1String("\r\n");
        text += line;
    }
    return text;
}

QString TellFriend::mailLink(const QString& subject, const QString& body)
{
    // The encoder writes a space as "+" and any "+" of the text as "%2B", so every "+" left is a space.
    const QString encodedBody = PercentEncode(body).replace(QLatin1Char('+'), QLatin1Char(' '));
    return QLatin1String("mailto:?Subject=") + subject + QLatin1String("&Body=") + encodedBody;
}

QUrl TellFriend::mailUrl(const QString& link)
{
    // The tolerant parser takes the escapes as escapes (a parser for plain text would write "%" as "%25")
    // and accepts the spaces of the subject and the body.
    return QUrl(link, QUrl::TolerantMode);
}
