#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>

class QThread;

// A small HTTP/1.1 server on 127.0.0.1 for tests and benchmarks. It runs on a thread of its own, so it keeps
// answering while the thread that uses it is blocked, and it can misbehave on purpose: stall, cut a body
// short, never answer. Listening on port 0 gives a free port.
class LoopbackHttpServer
{
public:
    using Header = QPair<QByteArray, QByteArray>;

    struct Request
    {
        QByteArray method;
        QByteArray target; // as it came on the request line
        QList<Header> headers;
        QByteArray body;
        // The first header of that name (any letter case); empty when none.
        QByteArray header(const QByteArray& name) const;
    };

    struct Reply
    {
        int status = 200;
        QByteArray reason = "OK";
        QList<Header> headers;
        QByteArray body;
        // The Content-Length announced; -1: the body's size. A larger value with closeAfterBody cuts the body
        // short.
        qint64 declaredLength = -1;
        // Send this many bytes of the body and then nothing more, keeping the connection open.
        qint64 stallAfter = -1;
        // Pause between body pieces of `pieceSize` bytes.
        int pieceDelayMs = 0;
        qint64 pieceSize = qint64(256) * 1024;
        bool closeAfterBody = false;
        bool noReply = false; // read the request and never answer
        QByteArray rawReply; // when set, sent as it is instead of all of the above
    };

    using Handler = std::function<Reply(const Request& request)>;

    // The handler runs on the server's thread.
    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Plain HTTP, or HTTPS with the certificate and key of the PEM files. False when it cannot listen.
    bool start();
    bool startTls(const QString& certificateFile, const QString& keyFile);
    void stop();

    quint16 port() const;
    // "http://127.0.0.1:<port>" followed by the path.
    QString url(const QString& path) const;
    // The requests answered so far, oldest first.
    QList<Request> requests() const;
    int requestCount() const;
    int connectionCount() const;

private:
    class Core;
    bool startCore(const QString& certificateFile, const QString& keyFile);

    Handler m_handler;
    std::unique_ptr<QThread> m_thread;
    Core* m_core = nullptr;
    quint16 m_port = 0;
};
