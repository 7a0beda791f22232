#include "SandboxPages.h"

#include <QStringList>

namespace {

QString page(const QString& title, const QString& body, const QString& style = QString())
{
    return QStringLiteral("<!DOCTYPE html>\n"
                          "<html dir=\"rtl\" lang=\"he\">\n"
                          "<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                          "<style>body{font-family:sans-serif;margin:12px}%3</style>\n</head>\n"
                          "<body>\n%2</body>\n</html>\n")
        .arg(title, body, style); // titles are literals of this file, already HTML
}

const QString saharStyle = QStringLiteral("h1{color:#1b5e20}.error{color:#b00020;font-weight:bold}"
                                          "label{display:inline-block;min-width:7em}");
const QString kesherStyle = QStringLiteral("h1{color:#0d47a1}.result{font-size:120%}");

} // namespace

const QStringList& SandboxPages::areaCodes()
{
    static const QStringList codes { QStringLiteral("050"), QStringLiteral("052"), QStringLiteral("053"),
        QStringLiteral("054"), QStringLiteral("057") };
    return codes;
}

const QStringList& SandboxPages::ofekAreaCodes()
{
    static const QStringList codes { QStringLiteral("055"), QStringLiteral("058") };
    return codes;
}

QString SandboxPages::galimAreaCode()
{
    return QStringLiteral("051");
}

QString SandboxPages::shefaAreaCode()
{
    return QStringLiteral("056");
}

QString SandboxPages::magenAreaCode()
{
    return QStringLiteral("059");
}

QString SandboxPages::magenWord()
{
    return QStringLiteral("TAPUZ");
}

QString SandboxPages::magenCode()
{
    return QStringLiteral("4821");
}

QString SandboxPages::ofekTokenField()
{
    return QStringLiteral("token");
}

QString SandboxPages::ofekTokenValue()
{
    return QStringLiteral("ofek-7f3a");
}

QString SandboxPages::saharPrefixValue(const QString& code)
{
    return code.mid(1);
}

QString SandboxPages::kesherSendLink()
{
    return QStringLiteral("javascript:document.sms.submit()");
}

QString SandboxPages::home(const QString& baseUrl)
{
    return page(QStringLiteral("רשת הניסוי של זלקורה"),
        QStringLiteral("<h1>רשת הניסוי של זלקורה</h1>\n"
                       "<p>שרת מקומי זה מדמה את שירות ההגדרות ואתרים של כמה מפעילים, כדי שאפשר יהיה לנסות "
                       "את התוכנה בלי חשבון אמיתי. אף הודעה אינה נשלחת באמת.</p>\n"
                       "<ul>\n"
                       "<li><a href=\"/sahar/\">סהר</a> &ndash; קידומות 050, 052, 053; דורש כניסה.</li>\n"
                       "<li><a href=\"/kesher/sms\">קשר</a> &ndash; קידומות 054, 057; ללא כניסה.</li>\n"
                       "<li><a href=\"/ofek/login\">אופק</a> &ndash; קידומות 055, 058; דורש כניסה; "
                       "הדפים נבנים בסקריפט.</li>\n"
                       "<li><a href=\"/galim/sms\">גלים</a> &ndash; קידומת 051; ללא כניסה; פרסומת שמתחלפת "
                       "במסגרת של אתר אחר, ותשובה איטית.</li>\n"
                       "<li><a href=\"/shefa/sms\">שפע</a> &ndash; קידומת 056; ללא כניסה; עונה בדף שגיאה "
                       "(HTTP 500).</li>\n"
                       "<li><a href=\"/magen/login\">מגן</a> &ndash; קידומת 059; כניסה, ואחריה שאלה שרק אדם יכול "
                       "לענות עליה (המילה שבתמונה) וקוד שנשלח לטלפון.</li>\n"
                       "<li>תמר, ירדן, כרמל, נגב, גולן, חרמון, שרון, ערבה ואילת &ndash; קידומות 061 עד 069; ללא "
                       "כניסה (מלבד ערבה): כל אחד עונה על ההודעה בדרך אחרת של אתרים היום (דף המתנה, תשובה "
                       "מאוחרת, שליחה ברקע, חלון חדש, מסגרות, הודעה קופצת, חיבור שפג).</li>\n"
                       "</ul>\n"
                       "<h2>פרטי כניסה לדוגמה</h2>\n"
                       "<p>שם משתמש: <b dir=\"ltr\">demo</b><br>סיסמה: <b dir=\"ltr\">demo1234</b></p>\n"
                       "<p>מספר שמתחיל בספרה 9 נדחה על ידי הרשת; באתרי הקידומות 061 עד 069, מספר שמתחיל בספרה 8 "
                       "אינו מקבל תשובה כלל.</p>\n"
                       "<p dir=\"ltr\">Service address: <code>%1</code></p>\n")
            .arg(baseUrl.toHtmlEscaped()));
}

