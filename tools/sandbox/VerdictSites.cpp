#include "VerdictSites.h"

#include "SandboxServer.h"
#include "SandboxService.h"

#include <QRandomGenerator>
#include <algorithm>

namespace {

const QString Accepted = QStringLiteral("ההודעה נשלחה בהצלחה");
const QString Rejected = QStringLiteral("ההודעה נדחתה: המספר אינו מנוי");
// What a site shows when it gives no verdict: neither text.
const QString Silent = QStringLiteral("תודה שהשתמשתם בשירות");
const QByteArray AravaCookie = "ARAVA";

struct Site
{
    QString name; // the path's first part, and the site's name in a submission
    QString title;
    QString areaCode;
};

const QList<Site>& sites()
{
    static const QList<Site> list {
        { QStringLiteral("tamar"), QStringLiteral("תמר"), QStringLiteral("061") },
        { QStringLiteral("yarden"), QStringLiteral("ירדן"), QStringLiteral("062") },
        { QStringLiteral("carmel"), QStringLiteral("כרמל"), QStringLiteral("063") },
        { QStringLiteral("negev"), QStringLiteral("נגב"), QStringLiteral("064") },
        { QStringLiteral("golan"), QStringLiteral("גולן"), QStringLiteral("065") },
        { QStringLiteral("hermon"), QStringLiteral("חרמון"), QStringLiteral("066") },
        { QStringLiteral("sharon"), QStringLiteral("שרון"), QStringLiteral("067") },
        { QStringLiteral("arava"), QStringLiteral("ערבה"), QStringLiteral("068") },
    };
    return list;
}

// Eilat is no site of its own: it sends through negev's page with the button that opens a window by script.
const QString EilatAreaCode = QStringLiteral("069");

QString page(const QString& title, const QString& body, const QString& head = QString())
{
    return QStringLiteral("<!DOCTYPE html>\n<html dir=\"rtl\" lang=\"he\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n%3<style>body{font-family:sans-serif;margin:12px}"
                          "label{display:inline-block;min-width:6em}#verdict{font-weight:bold}</style>\n</head>\n"
                          "<body>\n%2</body>\n</html>\n")
        .arg(title, body, head);
}

// The message form every site shares: sender, area code, number and text, with `button` to send it.
QString composePage(const Site& site, const QString& formAttributes, const QString& button, const QString& script)
{
    return page(site.title,
        QStringLiteral("<h1>%1</h1>\n"
                       "<form name=\"sms\" method=\"post\" action=\"/%2/send\"%3>\n"
                       "<label>השולח:</label> <input type=\"text\" name=\"from\"><br>\n"
                       "<label>קידומת:</label> <input type=\"text\" name=\"area\" size=\"3\" dir=\"ltr\">\n"
                       "<label>מספר:</label> <input type=\"text\" name=\"phone\" dir=\"ltr\"><br>\n"
                       "<label>הודעה:</label><br><textarea name=\"body\" rows=\"4\" cols=\"40\"></textarea><br>\n"
                       "%4\n</form>\n<p id=\"verdict\"></p>\n%5")
            .arg(site.title, site.name, formAttributes, button, script));
}

const QString SubmitButton = QStringLiteral("<input type=\"submit\" name=\"send\" value=\"שליחה\">");

// The verdict a number gets, as a letter that travels in the result pages' addresses: a(ccepted),
// r(ejected) or s(ilent).
QChar verdictOf(const QMap<QString, QString>& fields)
{
    const QString phone = fields.value(QStringLiteral("phone")).trimmed();
    return phone.startsWith(QLatin1Char('9')) ? QLatin1Char('r')
        : phone.startsWith(QLatin1Char('8'))  ? QLatin1Char('s')
                                              : QLatin1Char('a');
}

QString outcomeName(QChar verdict)
{
    return verdict == QLatin1Char('a') ? QStringLiteral("accepted")
        : verdict == QLatin1Char('r')  ? QStringLiteral("rejected")
                                       : QStringLiteral("silent");
}

QString verdictText(QChar verdict)
{
    return verdict == QLatin1Char('a') ? Accepted : verdict == QLatin1Char('r') ? Rejected : Silent;
}

QChar verdictIn(const HttpRequest& request)
{
    const QString v = HttpForm::fieldMap(request.query).value(QStringLiteral("v"));
    return v.isEmpty() ? QLatin1Char('s') : v.at(0);
}

HttpResponse html(const QString& text, int delayMs = 0)
{
    HttpResponse response = HttpResponse::html(200, text);
    response.delayMs = delayMs;
    return response;
}

HttpResponse plainText(const QString& text, int delayMs)
{
    HttpResponse response;
    response.contentType = "text/plain; charset=utf-8";
    response.body = text.toUtf8();
    response.delayMs = delayMs;
    return response;
}

QString aravaLogin(bool failed)
{
    return page(QStringLiteral("ערבה &ndash; כניסה"),
        QStringLiteral("<h1>ערבה</h1>\n%1"
                       "<form name=\"login\" method=\"post\" action=\"/arava/login\">\n"
                       "<label>שם משתמש:</label> <input type=\"text\" name=\"user\" dir=\"ltr\"><br>\n"
                       "<label>סיסמה:</label> <input type=\"password\" name=\"password\" dir=\"ltr\"><br>\n"
                       "<input type=\"submit\" name=\"enter\" value=\"כניסה\">\n</form>\n")
            .arg(failed ? QStringLiteral("<p>הכניסה נכשלה</p>\n") : QString()));
}

} // namespace

