// Checks the sandbox network from the outside, as the program and a browser see it.

#include "SandboxPages.h"
#include "SandboxServer.h"
#include "VerdictSites.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTcpSocket>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Reply
{
    int status = 0;
    QString body;
    QUrl url; // after redirects
};

// The parameters of every tag of a service document, decoded the way the program reads them
// (items split at blanks, "+" a space, %XX a byte, the bytes windows-1255).
QList<QPair<QString, QMap<QString, QString>>> readTags(const QByteArray& document)
{
    QList<QPair<QString, QMap<QString, QString>>> tags;
    static const QRegularExpression tagPattern(QStringLiteral("<#([A-Za-z_][A-Za-z0-9_]*)([^>]*)>"));
    QStringDecoder decoder("windows-1255");
    auto it = tagPattern.globalMatch(QString::fromLatin1(document));
    while (it.hasNext()) {
        const auto match = it.next();
        QMap<QString, QString> params;
        const QStringList items = match.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& item : items) {
            QByteArray raw = item.toLatin1();
            raw.replace('+', ' ');
            const QString decoded = decoder.decode(QByteArray::fromPercentEncoding(raw));
            const qsizetype eq = decoded.indexOf(QLatin1Char('='));
            params.insert(decoded.left(eq).toLower(), decoded.mid(eq + 1));
        }
        tags.append({ match.captured(1), params });
    }
    return tags;
}

} // namespace

class SandboxSelfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void saharLoginSessionAndSend();
    void siteVerdicts_data();
    void siteVerdicts();
    void magenAsksBeforeEveryMessage();
    void magenWordPicture();
    void documentDescribesTheSites();
    void initAnswerCanBeReplaced();
    void rawExchange_data();
    void rawExchange();
    void unreachableOperatorRefuses();
    void bannerPictures_data();
    void bannerPictures();

private:
    Reply get(const QString& path);
    Reply post(const QString& path, const QByteArray& body);
    Reply finish(QNetworkReply* reply);
    QByteArray exchange(const QByteArray& request);

    SandboxServer m_server;
    QNetworkAccessManager m_nam;
};

void SandboxSelfTest::initTestCase()
{
    QVERIFY2(m_server.listen(), qPrintable(m_server.errorString()));
    QVERIFY(m_server.port() != 0);
    QCOMPARE(m_server.baseUrl(), QStringLiteral("http://127.0.0.1:%1").arg(m_server.port()));
}

void SandboxSelfTest::init()
{
    m_server.clearSubmissions();
    m_server.expireSessions();
    m_nam.setCookieJar(new QNetworkCookieJar(&m_nam));
}

Reply SandboxSelfTest::finish(QNetworkReply* reply)
{
    if (!reply->isFinished())
        QSignalSpy(reply, &QNetworkReply::finished).wait(5000);
    Reply r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.body = QString::fromUtf8(reply->readAll());
    r.url = reply->url();
    reply->deleteLater();
    return r;
}

Reply SandboxSelfTest::get(const QString& path)
{
    return finish(m_nam.get(QNetworkRequest(QUrl(m_server.baseUrl() + path))));
}

Reply SandboxSelfTest::post(const QString& path, const QByteArray& body)
{
    QNetworkRequest request(QUrl(m_server.baseUrl() + path));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    return finish(m_nam.post(request, body));
}

// Sends raw bytes on a fresh connection and returns everything the server wrote until it closed.
QByteArray SandboxSelfTest::exchange(const QByteArray& request)
{
    QTcpSocket socket;
    QByteArray received;
    connect(&socket, &QTcpSocket::readyRead, this, [&] { received += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, m_server.port());
    if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000))
        return "not connected";
    socket.write(request);
    const bool closed = QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 5000);
    received += socket.readAll();
    if (!closed)
        received += "\n[the server kept the connection open]";
    return received;
}