QString SandboxPages::help()
{
    return page(QStringLiteral("עזרה"),
        QStringLiteral("<h1>עזרה</h1>\n"
                       "<p>בחרו קידומת, הקלידו מספר, שם שולח והודעה ולחצו על שלח. "
                       "ברשת סהר יש להזין בהעדפות את שם המשתמש demo ואת הסיסמה demo1234.</p>\n"
                       "<p><a href=\"/\">חזרה לדף הבית</a></p>\n"));
}

QString SandboxPages::saharFrameset()
{
    // A frameset page has no body; the login form lives in the first frame.
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" "
                          "\"http://www.w3.org/TR/html4/frameset.dtd\">\n"
                          "<html dir=\"rtl\" lang=\"he\">\n"
                          "<head>\n<meta charset=\"utf-8\">\n<title>סהר &ndash; מסרונים מהאתר</title>\n</head>\n"
                          "<frameset rows=\"*,40\">\n"
                          "<frame name=\"main\" src=\"/sahar/login\">\n"
                          "<frame name=\"footer\" src=\"/sahar/footer\" scrolling=\"no\">\n"
                          "</frameset>\n"
                          "</html>\n");
}

QString SandboxPages::saharFooter()
{
    return page(QStringLiteral("סהר"), QStringLiteral("<small>&copy; סהר תקשורת &ndash; שירות לקוחות *5050</small>\n"),
        QStringLiteral("body{margin:4px;background:#e8f5e9}"));
}

QString SandboxPages::saharLogin(bool failed, const QString& userName)
{
    QString body = QStringLiteral("<h1>סהר תקשורת</h1>\n<p>כניסה לשירות המסרונים מהאתר</p>\n");
    if (failed)
        body += QStringLiteral("<p class=\"error\">שם משתמש או סיסמה שגויים</p>\n");
    body += QStringLiteral("<form name=\"loginForm\" method=\"post\" action=\"/sahar/login\">\n"
                           "<label for=\"user\">שם משתמש:</label> "
                           "<input type=\"text\" id=\"user\" name=\"user\" value=\"%1\" dir=\"ltr\"><br>\n"
                           "<label for=\"pass\">סיסמה:</label> "
                           "<input type=\"password\" id=\"pass\" name=\"pass\" dir=\"ltr\"><br>\n"
                           "<input type=\"submit\" name=\"doLogin\" value=\"כניסה\">\n"
                           "</form>\n"
                           "<p><a href=\"/sahar/signup\" target=\"_top\">עדיין לא רשומים? להרשמה</a></p>\n"
                           "<hr>\n"
                           "<form name=\"search\" method=\"get\" action=\"/sahar/search\">\n"
                           "<label for=\"q\">חיפוש באתר:</label> <input type=\"text\" id=\"q\" name=\"q\">\n"
                           "<input type=\"submit\" value=\"חפש\">\n"
                           "</form>\n")
                .arg(userName.toHtmlEscaped());
    return page(QStringLiteral("סהר &ndash; כניסה"), body, saharStyle);
}

