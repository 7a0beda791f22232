#include "SandboxService.h"

#include "SandboxPages.h"
#include "VerdictSites.h"

#include <QStringEncoder>
#include <QStringList>

QByteArray SandboxService::encodeValue(const QString& value)
{
    QStringEncoder encoder("windows-1255");
    const QByteArray bytes = encoder.encode(value);
    static const QByteArray plain("-_.:/,=()!*@;~?&$#[]");
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || plain.contains(c)) {
            out += c;
        } else if (u == ' ') {
            out += '+';
        } else {
            out += '%';
            out += QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        }
    }
    return out;
}

QByteArray SandboxService::tag(const QByteArray& name, const Parameters& parameters)
{
    QByteArray out = "<#" + name;
    for (const auto& p : parameters)
        out += ' ' + p.first + '=' + encodeValue(p.second);
    out += ">\r\n";
    return out;
}

QByteArray SandboxService::initDocument(const QString& baseUrl)
{
    QStringList defs;
    for (const QString& code : SandboxPages::areaCodes() + SandboxPages::ofekAreaCodes())
        defs << code + QLatin1Char('=') + code;
    defs << SandboxPages::galimAreaCode() + QLatin1Char('=') + SandboxPages::galimAreaCode()
         << SandboxPages::shefaAreaCode() + QLatin1Char('=') + SandboxPages::shefaAreaCode()
         << SandboxPages::magenAreaCode() + QLatin1Char('=') + SandboxPages::magenAreaCode();
    for (const QString& code : VerdictSites::areaCodes())
        defs << code + QLatin1Char('=') + code;

    QByteArray doc;
    doc += tag("AREAS", { { "DEFS", defs.join(QLatin1Char(',')) } });
    doc += tag("PROVIDERS");
    // Sahar: the login form is in frame 0 of a frameset and is submitted by clicking its named button;
    // the message form is in the same frame and its button named Submit is given the value and clicked.
    doc += tag("PROVIDER",
        { { "Name", QStringLiteral("Sahar") }, { "AreaCodes", QStringLiteral("050,052,053") },
            { "LoginUrl", baseUrl + QStringLiteral("/sahar/") }, { "LoginFrame", QStringLiteral("0") },
            { "LoginForm", QStringLiteral("loginForm") }, { "UserField", QStringLiteral("user") },
            { "PassField", QStringLiteral("pass") }, { "LoginSubmit", QStringLiteral("2") },
            { "LoginSubmitLookup", QStringLiteral("doLogin") }, { "MsgUrl", baseUrl + QStringLiteral("/sahar/msg") },
            { "MsgFrame", QStringLiteral("0") }, { "MsgForm", QStringLiteral("smsForm") },
            { "FromField", QStringLiteral("sender") }, { "AreaField", QStringLiteral("prefix") },
            { "PhoneField", QStringLiteral("number") }, { "MsgField", QStringLiteral("text") },
            { "MsgSubmit", QStringLiteral("3") }, { "MsgSubmitValue", QStringLiteral("שלח") },
            { "ResAccepted", QStringLiteral("נשלחה בהצלחה") }, { "ResRejected", QStringLiteral("נדחתה") },
            { "MsgLimit", QStringLiteral("עד 100 תווים") }, { "SignupURL", baseUrl + QStringLiteral("/sahar/signup") },
            { "ClearCRLF", QStringLiteral("1") } });
    // Kesher: no login, one top-level page, the number field takes the area value and the number joined,
    // the sender's name travels in the text, and the form is sent by its script link.
    doc += tag("PROVIDER",
        { { "Name", QStringLiteral("Kesher") }, { "AreaCodes", QStringLiteral("054,057") },
            { "MsgUrl", baseUrl + QStringLiteral("/kesher/sms") }, { "MsgFrame", QStringLiteral("-1") },
            { "MsgForm", QStringLiteral("sms") }, { "FromField", QString() }, { "AreaField", QString() },
            { "PhoneField", QStringLiteral("phone") }, { "MsgField", QStringLiteral("msg") },
            { "MsgSubmit", QStringLiteral("1") }, { "MsgSubmitLookup", SandboxPages::kesherSendLink() },
            { "ResAccepted", QStringLiteral("התקבלה") }, { "ResRejected", QStringLiteral("לא נשלחה") },
            { "MsgLimit", QStringLiteral("עד 70 תווים") }, { "ClearCRLF", QStringLiteral("0") } });
    // Ofek: pages that their own scripts build; the login form is sent by clicking its button, the message
    // form by submitting it directly.
    doc += tag("PROVIDER",
        { { "Name", QStringLiteral("Ofek") }, { "AreaCodes", SandboxPages::ofekAreaCodes().join(QLatin1Char(',')) },
            { "LoginUrl", baseUrl + QStringLiteral("/ofek/login") }, { "LoginFrame", QStringLiteral("-1") },
            { "LoginForm", QStringLiteral("login") }, { "UserField", QStringLiteral("user") },
            { "PassField", QStringLiteral("password") }, { "LoginSubmit", QStringLiteral("2") },
            { "LoginSubmitLookup", QStringLiteral("enter") }, { "MsgUrl", baseUrl + QStringLiteral("/ofek/msg") },
            { "MsgFrame", QStringLiteral("-1") }, { "MsgForm", QStringLiteral("sms") },
            { "FromField", QStringLiteral("from") }, { "AreaField", QStringLiteral("area") },
            { "PhoneField", QStringLiteral("phone") }, { "MsgField", QStringLiteral("body") },
            { "MsgSubmit", QStringLiteral("3") }, { "ResAccepted", QStringLiteral("נמסרה לרשת") },
            { "ResRejected", QStringLiteral("סורבה") }, { "MsgLimit", QStringLiteral("עד 120 תווים") },
            { "ClearCRLF", QStringLiteral("0") } });
    // Galim: no login, an advert frame of another origin that keeps reloading beside the form, which is sent
    // by clicking its button; the result page comes late.
    doc += tag("PROVIDER",
        { { "Name", QStringLiteral("Galim") }, { "AreaCodes", SandboxPages::galimAreaCode() },
            { "MsgUrl", baseUrl + QStringLiteral("/galim/sms") }, { "MsgForm", QStringLiteral("sms") },
            { "FromField", QStringLiteral("sender") }, { "AreaField", QStringLiteral("prefix") },
            { "PhoneField", QStringLiteral("number") }, { "MsgField", QStringLiteral("message") },
            { "MsgSubmit", QStringLiteral("2") }, { "MsgSubmitLookup", QStringLiteral("send") },
            { "ResAccepted", QStringLiteral("נשלח ליעדו") }, { "ResRejected", QStringLiteral("לא ניתן לשלוח") },
            { "MsgLimit", QStringLiteral("עד 100 תווים") }, { "ClearCRLF", QStringLiteral("1") } });
    // Shefa: no login, a plain form submitted directly; every submission is answered by an error page.
    doc += tag("PROVIDER",
        { { "Name", QStringLiteral("Shefa") }, { "AreaCodes", SandboxPages::shefaAreaCode() },
            { "MsgUrl", baseUrl + QStringLiteral("/shefa/sms") }, { "MsgForm", QStringLiteral("msg") },
            { "FromField", QStringLiteral("from") }, { "PhoneField", QStringLiteral("to") },
            { "MsgField", QStringLiteral("body") }, { "MsgSubmit", QStringLiteral("3") },
            { "ResAccepted", QStringLiteral("נשלחה") }, { "ResRejected", QStringLiteral("נדחתה") },
            { "MsgLimit", QStringLiteral("עד 70 תווים") }, { "ClearCRLF", QStringLiteral("1") } });
    // Magen: a plain login form and message form, both submitted directly; between them the site asks for the
    // word in a picture and a code sent to the phone, which the definition cannot answer.
    doc += tag("PROVIDER",
        { { "Name", QStringLiteral("Magen") }, { "AreaCodes", SandboxPages::magenAreaCode() },
            { "LoginUrl", baseUrl + QStringLiteral("/magen/login") }, { "LoginFrame", QStringLiteral("-1") },
            { "LoginForm", QStringLiteral("login") }, { "UserField", QStringLiteral("user") },
            { "PassField", QStringLiteral("password") }, { "LoginSubmit", QStringLiteral("2") },
            { "LoginSubmitLookup", QStringLiteral("enter") }, { "MsgUrl", baseUrl + QStringLiteral("/magen/msg") },
            { "MsgFrame", QStringLiteral("-1") }, { "MsgForm", QStringLiteral("sms") },
            { "FromField", QStringLiteral("from") }, { "AreaField", QStringLiteral("area") },
            { "PhoneField", QStringLiteral("phone") }, { "MsgField", QStringLiteral("body") },
            { "MsgSubmit", QStringLiteral("2") }, { "MsgSubmitLookup", QStringLiteral("send") },
            { "ResAccepted", QStringLiteral("ההודעה נמסרה") }, { "ResRejected", QStringLiteral("ההודעה סורבה") },
            { "MsgLimit", QStringLiteral("עד 100 תווים") }, { "ClearCRLF", QStringLiteral("0") } });
    doc += VerdictSites::definitions(baseUrl);
    doc += tag("PARAMS",
        { { "StatisticsInterval", QStringLiteral("60") }, { "RefreshCount", QStringLiteral("0") },
            { "InitInterval", QStringLiteral("30000") }, { "HomePage", baseUrl + QStringLiteral("/") } });
    doc += tag("ONLINEHELP", { { "URL", baseUrl + QStringLiteral("/help") } });
    doc += tag("SESSION", { { "ID", QStringLiteral("sandbox-1") } });
    doc += advertList(baseUrl);
    doc += tag("FINISHED");
    return doc;
}