void SandboxSelfTest::saharLoginSessionAndSend()
{
    QSignalSpy received(&m_server, &SandboxServer::submissionReceived);

    Reply r = get(QStringLiteral("/sahar/msg"));
    QCOMPARE(r.url.path(), QStringLiteral("/sahar/login")); // no session yet
    QVERIFY(r.body.contains(QStringLiteral("name=\"loginForm\"")));

    r = post(QStringLiteral("/sahar/login"), "user=demo&pass=wrong&doLogin=x");
    QCOMPARE(r.status, 200);
    QVERIFY(r.body.contains(QStringLiteral("שם משתמש או סיסמה שגויים")));
    QVERIFY(m_nam.cookieJar()->cookiesForUrl(QUrl(m_server.baseUrl() + QStringLiteral("/sahar/msg"))).isEmpty());

    r = post(QStringLiteral("/sahar/login"), "user=demo&pass=demo1234&doLogin=x");
    QCOMPARE(r.status, 200);
    QCOMPARE(r.url.path(), QStringLiteral("/sahar/msg"));
    QVERIFY(r.body.contains(QStringLiteral("name=\"smsForm\"")));
    // The session cookie belongs to the site's path only.
    QCOMPARE(m_nam.cookieJar()->cookiesForUrl(QUrl(m_server.baseUrl() + QStringLiteral("/sahar/msg"))).size(), 1);
    QVERIFY(m_nam.cookieJar()->cookiesForUrl(QUrl(m_server.baseUrl() + QStringLiteral("/kesher/sms"))).isEmpty());

    // "שלום עולם" in UTF-8, a "+" and an invalid escape that must arrive as it was sent.
    r = post(QStringLiteral("/sahar/send"),
        "sender=Dana&prefix=52&number=1234567&text=%D7%A9%D7%9C%D7%95%D7%9D+%D7%A2%D7%95%D7%9C%D7%9D%2B%ZZ"
        "&Submit=%D7%A9%D7%9C%D7%97");
    QVERIFY(r.body.contains(QStringLiteral("ההודעה נשלחה בהצלחה")));

    const QList<SandboxSubmission> subs = m_server.submissions();
    QCOMPARE(subs.size(), 3);
    QCOMPARE(received.size(), 3);
    QCOMPARE(subs.at(0).outcome, QStringLiteral("badlogin"));
    QCOMPARE(subs.at(1).outcome, QStringLiteral("login"));
    QCOMPARE(subs.at(1).fields.value(QStringLiteral("pass")), QStringLiteral("demo1234"));
    const SandboxSubmission& sent = subs.at(2);
    QCOMPARE(sent.site, QStringLiteral("sahar"));
    QCOMPARE(sent.path, QStringLiteral("/sahar/send"));
    QCOMPARE(sent.method, QStringLiteral("POST"));
    QCOMPARE(sent.outcome, QStringLiteral("accepted"));
    QCOMPARE(sent.fields.value(QStringLiteral("text")), QStringLiteral("שלום עולם+%ZZ"));
    QCOMPARE(sent.fields.value(QStringLiteral("Submit")), QStringLiteral("שלח"));
    QVERIFY(sent.cookie.startsWith(QStringLiteral("SAHAR_SESSION=")));

    m_server.expireSessions();
    r = post(QStringLiteral("/sahar/send"), "number=1234567&text=x");
    QCOMPARE(r.status, 200);
    QVERIFY(r.body.contains(QStringLiteral("פג תוקף החיבור")));
    QVERIFY(!r.body.contains(QStringLiteral("נשלחה בהצלחה")));
    QCOMPARE(m_server.submissions().last().outcome, QStringLiteral("expired"));
    QCOMPARE(get(QStringLiteral("/sahar/msg")).url.path(), QStringLiteral("/sahar/login"));
}

