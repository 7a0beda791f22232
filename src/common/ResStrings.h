#pragma once

#include "SendFailure.h"
#include "SendOutcome.h"

#include <QCoreApplication>
#include <QString>

// The program's string resources, by their resource numbers. The texts are stored in the order a
// right-to-left box displays them, so some begin with their closing punctuation; they are used as stored.
namespace ResStrings {
// Shown when the embedded browser is missing or too old; the program then ends with exit code 1.
inline QString browserTooOld() // 65254
{
    return QCoreApplication::translate("ResStrings",
        " ,מגירסא 4 ומעלה Interner Explorer דרוש דפדפן\r"
        ".או שהדפדפן אינו מותקן כראוי");
}

// The send command's refusals.
inline QString emptyList()
{
    return QCoreApplication::translate("ResStrings", "רשימת הנמענים ריקה");
}
inline QString emptyMessage()
{
    return QCoreApplication::translate("ResStrings", "ההודעה ריקה");
}
inline QString messageTooLong()
{
    return QCoreApplication::translate("ResStrings", "סה\"כ תוים למשלוח גדול מ %d.");
}
inline QString emptySender()
{
    return QCoreApplication::translate("ResStrings", "שם השולח חסר");
}
inline QString incompleteNumber()
{
    return QCoreApplication::translate("ResStrings", "מספר הטלפון אינו שלם");
}
inline QString unknownProvider()
{
    return QCoreApplication::translate("ResStrings", "ספק תקשורת לא מוכר");
}
inline QString missingCredentials()
{
    return QCoreApplication::translate("ResStrings", "חסרים נתוני זיהוי עבור %s");
}
// The box that tells of missing credentials before the preferences open, and the status after it.
inline QString missingCredentialsBox()
{
    return QCoreApplication::translate("ResStrings", "%s חסרים נתוני זיהוי עבור");
}
inline QString pressSendAgain()
{
    return QCoreApplication::translate("ResStrings", "לחץ SEND לנסיון נוסף");
}

// The send command's two questions.
inline QString notConnectedNoCache()
{
    return QCoreApplication::translate("ResStrings", "Cache לא מחובר לשרת ואין הגדרות ב");
}
inline QString notOnline()
{
    return QCoreApplication::translate("ResStrings", "לא מחובר לאינטרנט!");
}
inline QString tryAnyway()
{
    return QCoreApplication::translate("ResStrings", "?האם לנסות לשלוח");
}
inline QString cancelAndResend()
{
    return QCoreApplication::translate("ResStrings", "שליחה מתבצעת. האם לבטל ולשלוח מחדש?");
}

// A list recipient's line in the status window before its turn, after its name.
inline QString waitingLine()
{
    return QCoreApplication::translate("ResStrings", ": בהמתנה...");
}

// What the status line says for each send status, by its number.
// The status line while an operator's site waits for the user to answer it in its own window.
inline QString siteWaitsForYou()
{
    return QCoreApplication::translate("ResStrings", "אתר המפעיל ממתין לך...");
}

// What the user is told of a message whose submission left without a verdict of the site's.
inline QString outcomeUnknown()
{
    return QCoreApplication::translate("ResStrings", "לא התקבל אישור מהאתר: ייתכן שההודעה נשלחה");
}

inline QString sendStatusText(int status)
{
    switch (status) {
    case 0:
        return QCoreApplication::translate("ResStrings", "ביטול");
    case 1:
        return QCoreApplication::translate("ResStrings", "פעיל");
    case 2:
        return QCoreApplication::translate("ResStrings", "מתחבר...");
    case 3:
        return QCoreApplication::translate("ResStrings", "מזדהה...");
    case 4:
        return QCoreApplication::translate("ResStrings", "מזוהה");
    case 5:
        return QCoreApplication::translate("ResStrings", "שולח...");
    case 6:
        return QCoreApplication::translate("ResStrings", "ההודעה נשלחה");
    case 7:
        return QCoreApplication::translate("ResStrings", "ההודעה נדחתה");
    case 8:
        return QCoreApplication::translate("ResStrings", "כשלון");
    case 9:
        return QCoreApplication::translate("ResStrings", "Timed Out");
    default:
        return QString();
    }
}
// The text of an attempt that ended with `status` and `outcome`: an unknown outcome says so, whatever its
// status.
inline QString outcomeText(int status, SendOutcome outcome)
{
    return outcome == SendOutcome::Unknown ? outcomeUnknown() : sendStatusText(status);
}

// The status of an attempt that ended, with why it did not end with the site's acceptance where that adds
// to the status: "כשלון: האתר השיב בשגיאה (HTTP 500)".
inline QString outcomeText(int status, SendOutcome outcome, const SendFailure& failure)
{
    const QString shown = outcomeText(status, outcome);
    if (failure.isNone() || failure.reason == FailureReason::Cancelled
        || (outcome == SendOutcome::Unknown && failure.reason == FailureReason::NoVerdict))
        return shown;
    return shown + QStringLiteral(": ") + failureText(failure);
}
} // namespace ResStrings