QString SandboxPages::saharMessage()
{
    QString options;
    for (const QString& code : areaCodes())
        options += QStringLiteral("<option value=\"%1\">%2</option>\n").arg(saharPrefixValue(code), code);
    return page(QStringLiteral("סהר &ndash; שליחת מסרון"),
        QStringLiteral("<h1>שליחת מסרון</h1>\n"
                       "<p>מחובר למערכת. עד 100 תווים בהודעה.</p>\n"
                       "<form name=\"smsForm\" method=\"post\" action=\"/sahar/send\" target=\"_top\">\n"
                       "<label for=\"sender\">שם השולח:</label> "
                       "<input type=\"text\" id=\"sender\" name=\"sender\" maxlength=\"20\"><br>\n"
                       "<label for=\"number\">מספר הנמען:</label> "
                       "<select name=\"prefix\">\n%1</select>\n"
                       "<input type=\"text\" id=\"number\" name=\"number\" maxlength=\"7\" dir=\"ltr\"><br>\n"
                       "<label for=\"text\">תוכן ההודעה:</label><br>\n"
                       "<textarea id=\"text\" name=\"text\" rows=\"4\" cols=\"40\"></textarea><br>\n"
                       "<input type=\"submit\" name=\"Submit\" value=\"שלח\">\n"
                       "</form>\n")
            .arg(options),
        saharStyle);
}

QString SandboxPages::saharAccepted(const QString& number)
{
    return page(QStringLiteral("סהר &ndash; אישור"),
        QStringLiteral("<h1>סהר תקשורת</h1>\n"
                       "<p>ההודעה נשלחה בהצלחה למספר <span dir=\"ltr\">%1</span>.</p>\n"
                       "<p><a href=\"/sahar/\">הודעה חדשה</a></p>\n")
            .arg(number.toHtmlEscaped()),
        saharStyle);
}

QString SandboxPages::saharRejected(const QString& number)
{
    return page(QStringLiteral("סהר &ndash; שגיאה"),
        QStringLiteral("<h1>סהר תקשורת</h1>\n"
                       "<p class=\"error\">ההודעה נדחתה: המספר אינו מנוי ברשת</p>\n"
                       "<p dir=\"ltr\">%1</p>\n"
                       "<p><a href=\"/sahar/\">הודעה חדשה</a></p>\n")
            .arg(number.toHtmlEscaped()),
        saharStyle);
}

QString SandboxPages::saharExpired()
{
    return page(QStringLiteral("סהר"),
        QStringLiteral("<h1>סהר תקשורת</h1>\n"
                       "<p class=\"error\">פג תוקף החיבור. יש להיכנס שוב.</p>\n"
                       "<p><a href=\"/sahar/\">כניסה</a></p>\n"),
        saharStyle);
}

QString SandboxPages::saharSignup()
{
    return page(QStringLiteral("סהר &ndash; הרשמה"),
        QStringLiteral("<h1>הרשמה לשירות המסרונים</h1>\n"
                       "<p>ברשת הניסוי אין צורך בהרשמה: היכנסו עם שם המשתמש "
                       "<b dir=\"ltr\">demo</b> והסיסמה <b dir=\"ltr\">demo1234</b>.</p>\n"),
        saharStyle);
}

QString SandboxPages::saharSearch(const QString& query)
{
    return page(QStringLiteral("סהר &ndash; חיפוש"),
        QStringLiteral("<h1>תוצאות חיפוש</h1>\n<p>לא נמצאו תוצאות עבור &quot;%1&quot;.</p>\n")
            .arg(query.toHtmlEscaped()),
        saharStyle);
}