void SandboxSelfTest::siteVerdicts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body"); // empty: a GET of the path
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("text");

    const QString saharOk = QStringLiteral("ההודעה נשלחה בהצלחה");
    const QString saharNo = QStringLiteral("ההודעה נדחתה: המספר אינו מנוי ברשת");
    const QString kesherOk = QStringLiteral("הודעתך התקבלה ותישלח בקרוב");
    const QString kesherNo = QStringLiteral("ההודעה לא נשלחה - מספר שגוי");
    QTest::newRow("sahar accepted") << "/sahar/send" << QByteArray("number=1234567&text=a") << "accepted" << saharOk;
    QTest::newRow("sahar 9 rejected") << "/sahar/send" << QByteArray("number=9123456&text=a") << "rejected" << saharNo;
    QTest::newRow("sahar 9 later") << "/sahar/send" << QByteArray("number=1934567") << "accepted" << saharOk;
    QTest::newRow("sahar by GET") << "/sahar/send?number=9000000&text=a" << QByteArray() << "rejected" << saharNo;
    QTest::newRow("kesher accepted") << "/kesher/send" << QByteArray("phone=0541234567&msg=a") << "accepted"
                                     << kesherOk;
    QTest::newRow("kesher 9 rejected") << "/kesher/send" << QByteArray("phone=0549123456") << "rejected" << kesherNo;
    QTest::newRow("kesher dash") << "/kesher/send" << QByteArray("phone=054-9123456") << "rejected" << kesherNo;
    QTest::newRow("kesher 9 in area") << "/kesher/send" << QByteArray("phone=9541234567") << "accepted" << kesherOk;
    // Ofek's result page carries its verdict for its script to write.
    const QString ofekOk = QStringLiteral("var accepted = true;");
    const QString ofekNo = QStringLiteral("var accepted = false;");
    QTest::newRow("ofek accepted") << "/ofek/send" << QByteArray("token=ofek-7f3a&phone=1234567") << "accepted"
                                   << ofekOk;
    QTest::newRow("ofek 9 rejected") << "/ofek/send" << QByteArray("token=ofek-7f3a&phone=9234567") << "rejected"
                                     << ofekNo;
    QTest::newRow("ofek without its page's field")
        << "/ofek/send" << QByteArray("phone=1234567") << "badtoken" << ofekNo;
}

void SandboxSelfTest::siteVerdicts()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(QString, outcome);
    QFETCH(QString, text);

    // The login by GET query is what some providers' pages do; it must open a session as a POST does.
    QCOMPARE(get(QStringLiteral("/sahar/login?user=demo&pass=demo1234")).url.path(), QStringLiteral("/sahar/msg"));
    QCOMPARE(
        post(QStringLiteral("/ofek/login"), "user=demo&password=demo1234").url.path(), QStringLiteral("/ofek/msg"));
    m_server.clearSubmissions();

    const Reply r = body.isEmpty() ? get(path) : post(path, body);
    QCOMPARE(r.status, 200);
    QVERIFY2(r.body.contains(text), qPrintable(r.body));
    QCOMPARE(m_server.submissions().size(), 1);
    QCOMPARE(m_server.submissions().first().outcome, outcome);
}

void SandboxSelfTest::magenAsksBeforeEveryMessage()
{
    struct Step
    {
        const char* path;
        QByteArray body; // empty: a GET of the path
        const char* landing; // path and query after the redirects
        QString text;
        const char* outcome; // recorded by this step, empty when none
    };
    const QString word = QStringLiteral("src=\"/magen/word.svg\"");
    const QString code = QStringLiteral("בארגז החול הקוד מוצג כאן: 4821");
    const QString wrong = QStringLiteral("התשובה שגויה, נסה שוב");
    const QString form = QStringLiteral("name=\"sms\"");
    const Step steps[] = {
        { "/magen/msg", {}, "/magen/login", QStringLiteral("name=\"login\""), "" },
        { "/magen/login?user=demo&password=demo1234", {}, "/magen/login?user=demo&password=demo1234",
            QStringLiteral("name=\"password\""), "" },
        { "/magen/login", "user=dana&password=demo1234", "/magen/login", QStringLiteral("שם המשתמש או הסיסמה שגויים"),
            "badlogin" },
        { "/magen/login", "user=demo&password=demo1234&enter=x", "/magen/check", word, "login" },
        { "/magen/msg", {}, "/magen/check", word, "" },
        { "/magen/check", "answer=TAPOZ", "/magen/check?wrong=1", wrong, "wrong" },
        { "/magen/send", "phone=1234567&body=a", "/magen/login", QStringLiteral("name=\"login\""), "expired" },
        { "/magen/check", "answer=+tapuz+&go=x", "/magen/check", code, "answered" },
        { "/magen/check", "answer=TAPUZ", "/magen/check?wrong=1", code, "wrong" },
        { "/magen/check", "answer=4821", "/magen/msg", form, "answered" },
        { "/magen/send", "from=Dana&area=059&phone=1234567&body=a", "/magen/send", QStringLiteral("ההודעה נמסרה"),
            "accepted" },
        // One message per answers: the same session is asked again, and so is a new login.
        { "/magen/msg", {}, "/magen/check", word, "" },
        { "/magen/send", "phone=1234567&body=a", "/magen/login", QStringLiteral("name=\"login\""), "expired" },
        { "/magen/login", "user=demo&password=demo1234", "/magen/check", word, "login" },
    };
    for (const Step& step : steps) {
        const QString path = QString::fromLatin1(step.path);
        const int recorded = m_server.submissions().size();
        const Reply r = step.body.isEmpty() ? get(path) : post(path, step.body);
        const QString where = path + QLatin1Char(' ') + QString::fromLatin1(step.body);
        QVERIFY2(r.status == 200, qPrintable(where));
        QCOMPARE(r.url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority), QString::fromLatin1(step.landing));
        QVERIFY2(r.body.contains(step.text), qPrintable(where + QLatin1Char('\n') + r.body));
        const QList<SandboxSubmission> subs = m_server.submissions();
        QCOMPARE(subs.size(), recorded + (*step.outcome ? 1 : 0));
        if (*step.outcome) {
            QCOMPARE(subs.last().site, QStringLiteral("magen"));
            QCOMPARE(subs.last().outcome, QString::fromLatin1(step.outcome));
        }
    }
    // A failed login keeps the name typed; the sent message arrived with the session's cookie.
    QVERIFY(SandboxPages::magenLogin(true, QStringLiteral("dana")).contains(QStringLiteral("value=\"dana\"")));
    const SandboxSubmission sent = m_server.submissions().at(7);
    QCOMPARE(sent.fields.value(QStringLiteral("area")), QStringLiteral("059"));
    QVERIFY(sent.cookie.startsWith(QStringLiteral("MAGEN=")));
}