QStringList SandboxService::providerNames()
{
    QStringList names { QStringLiteral("Sahar"), QStringLiteral("Kesher"), QStringLiteral("Ofek"),
        QStringLiteral("Galim"), QStringLiteral("Shefa"), QStringLiteral("Magen") };
    for (const auto& provider : VerdictSites::providers())
        names << provider.first;
    return names;
}

QByteArray SandboxService::advertList(const QString& baseUrl)
{
    QByteArray doc;
    doc += tag("ADVERTS");
    doc += tag("ADVERT",
        { { "AdBannerName", QStringLiteral("sahar-banner") }, { "AdBannerType", QStringLiteral("gif") },
            { "AdURL", baseUrl + QStringLiteral("/banners/a.gif") }, { "AdHomeURL", baseUrl + QStringLiteral("/") },
            { "Interval", QStringLiteral("8") } });
    doc += tag("ADVERT",
        { { "AdBannerName", QStringLiteral("kesher-banner") }, { "AdBannerType", QStringLiteral("gif") },
            { "AdURL", baseUrl + QStringLiteral("/banners/b.gif") }, { "AdHomeURL", baseUrl + QStringLiteral("/help") },
            { "Interval", QStringLiteral("8") } });
    doc += tag("ADVERT",
        { { "AdBannerName", QStringLiteral("ofek-banner") }, { "AdBannerType", QStringLiteral("jpg") },
            { "AdURL", baseUrl + QStringLiteral("/banners/c.jpg") }, { "AdHomeURL", baseUrl + QStringLiteral("/") },
            { "Interval", QStringLiteral("8") } });
    return doc;
}

QByteArray SandboxService::updateDocument(const QString& baseUrl)
{
    // The banner list travels with the statistics reply: UPDATED makes it the list that rotates.
    return advertList(baseUrl) + tag("UPDATED") + tag("FINISHED");
}