VerdictSites::VerdictSites(Recorder record, std::function<quint16()> port)
    : m_record(std::move(record))
    , m_port(std::move(port))
{
}

QStringList VerdictSites::areaCodes()
{
    QStringList codes;
    for (const Site& site : sites())
        codes << site.areaCode;
    return codes << EilatAreaCode;
}

QList<QPair<QString, QString>> VerdictSites::providers()
{
    QList<QPair<QString, QString>> list;
    for (const Site& site : sites()) {
        list << qMakePair(site.name.at(0).toUpper() + site.name.mid(1), site.areaCode);
        if (site.name == QLatin1String("negev"))
            list << qMakePair(QStringLiteral("Eilat"), EilatAreaCode);
    }
    return list;
}

QByteArray VerdictSites::definitions(const QString& baseUrl)
{
    QByteArray tags;
    for (const Site& site : sites()) {
        const QString base = baseUrl + QLatin1Char('/') + site.name;
        SandboxService::Parameters parameters { { "Name", site.name.at(0).toUpper() + site.name.mid(1) },
            { "AreaCodes", site.areaCode }, { "MsgUrl", base + QStringLiteral("/sms") },
            { "MsgForm", QStringLiteral("sms") }, { "FromField", QStringLiteral("from") },
            { "AreaField", QStringLiteral("area") }, { "PhoneField", QStringLiteral("phone") },
            { "MsgField", QStringLiteral("body") }, { "MsgSubmit", QStringLiteral("2") },
            { "MsgSubmitLookup", QStringLiteral("send") }, { "ResAccepted", QStringLiteral("נשלחה בהצלחה") },
            { "ResRejected", QStringLiteral("נדחתה") }, { "MsgLimit", QStringLiteral("עד 100 תווים") },
            { "ClearCRLF", QStringLiteral("0") } };
        if (site.name == QLatin1String("arava")) {
            parameters << qMakePair(QByteArray("LoginUrl"), base + QStringLiteral("/login"))
                       << qMakePair(QByteArray("LoginForm"), QStringLiteral("login"))
                       << qMakePair(QByteArray("UserField"), QStringLiteral("user"))
                       << qMakePair(QByteArray("PassField"), QStringLiteral("password"))
                       << qMakePair(QByteArray("LoginSubmit"), QStringLiteral("2"))
                       << qMakePair(QByteArray("LoginSubmitLookup"), QStringLiteral("enter"));
        }
        tags += SandboxService::tag("PROVIDER", parameters);
        if (site.name == QLatin1String("negev")) {
            // The same page, sent with its other button, which opens the result's window by script.
            for (auto& parameter : parameters) {
                if (parameter.first == "Name")
                    parameter.second = QStringLiteral("Eilat");
                else if (parameter.first == "AreaCodes")
                    parameter.second = EilatAreaCode;
                else if (parameter.first == "MsgSubmitLookup")
                    parameter.second = QStringLiteral("open");
            }
            tags += SandboxService::tag("PROVIDER", parameters);
        }
    }
    return tags;
}

