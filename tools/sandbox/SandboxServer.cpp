#include "SandboxServer.h"

#include "BannerPictures.h"
#include "HttpConnection.h"
#include "HttpMessage.h"
#include "SandboxPages.h"
#include "SandboxService.h"
#include "VerdictSites.h"

#include <QRandomGenerator>

#include <QTcpServer>
#include <QTcpSocket>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QByteArray SaharCookie = "SAHAR_SESSION";
const QByteArray OfekCookie = "OFEK_SESSION";
const QByteArray MagenCookie = "MAGEN";

// The steps of a magen session: the word in the picture, then the code, then the message page.
const QString MagenQuestion = QStringLiteral("question");
const QString MagenCode = QStringLiteral("code");
const QString MagenDone = QStringLiteral("done");

HttpResponse methodNotAllowed(const QByteArray& allowed)
{
    HttpResponse r = HttpResponse::error(405);
    r.addHeader("Allow", allowed);
    return r;
}

QByteArray newSessionId()
{
    QByteArray id;
    for (int i = 0; i < 2; ++i)
        id += QByteArray::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, '0');
    return id;
}

// The fields of a form submission: the query of a GET, the url-encoded body of a POST.
QMap<QString, QString> formFields(const HttpRequest& request)
{
    return HttpForm::fieldMap(request.method == "POST" ? request.body : request.query);
}

} // namespace

QString SandboxServer::demoUserName()
{
    return QStringLiteral("demo");
}

QString SandboxServer::demoPassword()
{
    return QStringLiteral("demo1234");
}

SandboxServer::SandboxServer(QObject* parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_verdictSites(std::make_unique<VerdictSites>(
          [this](const QString& site, const HttpRequest& request, const QMap<QString, QString>& fields,
              const QString& outcome) { record(site, request, fields, outcome); },
          [this] { return port(); }))
{
    qRegisterMetaType<SandboxSubmission>();
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            // Answers go out in small pieces; waiting to batch them only delays every page.
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            new HttpConnection(
                socket, [this](const HttpRequest& request) { return handle(request); }, this);
        }
    });
}

SandboxServer::~SandboxServer()
{
    close();
    if (m_heldPort >= 0)
        ::close(m_heldPort);
}

bool SandboxServer::listen(quint16 port)
{
    if (m_server->isListening())
        close();
    return m_server->listen(QHostAddress::LocalHost, port);
}

bool SandboxServer::isListening() const
{
    return m_server->isListening();
}

QString SandboxServer::errorString() const
{
    return m_server->errorString();
}

quint16 SandboxServer::port() const
{
    return m_server->serverPort();
}

QString SandboxServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void SandboxServer::close()
{
    m_server->close();
    const auto connections = findChildren<HttpConnection*>(QString(), Qt::FindDirectChildrenOnly);
    for (HttpConnection* connection : connections)
        connection->abort();
}

QString SandboxServer::unreachableUrl()
{
    if (m_heldPort < 0) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0
            || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            if (fd >= 0)
                ::close(fd);
            return QString();
        }
        m_heldPort = fd;
        m_heldPortNumber = ntohs(address.sin_port);
    }
    return QStringLiteral("http://127.0.0.1:%1").arg(m_heldPortNumber);
}

QList<SandboxSubmission> SandboxServer::submissions() const
{
    return m_submissions;
}

void SandboxServer::clearSubmissions()
{
    m_submissions.clear();
}

int SandboxServer::hits(const QString& path) const
{
    return m_hits.value(path);
}

void SandboxServer::clearHits()
{
    m_hits.clear();
}

QByteArray SandboxServer::serviceDocument() const
{
    return m_initDocumentSet ? m_initDocument : SandboxService::initDocument(baseUrl());
}

void SandboxServer::setInitDocument(const QByteArray& document)
{
    m_initDocument = document;
    m_initDocumentSet = true;
}

void SandboxServer::resetInitDocument()
{
    m_initDocument.clear();
    m_initDocumentSet = false;
}

void SandboxServer::setInitStatus(int httpStatus)
{
    m_initStatus = httpStatus;
}

void SandboxServer::setUpdateDocument(const QByteArray& document)
{
    m_updateDocument = document;
    m_updateDocumentSet = true;
}

void SandboxServer::expireSessions()
{
    m_sessions.clear();
}

void SandboxServer::setGalimDelay(int ms)
{
    m_galimDelayMs = ms;
}