void SandboxSelfTest::magenWordPicture()
{
    QNetworkReply* reply = m_nam.get(QNetworkRequest(QUrl(m_server.baseUrl() + QStringLiteral("/magen/word.svg"))));
    QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(5000));
    reply->deleteLater();
    QCOMPARE(reply->header(QNetworkRequest::ContentTypeHeader).toString(), QStringLiteral("image/svg+xml"));
    // Well-formed SVG whose letters, read in order, are the word.
    QXmlStreamReader xml(reply->readAll());
    QString letters;
    bool svg = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        svg = svg || xml.name() == QLatin1String("svg");
        if (xml.name() == QLatin1String("text"))
            letters += xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(svg);
    QCOMPARE(letters, SandboxPages::magenWord());
}

void SandboxSelfTest::documentDescribesTheSites()
{
    const Reply init = get(QStringLiteral("/smsinit?IP=127.0.0.1&Version=1.11"));
    QCOMPARE(init.status, 200);
    const QByteArray document = m_server.serviceDocument();
    for (char c : document)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, "Hebrew must travel as %XX escapes");

    const auto tags = readTags(document);
    QStringList names;
    for (const auto& t : tags)
        names << t.first;
    // The six operators, then the eight verdict sites and eilat on negev's page.
    QCOMPARE(names.join(QLatin1Char(' ')),
        QStringLiteral("AREAS PROVIDERS ") + QStringLiteral("PROVIDER ").repeated(6 + 9)
            + QStringLiteral("PARAMS ONLINEHELP SESSION ADVERTS ADVERT ADVERT ADVERT FINISHED"));

    // Every address in the document is served, and on this server's own port.
    const QStringList addressKeys { QStringLiteral("loginurl"), QStringLiteral("msgurl"), QStringLiteral("signupurl"),
        QStringLiteral("homepage"), QStringLiteral("url"), QStringLiteral("adurl"), QStringLiteral("adhomeurl") };
    for (const auto& t : tags) {
        for (const QString& key : addressKeys) {
            const QString address = t.second.value(key);
            if (address.isEmpty())
                continue;
            QVERIFY2(address.startsWith(m_server.baseUrl() + QLatin1Char('/')), qPrintable(address));
            QCOMPARE(get(address.mid(m_server.baseUrl().size())).status, 200);
        }
    }

    // The result texts, the submit lookups and the area values match what the sites really show.
    const auto sahar = tags.at(2).second;
    const auto kesher = tags.at(3).second;
    const auto ofek = tags.at(4).second;
    QCOMPARE(sahar.value(QStringLiteral("resaccepted")), QStringLiteral("נשלחה בהצלחה"));
    QVERIFY(SandboxPages::saharAccepted(QStringLiteral("1")).contains(sahar.value(QStringLiteral("resaccepted"))));
    QVERIFY(!SandboxPages::saharRejected(QStringLiteral("9")).contains(sahar.value(QStringLiteral("resaccepted"))));
    QVERIFY(SandboxPages::saharRejected(QStringLiteral("9")).contains(sahar.value(QStringLiteral("resrejected"))));
    QVERIFY(SandboxPages::kesherAccepted().contains(kesher.value(QStringLiteral("resaccepted"))));
    QVERIFY(!SandboxPages::kesherRejected().contains(kesher.value(QStringLiteral("resaccepted"))));
    QVERIFY(SandboxPages::kesherRejected().contains(kesher.value(QStringLiteral("resrejected"))));
    // Ofek's verdict is written by the result page's script, so it is in the page's source only as script text.
    QVERIFY(SandboxPages::ofekResult(true).contains(ofek.value(QStringLiteral("resaccepted"))));
    QVERIFY(SandboxPages::ofekResult(true).contains(ofek.value(QStringLiteral("resrejected"))));
    QCOMPARE(sahar.value(QStringLiteral("msgsubmitvalue")), QStringLiteral("שלח"));
    QVERIFY(SandboxPages::saharMessage().contains(QStringLiteral("name=\"Submit\"")));
    QVERIFY(SandboxPages::kesherForm().contains(
        QStringLiteral("href=\"%1\"").arg(kesher.value(QStringLiteral("msgsubmitlookup")))));
    const auto galim = tags.at(5).second;
    const auto shefa = tags.at(6).second;
    QVERIFY(SandboxPages::galimAccepted().contains(galim.value(QStringLiteral("resaccepted"))));
    QVERIFY(SandboxPages::galimRejected().contains(galim.value(QStringLiteral("resrejected"))));
    // Shefa's error page holds neither text: only its status tells that the message was not taken.
    QVERIFY(!SandboxPages::shefaError().contains(shefa.value(QStringLiteral("resaccepted"))));
    QVERIFY(!SandboxPages::shefaError().contains(shefa.value(QStringLiteral("resrejected"))));

    // Magen's definition, whole: the login and message forms submitted directly, the area chosen from a list.
    const QString base = m_server.baseUrl();
    const QMap<QString, QString> magen {
        { QStringLiteral("name"), QStringLiteral("Magen") },
        { QStringLiteral("areacodes"), QStringLiteral("059") },
        { QStringLiteral("loginurl"), base + QStringLiteral("/magen/login") },
        { QStringLiteral("loginframe"), QStringLiteral("-1") },
        { QStringLiteral("loginform"), QStringLiteral("login") },
        { QStringLiteral("userfield"), QStringLiteral("user") },
        { QStringLiteral("passfield"), QStringLiteral("password") },
        { QStringLiteral("loginsubmit"), QStringLiteral("2") },
        { QStringLiteral("loginsubmitlookup"), QStringLiteral("enter") },
        { QStringLiteral("msgurl"), base + QStringLiteral("/magen/msg") },
        { QStringLiteral("msgframe"), QStringLiteral("-1") },
        { QStringLiteral("msgform"), QStringLiteral("sms") },
        { QStringLiteral("fromfield"), QStringLiteral("from") },
        { QStringLiteral("areafield"), QStringLiteral("area") },
        { QStringLiteral("phonefield"), QStringLiteral("phone") },
        { QStringLiteral("msgfield"), QStringLiteral("body") },
        { QStringLiteral("msgsubmit"), QStringLiteral("2") },
        { QStringLiteral("msgsubmitlookup"), QStringLiteral("send") },
        { QStringLiteral("resaccepted"), QStringLiteral("ההודעה נמסרה") },
        { QStringLiteral("resrejected"), QStringLiteral("ההודעה סורבה") },
        { QStringLiteral("msglimit"), QStringLiteral("עד 100 תווים") },
        { QStringLiteral("clearcrlf"), QStringLiteral("0") },
    };
    QCOMPARE(tags.at(7).second, magen);
    QVERIFY(SandboxPages::magenResult(true).contains(magen.value(QStringLiteral("resaccepted"))));
    QVERIFY(!SandboxPages::magenResult(false).contains(magen.value(QStringLiteral("resaccepted"))));
    QVERIFY(SandboxPages::magenResult(false).contains(magen.value(QStringLiteral("resrejected"))));
    QVERIFY(!SandboxPages::magenResult(true).contains(magen.value(QStringLiteral("resrejected"))));

    QStringList defs = tags.at(0).second.value(QStringLiteral("defs")).split(QLatin1Char(','));
    QCOMPARE(defs.size(), 10 + VerdictSites::areaCodes().size());
    // Galim's, shefa's and the verdict sites' numbers are typed whole; the others choose their area code from a
    // list.
    QVERIFY(defs.removeOne(SandboxPages::galimAreaCode() + QLatin1Char('=') + SandboxPages::galimAreaCode()));
    QVERIFY(defs.removeOne(SandboxPages::shefaAreaCode() + QLatin1Char('=') + SandboxPages::shefaAreaCode()));
    for (const QString& code : VerdictSites::areaCodes())
        QVERIFY(defs.removeOne(code + QLatin1Char('=') + code));
    for (const QString& def : defs) {
        const QString option = QStringLiteral(">%1</option>").arg(def.section(QLatin1Char('='), 1));
        QVERIFY2(SandboxPages::saharMessage().contains(option) || SandboxPages::ofekMessage().contains(option)
                || SandboxPages::magenMessage().contains(option),
            qPrintable(def));
    }
}

