#pragma once

#include "service/TProvider.h"

// Provider records for the sandbox's operator sites at `base` ("http://127.0.0.1:PORT").
namespace SandboxProviders {
// Login in frame 0 of a frameset (submitted by clicking doLogin), the message page in the same frame,
// the result on the top-level page.
inline TProvider sahar(const QString& base)
{
    TProvider p;
    p.Name = QStringLiteral("Sahar");
    p.AreaCodes = QStringLiteral("050, 052,053");
    p.LoginUrl = base + QStringLiteral("/sahar/");
    p.LoginFrame = 0;
    p.LoginForm = QStringLiteral("loginForm");
    p.UserField = QStringLiteral("user");
    p.PassField = QStringLiteral("pass");
    p.LoginSubmit = 2;
    p.LoginSubmitLookup = QStringLiteral("doLogin");
    p.MsgUrl = base + QStringLiteral("/sahar/msg");
    p.MsgFrame = 0;
    p.MsgForm = QStringLiteral("smsForm");
    p.FromField = QStringLiteral("sender");
    p.AreaField = QStringLiteral("prefix");
    p.PhoneField = QStringLiteral("number");
    p.MsgField = QStringLiteral("text");
    p.MsgSubmit = 3;
    p.MsgSubmitValue = QStringLiteral("שלח");
    p.ResAccepted = QStringLiteral("נשלחה בהצלחה");
    p.ResRejected = QStringLiteral("נדחתה");
    p.ClearCRLF = 1;
    return p;
}

// No login: one page, submitted through a link, the number with its area prefix, the sender after the text.
inline TProvider kesher(const QString& base)
{
    TProvider p;
    p.Name = QStringLiteral("Kesher");
    p.AreaCodes = QStringLiteral("054,057");
    p.MsgUrl = base + QStringLiteral("/kesher/sms");
    p.MsgForm = QStringLiteral("0");
    p.PhoneField = QStringLiteral("phone");
    p.MsgField = QStringLiteral("msg");
    p.MsgSubmit = 1;
    p.MsgSubmitLookup = QStringLiteral("javascript:document.sms.submit()");
    p.ResAccepted = QStringLiteral("התקבלה");
    p.ResRejected = QStringLiteral("לא נשלחה");
    p.ClearCRLF = 0;
    return p;
}

// Login and message pages that their own scripts build and change; the result written by script.
inline TProvider ofek(const QString& base)
{
    TProvider p;
    p.Name = QStringLiteral("Ofek");
    p.AreaCodes = QStringLiteral("055,058");
    p.LoginUrl = base + QStringLiteral("/ofek/login");
    p.LoginForm = QStringLiteral("login");
    p.UserField = QStringLiteral("user");
    p.PassField = QStringLiteral("password");
    p.LoginSubmit = 2;
    p.LoginSubmitLookup = QStringLiteral("enter");
    p.MsgUrl = base + QStringLiteral("/ofek/msg");
    p.MsgForm = QStringLiteral("sms");
    p.FromField = QStringLiteral("from");
    p.AreaField = QStringLiteral("area");
    p.PhoneField = QStringLiteral("phone");
    p.MsgField = QStringLiteral("body");
    p.MsgSubmit = 3;
    p.ResAccepted = QStringLiteral("נמסרה לרשת");
    p.ResRejected = QStringLiteral("סורבה");
    p.ClearCRLF = 0;
    return p;
}

// No login; an advert frame of another origin keeps reloading beside the form, which its button sends; the
// result page comes late.
inline TProvider galim(const QString& base)
{
    TProvider p;
    p.Name = QStringLiteral("Galim");
    p.AreaCodes = QStringLiteral("051");
    p.MsgUrl = base + QStringLiteral("/galim/sms");
    p.MsgForm = QStringLiteral("sms");
    p.FromField = QStringLiteral("sender");
    p.AreaField = QStringLiteral("prefix");
    p.PhoneField = QStringLiteral("number");
    p.MsgField = QStringLiteral("message");
    p.MsgSubmit = 2;
    p.MsgSubmitLookup = QStringLiteral("send");
    p.ResAccepted = QStringLiteral("נשלח ליעדו");
    p.ResRejected = QStringLiteral("לא ניתן לשלוח");
    return p;
}

// Galim's form in frame 0 of a frameset whose frame 1 is an advert that keeps reloading; the result comes into
// the form's own frame.
inline TProvider galimFramed(const QString& base)
{
    TProvider p = galim(base);
    p.MsgUrl = base + QStringLiteral("/galim/framed");
    p.MsgFrame = 0;
    return p;
}

// No login; the answer to every submission is an HTTP 500 error page.
inline TProvider shefa(const QString& base)
{
    TProvider p;
    p.Name = QStringLiteral("Shefa");
    p.AreaCodes = QStringLiteral("056");
    p.MsgUrl = base + QStringLiteral("/shefa/sms");
    p.MsgForm = QStringLiteral("msg");
    p.FromField = QStringLiteral("from");
    p.PhoneField = QStringLiteral("to");
    p.MsgField = QStringLiteral("body");
    p.MsgSubmit = 3;
    p.ResAccepted = QStringLiteral("נשלחה");
    p.ResRejected = QStringLiteral("נדחתה");
    return p;
}

// A one-page operator for tests that serve their own pages: no login, form "f" at `formUrl` with the fields
// "phone" and "text", sent by the form's own submit; "accepted" or "rejected" on the result page.
inline TProvider loopback(const QString& formUrl)
{
    TProvider p;
    p.Name = QStringLiteral("Loopback");
    p.AreaCodes = QStringLiteral("059");
    p.MsgUrl = formUrl;
    p.MsgForm = QStringLiteral("f");
    p.PhoneField = QStringLiteral("phone");
    p.MsgField = QStringLiteral("text");
    p.MsgSubmit = 3;
    p.ResAccepted = QStringLiteral("accepted");
    p.ResRejected = QStringLiteral("rejected");
    return p;
}
} // namespace SandboxProviders