QString SandboxPages::kesherForm()
{
    // No submit button: the page submits only through its script link, as some operator sites do.
    return page(QStringLiteral("קשר &ndash; מסרון חינם"),
        QStringLiteral("<h1>קשר סלולר</h1>\n"
                       "<p>שליחת מסרון למנויי קשר. עד 70 תווים.</p>\n"
                       "<form name=\"sms\" method=\"post\" action=\"/kesher/send\">\n"
                       "<p>מספר הטלפון (כולל קידומת): "
                       "<input type=\"text\" name=\"phone\" maxlength=\"10\" dir=\"ltr\"></p>\n"
                       "<p>ההודעה:<br><textarea name=\"msg\" rows=\"4\" cols=\"40\"></textarea></p>\n"
                       "</form>\n"
                       "<p><a href=\"%1\">שלח</a></p>\n")
            .arg(kesherSendLink()),
        kesherStyle);
}

QString SandboxPages::kesherAccepted()
{
    return page(QStringLiteral("קשר"),
        QStringLiteral("<h1>קשר סלולר</h1>\n<p class=\"result\">הודעתך התקבלה ותישלח בקרוב</p>\n"
                       "<p><a href=\"/kesher/sms\">הודעה נוספת</a></p>\n"),
        kesherStyle);
}

QString SandboxPages::kesherRejected()
{
    return page(QStringLiteral("קשר"),
        QStringLiteral("<h1>קשר סלולר</h1>\n<p class=\"result\">ההודעה לא נשלחה - מספר שגוי</p>\n"
                       "<p><a href=\"/kesher/sms\">נסו שוב</a></p>\n"),
        kesherStyle);
}

QString SandboxPages::partnerFrameset(quint16 port)
{
    return QStringLiteral("<!DOCTYPE html>\n<html dir=\"rtl\" lang=\"he\"><head><meta charset=\"utf-8\">"
                          "<title>שותף</title></head>\n<frameset rows=\"*,40\">"
                          "<frame name=\"main\" src=\"http://localhost:%1/sahar/login\">"
                          "<frame name=\"footer\" src=\"/sahar/footer\"></frameset></html>\n")
        .arg(port);
}

namespace {
const QString ofekStyle
    = QStringLiteral("h1{color:#4a148c}.error{color:#b00020}label{display:inline-block;min-width:7em}");
} // namespace

QString SandboxPages::ofekLogin(bool failed)
{
    QString body = QStringLiteral("<h1>אופק מובייל</h1>\n");
    if (failed)
        body += QStringLiteral("<p class=\"error\">הכניסה נכשלה</p>\n");
    body += QStringLiteral(
        "<div id=\"login\"><noscript>יש להפעיל סקריפטים</noscript></div>\n"
        "<script>\n"
        "window.addEventListener('load', function () {\n"
        "  var form = document.createElement('form');\n"
        "  form.name = 'login'; form.method = 'post'; form.action = '/ofek/login';\n"
        "  form.innerHTML = '<label>שם משתמש:</label> <input type=\"text\" name=\"user\" dir=\"ltr\"><br>'\n"
        "    + '<label>סיסמה:</label> <input type=\"password\" name=\"password\" dir=\"ltr\"><br>'\n"
        "    + '<input type=\"submit\" name=\"enter\" value=\"כניסה\">';\n"
        "  document.getElementById('login').appendChild(form);\n"
        "});\n"
        "</script>\n");
    return page(QStringLiteral("אופק &ndash; כניסה"), body, ofekStyle);
}