HttpResponse SandboxServer::handle(const HttpRequest& request)
{
    ++m_hits[request.path];
    if (request.method != "GET" && request.method != "HEAD" && request.method != "POST")
        return methodNotAllowed("GET, HEAD, POST");
    if (request.method == "POST") {
        const QByteArray type = request.header("content-type").split(';').first().trimmed().toLower();
        if (!type.isEmpty() && type != "application/x-www-form-urlencoded")
            return HttpResponse::error(415);
    }
    return route(request);
}

HttpResponse SandboxServer::route(const HttpRequest& request)
{
    const QString& path = request.path;
    const bool post = request.method == "POST";

    if (std::optional<HttpResponse> answer = m_verdictSites->answer(request))
        return *answer;
    // Form targets first; every other address is a plain page.
    if (path == QLatin1String("/sahar/login"))
        return saharLogin(request);
    if (path == QLatin1String("/sahar/send"))
        return saharSend(request);
    if (path == QLatin1String("/kesher/send"))
        return kesherSend(request);
    if (path == QLatin1String("/ofek/login"))
        return ofekLogin(request);
    if (path == QLatin1String("/ofek/send"))
        return ofekSend(request);
    if (path == QLatin1String("/galim/send"))
        return galimSend(request);
    if (path == QLatin1String("/shefa/send"))
        return shefaSend(request);
    if (path == QLatin1String("/magen/login"))
        return magenLogin(request);
    if (path == QLatin1String("/magen/check"))
        return magenCheck(request);
    if (path == QLatin1String("/magen/send"))
        return magenSend(request);

    HttpResponse response;
    if (path == QLatin1String("/"))
        response = HttpResponse::html(200, SandboxPages::home(baseUrl()));
    else if (path == QLatin1String("/help"))
        response = HttpResponse::html(200, SandboxPages::help());
    else if (path == QLatin1String("/slow/sms")) {
        // An operator whose page takes longer than any attempt waits.
        response = HttpResponse::html(200, QStringLiteral("<p>late</p>"));
        response.delayMs = 120000;
    }
    else if (path == QLatin1String("/smsinit"))
        response = serviceInit();
    else if (path == QLatin1String("/smsupdate")) {
        response.contentType = "text/plain; charset=windows-1255";
        response.body = m_updateDocumentSet ? m_updateDocument : SandboxService::updateDocument(baseUrl());
    } else if (path.startsWith(QLatin1String("/banners/")))
        response = picture(path.mid(9));
    else if (path == QLatin1String("/sahar"))
        response = HttpResponse::redirect(301, "/sahar/");
    else if (path == QLatin1String("/sahar/"))
        response = HttpResponse::html(200, SandboxPages::saharFrameset());
    else if (path == QLatin1String("/partner/"))
        // A partner's frameset whose login frame comes from another origin (localhost, not 127.0.0.1): the
        // browser refuses the engine access to it.
        response = HttpResponse::html(200, SandboxPages::partnerFrameset(port()));
    else if (path == QLatin1String("/sahar/footer"))
        response = HttpResponse::html(200, SandboxPages::saharFooter());
    else if (path == QLatin1String("/sahar/msg"))
        response = saharMessage(request);
    else if (path == QLatin1String("/sahar/signup"))
        response = HttpResponse::html(200, SandboxPages::saharSignup());
    else if (path == QLatin1String("/sahar/search"))
        response = HttpResponse::html(200, SandboxPages::saharSearch(formFields(request).value(QStringLiteral("q"))));
    else if (path == QLatin1String("/kesher") || path == QLatin1String("/kesher/"))
        response = HttpResponse::redirect(301, "/kesher/sms");
    else if (path == QLatin1String("/kesher/sms"))
        response = HttpResponse::html(200, SandboxPages::kesherForm());
    else if (path == QLatin1String("/ofek") || path == QLatin1String("/ofek/"))
        response = HttpResponse::redirect(301, "/ofek/login");
    else if (path == QLatin1String("/galim/sms"))
        response = HttpResponse::html(200, SandboxPages::galimMessage(port()));
    else if (path == QLatin1String("/galim/framed"))
        response = HttpResponse::html(200, SandboxPages::galimFramed(port()));
    else if (path == QLatin1String("/galim/ad"))
        response = HttpResponse::html(200,
            SandboxPages::galimAdvert(
                qMax(1, HttpForm::fieldMap(request.query).value(QStringLiteral("n"), QStringLiteral("1")).toInt())));
    else if (path == QLatin1String("/shefa/sms"))
        response = HttpResponse::html(200, SandboxPages::shefaMessage());
    else if (path == QLatin1String("/magen") || path == QLatin1String("/magen/"))
        response = HttpResponse::redirect(301, "/magen/login");
    else if (path == QLatin1String("/magen/msg"))
        response = magenMessage(request);
    else if (path == QLatin1String("/magen/word.svg")) {
        response.contentType = "image/svg+xml";
        response.body = SandboxPages::magenWordPicture();
    } else if (path == QLatin1String("/ofek/msg"))
        response = hasSession(request, OfekCookie) ? HttpResponse::html(200, SandboxPages::ofekMessage())
                                                   : HttpResponse::redirect(303, "/ofek/login");
    else
        return HttpResponse::error(404);

    if (post)
        return methodNotAllowed("GET, HEAD");
    return response;
}