void SandboxSelfTest::initAnswerCanBeReplaced()
{
    m_server.setInitStatus(500);
    QCOMPARE(get(QStringLiteral("/smsinit?IP=1&Version=1.11")).status, 500);
    m_server.setInitStatus(200);

    m_server.setInitDocument("<#SESSION ID=7>");
    QCOMPARE(get(QStringLiteral("/smsinit")).body, QStringLiteral("<#SESSION ID=7>"));
    m_server.resetInitDocument();
    QVERIFY(get(QStringLiteral("/smsinit")).body.endsWith(QStringLiteral("<#FINISHED>\r\n")));

    // The statistics reply carries the banner list that UPDATED puts in force.
    const QString update = get(QStringLiteral("/smsupdate?ID=sandbox-1&Hits=")).body;
    QVERIFY2(update.startsWith(QStringLiteral("<#ADVERTS>\r\n<#ADVERT ")), qPrintable(update));
    QVERIFY(update.endsWith(QStringLiteral("<#UPDATED>\r\n<#FINISHED>\r\n")));
}

void SandboxSelfTest::unreachableOperatorRefuses()
{
    const QString url = m_server.unreachableUrl();
    QVERIFY(url.startsWith(QStringLiteral("http://127.0.0.1:")));
    QCOMPARE(m_server.unreachableUrl(), url); // one port for the server's life
    for (int i = 0; i < 2; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, QUrl(url).port());
        QVERIFY(!socket.waitForConnected(3000));
        QCOMPARE(socket.error(), QAbstractSocket::ConnectionRefusedError);
    }
}