std::optional<HttpResponse> VerdictSites::answer(const HttpRequest& request)
{
    const QStringList parts = request.path.split(QLatin1Char('/'));
    if (parts.size() != 3 || !parts[0].isEmpty())
        return std::nullopt;
    const auto site = std::find_if(sites().cbegin(), sites().cend(), [&](const Site& s) { return s.name == parts[1]; });
    if (site == sites().cend())
        return std::nullopt;
    const QString& name = site->name;
    const QString& leaf = parts[2];
    if (leaf == QLatin1String("send"))
        return answerSend(name, request);
    const QChar verdict = verdictIn(request);

    if (name == QLatin1String("arava")) {
        if (leaf == QLatin1String("login")) {
            if (request.method != "POST")
                return html(aravaLogin(false));
            const QMap<QString, QString> fields = HttpForm::fieldMap(request.body);
            const bool valid = fields.value(QStringLiteral("user")) == SandboxServer::demoUserName()
                && fields.value(QStringLiteral("password")) == SandboxServer::demoPassword();
            m_record(name, request, fields, valid ? QStringLiteral("login") : QStringLiteral("badlogin"));
            if (!valid)
                return html(aravaLogin(true));
            const QByteArray session = QByteArray::number(QRandomGenerator::global()->generate64(), 16);
            m_aravaSessions << QString::fromLatin1(session);
            HttpResponse r = HttpResponse::redirect(303, "/arava/sms");
            r.addHeader("Set-Cookie", AravaCookie + '=' + session + "; Path=/arava; HttpOnly");
            return r;
        }
        if (leaf == QLatin1String("sms")) {
            // The session ends as soon as its message page is shown: the message that follows finds none.
            const auto cookies = HttpForm::parseCookies(request.header("cookie"));
            for (const auto& cookie : cookies) {
                if (cookie.first == AravaCookie && m_aravaSessions.removeOne(QString::fromLatin1(cookie.second)))
                    return html(composePage(*site, QString(), SubmitButton, QString()));
            }
            return HttpResponse::redirect(303, "/arava/login");
        }
    }
    if (leaf == QLatin1String("sms")) {
        if (name == QLatin1String("carmel"))
            return html(
                composePage(*site, QString(), QStringLiteral("<input type=\"button\" name=\"send\" value=\"שליחה\">"),
                    QStringLiteral(
                        "<script>\n"
                        "document.forms.sms.send.onclick = function () {\n"
                        "  var form = document.forms.sms;\n"
                        "  document.getElementById('verdict').textContent = 'שולחים...';\n"
                        "  fetch('/carmel/send', { method: 'POST', body: new URLSearchParams(new FormData(form)) })\n"
                        "    .then(function (r) { return r.text(); })\n"
                        "    .then(function (t) { document.getElementById('verdict').textContent = t; });\n"
                        "};\n"
                        "</script>\n")));
        if (name == QLatin1String("negev"))
            return html(composePage(*site, QStringLiteral(" target=\"_blank\""),
                SubmitButton
                    + QStringLiteral("\n<input type=\"button\" name=\"open\" value=\"שליחה בחלון\" "
                                     "onclick=\"window.open('', 'negevResult'); this.form.target = 'negevResult'; "
                                     "this.form.submit();\">"),
                QString()));
        return html(composePage(*site, QString(), SubmitButton, QString()));
    }
    if (name == QLatin1String("tamar") && leaf == QLatin1String("result")) {
        // A refusal goes back to the form a third of a second after it shows.
        const QString back = verdict == QLatin1Char('r')
            ? QStringLiteral("<script>setTimeout(function () { location.replace('/tamar/sms'); }, 330);</script>\n")
            : QString();
        return html(page(site->title, QStringLiteral("<h1>תמר</h1>\n<p>%1</p>\n%2").arg(verdictText(verdict), back)));
    }
    if (name == QLatin1String("yarden") && leaf == QLatin1String("result"))
        return html(page(site->title,
            QStringLiteral("<h1>ירדן</h1>\n<p id=\"verdict\">בודקים את מצב ההודעה...</p>\n"
                           "<script>\n"
                           "window.addEventListener('load', function () {\n"
                           "  fetch('/yarden/verdict?v=%1').then(function (r) { return r.text(); })\n"
                           "    .then(function (t) { if (t) document.getElementById('verdict').textContent = t; });\n"
                           "});\n"
                           "</script>\n")
                .arg(verdict)));
    if (name == QLatin1String("yarden") && leaf == QLatin1String("verdict"))
        return plainText(verdict == QLatin1Char('s') ? QString() : verdictText(verdict), 1500);
    if (name == QLatin1String("golan") && leaf == QLatin1String("result"))
        return html(QStringLiteral("<!DOCTYPE html>\n<html dir=\"rtl\" lang=\"he\"><head><meta charset=\"utf-8\">"
                                   "<title>גולן</title></head>\n<frameset rows=\"60,*\">"
                                   "<frame name=\"head\" src=\"/golan/head\">"
                                   "<frame name=\"answer\" src=\"/golan/verdict?v=%1\"></frameset></html>\n")
                        .arg(verdict));
    if (name == QLatin1String("golan") && leaf == QLatin1String("head"))
        return html(page(site->title, QStringLiteral("<h1>גולן</h1>\n")));
    if ((name == QLatin1String("golan") || name == QLatin1String("hermon")) && leaf == QLatin1String("verdict"))
        return html(page(site->title, QStringLiteral("<p>%1</p>\n").arg(verdictText(verdict))));
    return std::nullopt;
}