HttpResponse SandboxServer::serviceInit()
{
    if (m_initStatus != 200)
        return HttpResponse::error(m_initStatus);
    HttpResponse r;
    r.contentType = "text/plain; charset=windows-1255";
    r.body = serviceDocument();
    return r;
}

HttpResponse SandboxServer::picture(const QString& fileName)
{
    QByteArray type;
    QByteArray (*make)() = nullptr;
    if (fileName == QLatin1String("a.gif")) {
        type = "image/gif";
        make = &BannerPictures::bannerA;
    } else if (fileName == QLatin1String("b.gif")) {
        type = "image/gif";
        make = &BannerPictures::bannerB;
    } else if (fileName == QLatin1String("c.jpg")) {
        type = "image/jpeg";
        make = &BannerPictures::bannerC;
    } else {
        return HttpResponse::error(404);
    }

    auto it = m_pictures.find(fileName);
    if (it == m_pictures.end())
        it = m_pictures.insert(fileName, make());
    if (it->isEmpty()) // this Qt has no JPEG writer
        return HttpResponse::error(404);
    HttpResponse r;
    r.contentType = type;
    r.body = *it;
    return r;
}

bool SandboxServer::hasSession(const HttpRequest& request, const QByteArray& cookie) const
{
    return !sessionOf(request, cookie).isEmpty();
}

QByteArray SandboxServer::sessionOf(const HttpRequest& request, const QByteArray& cookie) const
{
    const auto cookies = HttpForm::parseCookies(request.header("cookie"));
    for (const auto& c : cookies) {
        if (c.first == cookie && m_sessions.contains(c.second))
            return c.second;
    }
    return QByteArray();
}

HttpResponse SandboxServer::openSession(
    const QByteArray& cookie, const QByteArray& path, const QByteArray& location, const QString& stage)
{
    const QByteArray session = newSessionId();
    m_sessions.insert(session, stage);
    HttpResponse r = HttpResponse::redirect(303, location);
    r.addHeader("Set-Cookie", cookie + '=' + session + "; Path=" + path + "; HttpOnly");
    return r;
}

void SandboxServer::record(
    const QString& site, const HttpRequest& request, const QMap<QString, QString>& fields, const QString& outcome)
{
    SandboxSubmission s;
    s.site = site;
    s.path = request.path;
    s.method = QString::fromLatin1(request.method);
    s.fields = fields;
    s.cookie = QString::fromLatin1(request.header("cookie"));
    s.outcome = outcome;
    m_submissions.append(s);
    emit submissionReceived(s);
}

HttpResponse SandboxServer::saharLogin(const HttpRequest& request)
{
    const QMap<QString, QString> fields = formFields(request);
    const QString user = QStringLiteral("user");
    const QString pass = QStringLiteral("pass");
    // A GET is a login attempt only when it carries both credentials; otherwise it asks for the page.
    const bool attempt = request.method == "POST" || (fields.contains(user) && fields.contains(pass));
    if (!attempt)
        return HttpResponse::html(200, SandboxPages::saharLogin(false));

    const bool valid = fields.value(user) == demoUserName() && fields.value(pass) == demoPassword();
    record(QStringLiteral("sahar"), request, fields, valid ? QStringLiteral("login") : QStringLiteral("badlogin"));
    if (!valid)
        return HttpResponse::html(200, SandboxPages::saharLogin(true, fields.value(user)));

    return openSession(SaharCookie, "/sahar", "/sahar/msg");
}