void SandboxSelfTest::rawExchange_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("statuses");

    QTest::newRow("garbage line") << QByteArray("BLAH\r\n\r\n") << "400";
    QTest::newRow("two words") << QByteArray("GET /\r\n\r\n") << "400";
    QTest::newRow("HTTP/2") << QByteArray("GET / HTTP/2.0\r\n\r\n") << "505";
    QTest::newRow("relative target") << QByteArray("GET help HTTP/1.1\r\n\r\n") << "400";
    QTest::newRow("raw 8-bit target") << QByteArray("GET /\xd7\xa9 HTTP/1.1\r\n\r\n") << "400";
    QTest::newRow("header without colon") << QByteArray("GET / HTTP/1.1\r\nHost\r\n\r\n") << "400";
    QTest::newRow("folded header") << QByteArray("GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n") << "400";
    QTest::newRow("bad length") << QByteArray("POST /kesher/send HTTP/1.1\r\nContent-Length: 1x\r\n\r\n") << "400";
    QTest::newRow("two lengths") << QByteArray("POST /kesher/send HTTP/1.1\r\nContent-Length: 1\r\n"
                                               "Content-Length: 2\r\n\r\nab")
                                 << "400";
    QTest::newRow("body over limit") << QByteArray("POST /kesher/send HTTP/1.1\r\nContent-Length: 1048577\r\n\r\n")
                                     << "413";
    QTest::newRow("chunked") << QByteArray("POST /kesher/send HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n")
                             << "501";
    QTest::newRow("head too long") << QByteArray("GET /" + QByteArray(20000, 'a') + " HTTP/1.1\r\n\r\n") << "431";
    QTest::newRow("unknown method") << QByteArray("DELETE / HTTP/1.1\r\nConnection: close\r\n\r\n") << "405";
    QTest::newRow("post to a page") << QByteArray("POST /help HTTP/1.1\r\nConnection: close\r\n\r\n") << "405";
    QTest::newRow("multipart form") << QByteArray("POST /kesher/send HTTP/1.1\r\nContent-Type: multipart/form-data\r\n"
                                                  "Connection: close\r\n\r\n")
                                    << "415";
    QTest::newRow("unknown path") << QByteArray("GET /nowhere HTTP/1.1\r\nConnection: close\r\n\r\n") << "404";
    QTest::newRow("keep-alive in order") << QByteArray("GET /help HTTP/1.1\r\n\r\n"
                                                       "GET /nowhere HTTP/1.1\r\nConnection: close\r\n\r\n")
                                         << "200 404";
    QTest::newRow("HTTP/1.0 closes") << QByteArray("GET /help HTTP/1.0\r\n\r\nGET /help HTTP/1.0\r\n\r\n") << "200";
    QTest::newRow("bad after good") << QByteArray("GET /help HTTP/1.1\r\n\r\nBLAH\r\n\r\nGET / HTTP/1.1\r\n\r\n")
                                    << "200 400";
    QTest::newRow("POST body") << QByteArray("POST /kesher/send HTTP/1.0\r\nContent-Length: 7\r\n\r\nphone=1") << "200";
}

