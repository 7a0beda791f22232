#pragma once

#include <QCoreApplication>
#include <QString>

#include <iterator>

// Why a message did not end with the site's acceptance, as a value: the history stores it beside the status,
// and every window and zelkora-cli say it in the interface language of the moment. The numbers are stored;
// new reasons are added at the end.
enum class FailureReason
{
    None = 0,
    HttpError = 1, // detail: the HTTP status
    Unreachable = 2, // detail: the network's error, as the browser gives it
    LoginAgain = 3, // the site asked to log in again instead of answering the message
    LoginRefused = 4, // the site showed its login form again after the login
    FormMissing = 5, // detail: the name of the form the definition names
    TimedOut = 6, // detail: seconds
    Cancelled = 7,
    NoVerdict = 8, // the message left, and the site's pages said nothing of it; detail: seconds
    NoProvider = 9, // detail: the area code
    NoCredentials = 10, // detail: the provider's name
    BrowserStopped = 11,
    PersonUnanswered = 12, // a page only a person can answer was not answered
    OtherPage = 13, // the site showed another page than the definition's; detail: its address
    NothingToSend = 14, // the message page has nothing the definition's submission can use
    LoginMoved = 15, // the credentials were not typed into a login page of another origin; detail: the origin
    NoAcceptedText = 16, // the definition names no text that could confirm the message
    PageUnreadable = 17, // the browser refused to read the site's page; detail: its words
};

struct SendFailure
{
    FailureReason reason = FailureReason::None;
    QString detail;

    bool isNone() const { return reason == FailureReason::None; }
};

// The reason as one stable word, for programs reading zelkora-cli's JSON: "http-error", "unreachable", ...;
// empty for none.
inline QString failureName(FailureReason reason)
{
    static const char* const names[] = { "", "http-error", "unreachable", "login-again", "login-refused",
        "form-missing", "timed-out", "cancelled", "no-verdict", "no-provider", "no-credentials", "browser-stopped",
        "person-unanswered", "other-page", "nothing-to-send", "login-moved", "no-accepted-text", "page-unreadable" };
    const int index = int(reason);
    return index >= 0 && index < int(std::size(names)) ? QString::fromLatin1(names[index]) : QString();
}

// The reason in words a user can act on; empty for none.
inline QString failureText(FailureReason reason, const QString& detail)
{
    switch (reason) {
    case FailureReason::None:
        return QString();
    case FailureReason::HttpError:
        return QCoreApplication::translate("SendFailure", "האתר השיב בשגיאה (HTTP %1)").arg(detail);
    case FailureReason::Unreachable:
        return detail.isEmpty() ? QCoreApplication::translate("SendFailure", "לא ניתן להגיע לאתר")
                                : QCoreApplication::translate("SendFailure", "לא ניתן להגיע לאתר (%1)").arg(detail);
    case FailureReason::LoginAgain:
        return QCoreApplication::translate("SendFailure", "האתר ביקש להתחבר מחדש במקום לקבל את ההודעה");
    case FailureReason::LoginRefused:
        return QCoreApplication::translate("SendFailure", "האתר דחה את הכניסה: בדקו את שם המשתמש והסיסמה בהגדרות");
    case FailureReason::FormMissing:
        return QCoreApplication::translate("SendFailure", "בדף האתר אין הטופס \"%1\" שבהגדרת המפעיל").arg(detail);
    case FailureReason::TimedOut:
        return QCoreApplication::translate("SendFailure", "האתר לא ענה תוך %1 שניות").arg(detail);
    case FailureReason::Cancelled:
        return QCoreApplication::translate("SendFailure", "השליחה בוטלה");
    case FailureReason::NoVerdict:
        return QCoreApplication::translate("SendFailure", "ההודעה יצאה, ודפי האתר לא אמרו דבר עליה תוך %1 שניות")
            .arg(detail);
    case FailureReason::NoProvider:
        return QCoreApplication::translate("SendFailure", "אין מפעיל לקידומת %1").arg(detail);
    case FailureReason::NoCredentials:
        return QCoreApplication::translate("SendFailure", "חסרים שם משתמש וסיסמה של %1 בהגדרות").arg(detail);
    case FailureReason::BrowserStopped:
        return QCoreApplication::translate("SendFailure", "הדפדפן נעצר");
    case FailureReason::PersonUnanswered:
        return QCoreApplication::translate("SendFailure", "הדף שהאתר הציג לא נענה");
    case FailureReason::OtherPage:
        return QCoreApplication::translate("SendFailure", "האתר הציג דף אחר מזה שבהגדרת המפעיל (%1)").arg(detail);
    case FailureReason::NothingToSend:
        return QCoreApplication::translate("SendFailure", "בדף ההודעה אין דרך לשלוח את הטופס כפי שהגדרת המפעיל אומרת");
    case FailureReason::LoginMoved:
        return QCoreApplication::translate("SendFailure", "דף הכניסה עבר אל %1, ופרטי הכניסה לא נשלחו לשם").arg(detail);
    case FailureReason::NoAcceptedText:
        return QCoreApplication::translate("SendFailure", "הגדרת המפעיל אינה מציינת טקסט שמאשר את השליחה");
    case FailureReason::PageUnreadable:
        return QCoreApplication::translate("SendFailure", "לא ניתן לקרוא את דף האתר (%1)").arg(detail);
    }
    return QString();
}

inline QString failureText(const SendFailure& failure)
{
    return failureText(failure.reason, failure.detail);
}