QString SandboxPages::ofekMessage()
{
    QString options;
    for (const QString& code : ofekAreaCodes())
        options += QStringLiteral("<option value=\"%1\">%2</option>\n").arg(code.mid(1), code);
    return page(QStringLiteral("אופק &ndash; מסרון"),
        QStringLiteral("<h1>אופק מובייל</h1>\n"
                       "<form name=\"sms\" method=\"post\" action=\"/ofek/send\">\n"
                       "<label>השולח:</label> <input type=\"text\" name=\"from\"><br>\n"
                       "<label>קידומת:</label> <select name=\"area\">\n%1</select>\n"
                       "<label>מספר:</label> <input type=\"text\" name=\"phone\" dir=\"ltr\"><br>\n"
                       "<label>הודעה:</label><br><textarea name=\"body\" rows=\"4\" cols=\"40\"></textarea><br>\n"
                       "<input type=\"button\" name=\"go\" value=\"שליחה\" onclick=\"this.form.submit()\">\n"
                       "</form>\n"
                       "<script>\n"
                       "function addHidden(form, name, value) {\n"
                       "  var field = document.createElement('input');\n"
                       "  field.type = 'hidden'; field.name = name; field.value = value;\n"
                       "  form.insertBefore(field, form.firstChild);\n"
                       "}\n"
                       "document.body.onload = function () {\n"
                       "  addHidden(document.forms.sms, '%2', '%3');\n"
                       "  // The site's own defaults and one more field, a moment after the page has loaded.\n"
                       "  setTimeout(function () {\n"
                       "    var form = document.forms.sms;\n"
                       "    form.from.value = 'אורח'; form.phone.value = ''; form.body.value = 'כתבו כאן';\n"
                       "    addHidden(form, 'ts', String(Date.now()));\n"
                       "  }, 0);\n"
                       "};\n"
                       "</script>\n")
            .arg(options, ofekTokenField(), ofekTokenValue()),
        ofekStyle);
}

QString SandboxPages::ofekResult(bool accepted)
{
    return page(QStringLiteral("אופק"),
        QStringLiteral("<h1>אופק מובייל</h1>\n<p id=\"verdict\"></p>\n"
                       "<script>\n"
                       "var accepted = %1;\n"
                       "window.onload = function () {\n"
                       "  document.getElementById('verdict').textContent =\n"
                       "    accepted ? 'ההודעה נמסרה לרשת' : 'ההודעה סורבה על ידי הרשת';\n"
                       "};\n"
                       "</script>\n")
            .arg(accepted ? QStringLiteral("true") : QStringLiteral("false")),
        ofekStyle);
}

namespace {
const QString galimStyle = QStringLiteral("h1{color:#006064}iframe{border:0;width:300px;height:60px}");
} // namespace

QString SandboxPages::galimMessage(quint16 port)
{
    return page(QStringLiteral("גלים &ndash; מסרון"),
        QStringLiteral("<h1>גלים תקשורת</h1>\n"
                       "<iframe name=\"promo\" src=\"http://localhost:%1/galim/ad\"></iframe>\n"
                       "<form name=\"sms\" method=\"post\" action=\"/galim/send\">\n"
                       "<label>השולח:</label> <input type=\"text\" name=\"sender\"><br>\n"
                       "<label>קידומת:</label> <input type=\"text\" name=\"prefix\" size=\"3\" dir=\"ltr\">\n"
                       "<label>מספר:</label> <input type=\"text\" name=\"number\" dir=\"ltr\"><br>\n"
                       "<label>הודעה:</label><br><textarea name=\"message\" rows=\"4\" cols=\"40\"></textarea><br>\n"
                       "<input type=\"submit\" name=\"send\" value=\"שליחה\">\n"
                       "</form>\n")
            .arg(port),
        galimStyle);
}

QString SandboxPages::galimFramed(quint16 port)
{
    return QStringLiteral("<!DOCTYPE html>\n<html dir=\"rtl\" lang=\"he\"><head><meta charset=\"utf-8\">"
                          "<title>גלים</title></head>\n<frameset cols=\"*,320\">"
                          "<frame name=\"main\" src=\"/galim/sms\">"
                          "<frame name=\"side\" src=\"http://localhost:%1/galim/ad\"></frameset></html>\n")
        .arg(port);
}

QString SandboxPages::galimAdvert(int number)
{
    // Each advert makes way for the next one a moment after it has loaded.
    return page(QStringLiteral("פרסומת"),
        QStringLiteral("<p><b>מבצע %1</b>: גלישה ללא הגבלה!</p>\n"
                       "<script>setTimeout(function () { location.replace('/galim/ad?n=%2'); }, 250);</script>\n")
            .arg(number)
            .arg(number + 1),
        QStringLiteral("body{margin:4px;background:#fff8e1;font-size:90%}"));
}