HttpResponse SandboxServer::saharMessage(const HttpRequest& request)
{
    if (!hasSession(request, SaharCookie))
        return HttpResponse::redirect(303, "/sahar/login");
    return HttpResponse::html(200, SandboxPages::saharMessage());
}

HttpResponse SandboxServer::saharSend(const HttpRequest& request)
{
    if (request.method != "POST" && request.query.isEmpty())
        return HttpResponse::redirect(303, "/sahar/msg");

    const QMap<QString, QString> fields = formFields(request);
    const QString site = QStringLiteral("sahar");
    // A submission without a live session is still recorded, so a test sees what was sent and why it failed.
    if (!hasSession(request, SaharCookie)) {
        record(site, request, fields, QStringLiteral("expired"));
        return HttpResponse::html(200, SandboxPages::saharExpired());
    }
    const QString number = fields.value(QStringLiteral("number")).trimmed();
    const bool rejected = number.startsWith(QLatin1Char('9'));
    record(site, request, fields, rejected ? QStringLiteral("rejected") : QStringLiteral("accepted"));
    return HttpResponse::html(
        200, rejected ? SandboxPages::saharRejected(number) : SandboxPages::saharAccepted(number));
}

HttpResponse SandboxServer::kesherSend(const HttpRequest& request)
{
    if (request.method != "POST" && request.query.isEmpty())
        return HttpResponse::redirect(303, "/kesher/sms");

    const QMap<QString, QString> fields = formFields(request);
    QString digits;
    for (const QChar c : fields.value(QStringLiteral("phone"))) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    // The first three digits are the area code; the subscriber's number follows.
    const bool rejected = digits.mid(3).startsWith(QLatin1Char('9'));
    record(
        QStringLiteral("kesher"), request, fields, rejected ? QStringLiteral("rejected") : QStringLiteral("accepted"));
    return HttpResponse::html(200, rejected ? SandboxPages::kesherRejected() : SandboxPages::kesherAccepted());
}

HttpResponse SandboxServer::ofekLogin(const HttpRequest& request)
{
    if (request.method != "POST")
        return HttpResponse::html(200, SandboxPages::ofekLogin(false));
    const QMap<QString, QString> fields = formFields(request);
    const bool valid = fields.value(QStringLiteral("user")) == demoUserName()
        && fields.value(QStringLiteral("password")) == demoPassword();
    record(QStringLiteral("ofek"), request, fields, valid ? QStringLiteral("login") : QStringLiteral("badlogin"));
    if (!valid)
        return HttpResponse::html(200, SandboxPages::ofekLogin(true));
    return openSession(OfekCookie, "/ofek", "/ofek/msg");
}

HttpResponse SandboxServer::ofekSend(const HttpRequest& request)
{
    if (request.method != "POST")
        return HttpResponse::redirect(303, "/ofek/msg");
    const QMap<QString, QString> fields = formFields(request);
    const QString site = QStringLiteral("ofek");
    if (!hasSession(request, OfekCookie)) {
        record(site, request, fields, QStringLiteral("expired"));
        return HttpResponse::redirect(303, "/ofek/login");
    }
    // The field the page's own script adds is the site's proof that the form came from its page.
    if (fields.value(SandboxPages::ofekTokenField()) != SandboxPages::ofekTokenValue()) {
        record(site, request, fields, QStringLiteral("badtoken"));
        return HttpResponse::html(200, SandboxPages::ofekResult(false));
    }
    const bool rejected = fields.value(QStringLiteral("phone")).trimmed().startsWith(QLatin1Char('9'));
    record(site, request, fields, rejected ? QStringLiteral("rejected") : QStringLiteral("accepted"));
    return HttpResponse::html(200, SandboxPages::ofekResult(!rejected));
}

HttpResponse SandboxServer::galimSend(const HttpRequest& request)
{
    if (request.method != "POST")
        return HttpResponse::redirect(303, "/galim/sms");
    const QMap<QString, QString> fields = formFields(request);
    const bool rejected = fields.value(QStringLiteral("number")).trimmed().startsWith(QLatin1Char('9'));
    record(
        QStringLiteral("galim"), request, fields, rejected ? QStringLiteral("rejected") : QStringLiteral("accepted"));
    HttpResponse r = HttpResponse::html(200, rejected ? SandboxPages::galimRejected() : SandboxPages::galimAccepted());
    r.delayMs = m_galimDelayMs;
    return r;
}

