#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <memory>

class QTcpServer;
class VerdictSites;
struct HttpRequest;
struct HttpResponse;

// One form submission that an operator site of the sandbox received, login forms included.
struct SandboxSubmission
{
    QString site; // "sahar", "kesher", "ofek", "galim", "shefa", "magen", or one of the verdict sites ("tamar", ...)
    QString path; // as "/sahar/login", "/sahar/send", "/kesher/send", "/ofek/send", "/galim/send", "/magen/check"
    QString method; // "GET" or "POST"
    QMap<QString, QString> fields; // decoded from UTF-8; the first of two fields of one name wins
    QString cookie; // the request's Cookie header as sent, empty when none
    // "login", "badlogin", "accepted", "rejected", "expired", (ofek) "badtoken", (shefa) "error", (magen)
    // "answered" and "wrong" for the answers to its questions, or (the verdict sites) "silent"
    QString outcome;
};
Q_DECLARE_METATYPE(SandboxSubmission)

// The sandbox network: a loopback-only HTTP/1.1 server that plays the maker's service (/smsinit,
// /smsupdate, banner pictures) and six operator sites: sahar (login in a frameset, cookie session), kesher
// (no login), ofek (login, pages that their own scripts build and change), galim (an advert frame of another
// origin that keeps reloading, a slow result page), shefa (its result is an HTTP 500 error page) and magen
// (after the login, the word in a picture and a code sent to the phone must be typed before the message page;
// every message needs a login and both answers anew), with the verdict sites beside them (VerdictSites.h).
// Tests run it in-process; zelkora-sandbox runs it for the demo.
class SandboxServer : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 8710;

    static QString demoUserName();
    static QString demoPassword();

    explicit SandboxServer(QObject* parent = nullptr);
    ~SandboxServer() override;

    // Binds 127.0.0.1 only; port 0 takes a free port. A server already listening is closed first.
    bool listen(quint16 port = 0);
    bool isListening() const;
    QString errorString() const;
    quint16 port() const;
    // "http://127.0.0.1:PORT", no trailing slash.
    QString baseUrl() const;
    // Stops listening and drops every open connection.
    void close();

    // "http://127.0.0.1:PORT" of an operator where nothing listens: the port is held by a socket that never
    // listens, so every connection to it is refused and no other program can take it meanwhile. Empty when
    // no port could be held.
    QString unreachableUrl();

    QList<SandboxSubmission> submissions() const;
    void clearSubmissions();

    // Requests answered for that decoded path (no query), whatever their status.
    int hits(const QString& path) const;
    void clearHits();

    // The /smsinit body: the document set by setInitDocument, else the built-in one for this port.
    QByteArray serviceDocument() const;
    void setInitDocument(const QByteArray& document);
    void resetInitDocument();
    // The status /smsinit answers with (200 by default); other than 200 the body is a short error page.
    void setInitStatus(int httpStatus);
    // The /smsupdate body (by default the banner list, UPDATED and FINISHED).
    void setUpdateDocument(const QByteArray& document);

    // Forgets every session of every site, as when the sites' sessions time out.
    void expireSessions();

    // How long galim takes to answer a submission (2000 ms by default).
    void setGalimDelay(int ms);

signals:
    // Emitted once the submission is recorded and before the site answers it.
    void submissionReceived(const SandboxSubmission& submission);

private:
    HttpResponse handle(const HttpRequest& request);
    HttpResponse route(const HttpRequest& request);

    HttpResponse saharLogin(const HttpRequest& request);
    HttpResponse saharMessage(const HttpRequest& request);
    HttpResponse saharSend(const HttpRequest& request);
    HttpResponse kesherSend(const HttpRequest& request);
    HttpResponse ofekLogin(const HttpRequest& request);
    HttpResponse ofekSend(const HttpRequest& request);
    HttpResponse galimSend(const HttpRequest& request);
    HttpResponse shefaSend(const HttpRequest& request);
    HttpResponse magenLogin(const HttpRequest& request);
    HttpResponse magenCheck(const HttpRequest& request);
    HttpResponse magenMessage(const HttpRequest& request);
    HttpResponse magenSend(const HttpRequest& request);
    HttpResponse serviceInit();
    HttpResponse picture(const QString& fileName);

    bool hasSession(const HttpRequest& request, const QByteArray& cookie) const;
    // The live session that the request's `cookie` names, empty when none.
    QByteArray sessionOf(const HttpRequest& request, const QByteArray& cookie) const;
    // A new session in `stage` whose cookie is valid under `path`, answered with a redirect to `location`.
    HttpResponse openSession(
        const QByteArray& cookie, const QByteArray& path, const QByteArray& location, const QString& stage = QString());
    void record(
        const QString& site, const HttpRequest& request, const QMap<QString, QString>& fields, const QString& outcome);

    QTcpServer* m_server;
    std::unique_ptr<VerdictSites> m_verdictSites;
    QList<SandboxSubmission> m_submissions;
    QHash<QString, int> m_hits;
    QHash<QByteArray, QString> m_sessions; // id -> stage, for the sites whose pages go in steps (magen)

    QByteArray m_initDocument;
    bool m_initDocumentSet = false;
    int m_initStatus = 200;
    QByteArray m_updateDocument;
    bool m_updateDocumentSet = false;

    int m_galimDelayMs = 2000;
    QHash<QString, QByteArray> m_pictures; // made on first request, by file name
    int m_heldPort = -1; // the socket of unreachableUrl()
    quint16 m_heldPortNumber = 0;
};