std::optional<HttpResponse> VerdictSites::answerSend(const QString& site, const HttpRequest& request)
{
    if (request.method != "POST")
        return HttpResponse::redirect(303, (QLatin1Char('/') + site + QStringLiteral("/sms")).toUtf8());
    const QMap<QString, QString> fields = HttpForm::fieldMap(request.body);
    if (site == QLatin1String("arava")) {
        m_record(site, request, fields, QStringLiteral("expired"));
        return HttpResponse::redirect(303, "/arava/login");
    }
    const QChar verdict = verdictOf(fields);
    m_record(site, request, fields, outcomeName(verdict));
    const QString title
        = std::find_if(sites().cbegin(), sites().cend(), [&](const Site& s) { return s.name == site; })->title;
    if (site == QLatin1String("tamar")) {
        // A page that asks to wait, then moves on by itself: by a refresh when the message was taken, by
        // its script otherwise.
        const QString next = QStringLiteral("/tamar/result?v=") + verdict;
        return html(page(title,
            QStringLiteral("<h1>תמר</h1>\n<p>ההודעה נשלחת, נא להמתין...</p>\n%1")
                .arg(verdict == QLatin1Char('a')
                        ? QString()
                        : QStringLiteral("<script>setTimeout(function () { location.replace('%1'); "
                                         "}, 700);</script>\n")
                              .arg(next)),
            verdict == QLatin1Char('a')
                ? QStringLiteral("<meta http-equiv=\"refresh\" content=\"1;url=%1\">\n").arg(next)
                : QString()));
    }
    if (site == QLatin1String("yarden") || site == QLatin1String("golan"))
        return HttpResponse::redirect(303, QStringLiteral("/%1/result?v=%2").arg(site).arg(verdict).toUtf8());
    if (site == QLatin1String("carmel"))
        return plainText(verdict == QLatin1Char('s') ? Silent : verdictText(verdict), 700);
    if (site == QLatin1String("hermon"))
        return html(page(title,
            QStringLiteral(
                "<h1>חרמון</h1>\n<p>תוצאת השליחה:</p>\n"
                "<iframe src=\"http://localhost:%1/hermon/verdict?v=%2\" width=\"400\" height=\"80\"></iframe>\n")
                .arg(m_port())
                .arg(verdict)));
    if (site == QLatin1String("sharon"))
        return html(page(title,
            QStringLiteral("<script>\n%1history.back();\n</script>\n")
                .arg(verdict == QLatin1Char('s') ? QString()
                                                 : QStringLiteral("alert('%1');\n").arg(verdictText(verdict)))));
    // negev: the page that the form's own window shows.
    return html(page(title,
        QStringLiteral("<h1>נגב</h1>\n<p>%1</p>\n<p><a href=\"javascript:window.close()\">סגירת החלון</a></p>\n")
            .arg(verdictText(verdict))));
}