QString SandboxPages::galimAccepted()
{
    return page(QStringLiteral("גלים"),
        QStringLiteral(
            "<h1>גלים תקשורת</h1>\n<p>המסרון נשלח ליעדו</p>\n<p><a href=\"/galim/sms\">מסרון נוסף</a></p>\n"),
        galimStyle);
}

QString SandboxPages::galimRejected()
{
    return page(QStringLiteral("גלים"),
        QStringLiteral("<h1>גלים תקשורת</h1>\n<p>לא ניתן לשלוח למספר זה</p>\n<p><a href=\"/galim/sms\">חזרה</a></p>\n"),
        galimStyle);
}

QString SandboxPages::shefaMessage()
{
    return page(QStringLiteral("שפע &ndash; מסרון"),
        QStringLiteral("<h1>שפע סלולר</h1>\n"
                       "<form name=\"msg\" method=\"post\" action=\"/shefa/send\">\n"
                       "<label>אל:</label> <input type=\"text\" name=\"to\" dir=\"ltr\"><br>\n"
                       "<label>מאת:</label> <input type=\"text\" name=\"from\"><br>\n"
                       "<label>הודעה:</label><br><textarea name=\"body\" rows=\"4\" cols=\"40\"></textarea><br>\n"
                       "<input type=\"submit\" value=\"שלח\">\n"
                       "</form>\n"));
}

QString SandboxPages::shefaError()
{
    return page(QStringLiteral("שגיאה"),
        QStringLiteral("<h1>שגיאה בשרת</h1>\n<p>פג תוקף החיבור שלך. יש לנסות שוב מאוחר יותר.</p>\n"));
}

namespace {
const QString magenStyle = QStringLiteral("h1{color:#bf360c}.error{color:#b00020;font-weight:bold}"
                                          "label{display:inline-block;min-width:7em}img{border:1px solid #999}");

// The one form of both of magen's questions.
QString magenCheck(const QString& question, bool wrong)
{
    QString body = QStringLiteral("<h1>מגן סלולר</h1>\n");
    if (wrong)
        body += QStringLiteral("<p class=\"error\">התשובה שגויה, נסה שוב</p>\n");
    body += question;
    body += QStringLiteral("<form name=\"check\" method=\"post\" action=\"/magen/check\">\n"
                           "<label for=\"answer\">התשובה:</label> "
                           "<input type=\"text\" id=\"answer\" name=\"answer\" autocomplete=\"off\" dir=\"ltr\" "
                           "autofocus>\n"
                           "<input type=\"submit\" name=\"go\" value=\"המשך\">\n"
                           "</form>\n");
    return page(QStringLiteral("מגן &ndash; אימות"), body, magenStyle);
}
} // namespace

QString SandboxPages::magenLogin(bool failed, const QString& userName)
{
    QString body = QStringLiteral("<h1>מגן סלולר</h1>\n<p>כניסה לשירות המסרונים</p>\n");
    // After a failed login the password field has the focus, for the password to be typed again.
    if (failed)
        body += QStringLiteral("<p class=\"error\">שם המשתמש או הסיסמה שגויים</p>\n");
    body += QStringLiteral("<form name=\"login\" method=\"post\" action=\"/magen/login\">\n"
                           "<label for=\"user\">שם משתמש:</label> "
                           "<input type=\"text\" id=\"user\" name=\"user\" value=\"%1\" dir=\"ltr\"><br>\n"
                           "<label for=\"password\">סיסמה:</label> "
                           "<input type=\"password\" id=\"password\" name=\"password\" dir=\"ltr\"%2><br>\n"
                           "<input type=\"submit\" name=\"enter\" value=\"כניסה\">\n"
                           "</form>\n")
                .arg(userName.toHtmlEscaped(), failed ? QStringLiteral(" autofocus") : QString());
    return page(QStringLiteral("מגן &ndash; כניסה"), body, magenStyle);
}