HttpResponse SandboxServer::shefaSend(const HttpRequest& request)
{
    if (request.method != "POST")
        return HttpResponse::redirect(303, "/shefa/sms");
    record(QStringLiteral("shefa"), request, formFields(request), QStringLiteral("error"));
    return HttpResponse::html(500, SandboxPages::shefaError());
}

HttpResponse SandboxServer::magenLogin(const HttpRequest& request)
{
    // Only a POST logs in; a GET, whatever its query, asks for the page.
    if (request.method != "POST")
        return HttpResponse::html(200, SandboxPages::magenLogin(false));
    const QMap<QString, QString> fields = formFields(request);
    const bool valid = fields.value(QStringLiteral("user")) == demoUserName()
        && fields.value(QStringLiteral("password")) == demoPassword();
    record(QStringLiteral("magen"), request, fields, valid ? QStringLiteral("login") : QStringLiteral("badlogin"));
    if (!valid)
        return HttpResponse::html(200, SandboxPages::magenLogin(true, fields.value(QStringLiteral("user"))));
    // Every login starts at the first question, whatever an earlier session of the browser had answered.
    return openSession(MagenCookie, "/magen", "/magen/check", MagenQuestion);
}

HttpResponse SandboxServer::magenCheck(const HttpRequest& request)
{
    const QByteArray session = sessionOf(request, MagenCookie);
    const QString site = QStringLiteral("magen");
    if (request.method != "POST") {
        if (session.isEmpty())
            return HttpResponse::redirect(303, "/magen/login");
        const QString stage = m_sessions.value(session);
        const bool wrong = HttpForm::fieldMap(request.query).contains(QStringLiteral("wrong"));
        if (stage == MagenQuestion)
            return HttpResponse::html(200, SandboxPages::magenWordQuestion(wrong));
        if (stage == MagenCode)
            return HttpResponse::html(200, SandboxPages::magenCodeQuestion(wrong));
        return HttpResponse::redirect(303, "/magen/msg");
    }

    const QMap<QString, QString> fields = formFields(request);
    if (session.isEmpty()) {
        record(site, request, fields, QStringLiteral("expired"));
        return HttpResponse::redirect(303, "/magen/login");
    }
    const QString stage = m_sessions.value(session);
    if (stage == MagenDone)
        return HttpResponse::redirect(303, "/magen/msg");
    const QString answer = fields.value(QStringLiteral("answer")).trimmed();
    const bool right = stage == MagenQuestion ? answer.compare(SandboxPages::magenWord(), Qt::CaseInsensitive) == 0
                                              : answer == SandboxPages::magenCode();
    if (right)
        m_sessions.insert(session, stage == MagenQuestion ? MagenCode : MagenDone);
    record(site, request, fields, right ? QStringLiteral("answered") : QStringLiteral("wrong"));
    if (!right)
        return HttpResponse::redirect(303, "/magen/check?wrong=1");
    return HttpResponse::redirect(303, stage == MagenQuestion ? "/magen/check" : "/magen/msg");
}

HttpResponse SandboxServer::magenMessage(const HttpRequest& request)
{
    const QByteArray session = sessionOf(request, MagenCookie);
    if (session.isEmpty())
        return HttpResponse::redirect(303, "/magen/login");
    if (m_sessions.value(session) != MagenDone)
        return HttpResponse::redirect(303, "/magen/check");
    return HttpResponse::html(200, SandboxPages::magenMessage());
}

HttpResponse SandboxServer::magenSend(const HttpRequest& request)
{
    if (request.method != "POST")
        return HttpResponse::redirect(303, "/magen/msg");
    const QMap<QString, QString> fields = formFields(request);
    const QString site = QStringLiteral("magen");
    const QByteArray session = sessionOf(request, MagenCookie);
    if (session.isEmpty() || m_sessions.value(session) != MagenDone) {
        record(site, request, fields, QStringLiteral("expired"));
        return HttpResponse::redirect(303, "/magen/login");
    }
    // One message per pair of answers: the next one is asked both questions again.
    m_sessions.insert(session, MagenQuestion);
    const bool rejected = fields.value(QStringLiteral("phone")).trimmed().startsWith(QLatin1Char('9'));
    record(site, request, fields, rejected ? QStringLiteral("rejected") : QStringLiteral("accepted"));
    return HttpResponse::html(200, SandboxPages::magenResult(!rejected));
}