void SandboxSelfTest::rawExchange()
{
    QFETCH(QByteArray, request);
    QFETCH(QString, statuses);

    const QByteArray answer = exchange(request);
    QStringList seen;
    static const QRegularExpression statusLine(QStringLiteral("HTTP/1\\.1 (\\d{3}) "));
    auto it = statusLine.globalMatch(QString::fromLatin1(answer));
    while (it.hasNext())
        seen << it.next().captured(1);
    QCOMPARE(seen.join(QLatin1Char(' ')), statuses);

    // A refused request records nothing, and the server goes on serving.
    if (!statuses.startsWith(QLatin1String("200")))
        QVERIFY(m_server.submissions().isEmpty());
    QCOMPARE(get(QStringLiteral("/")).status, 200);
}

void SandboxSelfTest::bannerPictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QRgb>("frame");
    QTest::addColumn<QRgb>("inside");

    QTest::newRow("a.gif") << "/banners/a.gif"
                           << "gif" << qRgb(0x1b, 0x5e, 0x20) << qRgb(0xc8, 0xe6, 0xc9);
    QTest::newRow("b.gif") << "/banners/b.gif"
                           << "gif" << qRgb(0x0d, 0x47, 0xa1) << qRgb(0xbb, 0xde, 0xfb);
    QTest::newRow("c.jpg") << "/banners/c.jpg"
                           << "jpeg" << QRgb(0) << QRgb(0);
}

void SandboxSelfTest::bannerPictures()
{
    QFETCH(QString, path);
    QFETCH(QString, format);
    QFETCH(QRgb, frame);
    QFETCH(QRgb, inside);

    QNetworkReply* reply = m_nam.get(QNetworkRequest(QUrl(m_server.baseUrl() + path)));
    QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(5000));
    const QByteArray bytes = reply->readAll();
    reply->deleteLater();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(QString::fromLatin1(QImageReader::imageFormat(&buffer)), format);
    const QImage image = QImage::fromData(bytes);
    QCOMPARE(image.size(), QSize(195, 56));
    if (frame != 0) {
        // Every pixel decodes to its own colour: the corners are frame, the middle of the top half panel.
        QCOMPARE(image.pixel(0, 0), frame);
        QCOMPARE(image.pixel(194, 55), frame);
        QCOMPARE(image.pixel(100, 10), inside);
        QCOMPARE(image.pixel(100, 45), inside);
    }
}

QTEST_GUILESS_MAIN(SandboxSelfTest)
#include "selftest.moc"