QString SandboxPages::magenWordQuestion(bool wrong)
{
    return magenCheck(QStringLiteral("<p>כדי להמשיך, הקלידו את המילה שבתמונה.</p>\n"
                                     "<p><img src=\"/magen/word.svg\" alt=\"\" width=\"240\" height=\"90\"></p>\n"),
        wrong);
}

QString SandboxPages::magenCodeQuestion(bool wrong)
{
    return magenCheck(QStringLiteral("<p>שלחנו קוד אימות בהודעה לטלפון שלך. הקלידו אותו כאן.</p>\n"
                                     "<p>בארגז החול הקוד מוצג כאן: %1</p>\n")
                          .arg(magenCode()),
        wrong);
}

QString SandboxPages::magenMessage()
{
    return page(QStringLiteral("מגן &ndash; מסרון"),
        QStringLiteral("<h1>מגן סלולר</h1>\n"
                       "<p>עד 100 תווים בהודעה.</p>\n"
                       "<form name=\"sms\" method=\"post\" action=\"/magen/send\">\n"
                       "<label>השולח:</label> <input type=\"text\" name=\"from\"><br>\n"
                       "<label>קידומת:</label> <select name=\"area\">\n<option value=\"\">בחרו</option>\n"
                       "<option value=\"%1\">%1</option>\n</select>\n"
                       "<label>מספר:</label> <input type=\"text\" name=\"phone\" dir=\"ltr\"><br>\n"
                       "<label>הודעה:</label><br><textarea name=\"body\" rows=\"4\" cols=\"40\"></textarea><br>\n"
                       "<input type=\"submit\" name=\"send\" value=\"שליחה\">\n"
                       "</form>\n")
            .arg(magenAreaCode()),
        magenStyle);
}

QString SandboxPages::magenResult(bool accepted)
{
    return page(QStringLiteral("מגן"),
        QStringLiteral("<h1>מגן סלולר</h1>\n<p>%1</p>\n<p><a href=\"/magen/login\">הודעה נוספת</a></p>\n")
            .arg(accepted ? QStringLiteral("ההודעה נמסרה") : QStringLiteral("ההודעה סורבה")),
        magenStyle);
}

QByteArray SandboxPages::magenWordPicture()
{
    // Each letter on its own, turned and lifted a little; the lines cross the letters, not only the background.
    static const int turns[] = { -14, 9, -6, 12, -10, 7, -4, 11 };
    static const int lifts[] = { 4, -6, 2, -3, 6, -2, 5, -5 };
    const QString word = magenWord();
    QString letters;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const int x = 30 + int(i) * 42;
        const int y = 62 + lifts[i % 8];
        letters += QStringLiteral("<text x=\"%1\" y=\"%2\" transform=\"rotate(%3 %1 %2)\">%4</text>\n")
                       .arg(x)
                       .arg(y)
                       .arg(turns[i % 8])
                       .arg(QString(word.at(i)).toHtmlEscaped());
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"240\" height=\"90\" "
                          "viewBox=\"0 0 240 90\">\n"
                          "<rect width=\"240\" height=\"90\" fill=\"#f4efe1\"/>\n"
                          "<g transform=\"skewX(-8) translate(8 0)\" font-family=\"serif\" font-size=\"48\" "
                          "font-weight=\"bold\" fill=\"#3e2723\">\n%1</g>\n"
                          "<g fill=\"none\" stroke-width=\"2\">\n"
                          "<path d=\"M4 30 C60 10 120 80 236 44\" stroke=\"#6d4c41\"/>\n"
                          "<path d=\"M8 70 L232 22\" stroke=\"#8d6e63\"/>\n"
                          "<path d=\"M2 52 Q90 86 170 40 T238 66\" stroke=\"#5d4037\"/>\n"
                          "<path d=\"M20 8 L110 84\" stroke=\"#a1887f\" stroke-width=\"1\"/>\n"
                          "</g>\n"
                          "</svg>\n")
        .arg(letters)
        .toUtf8();
}
