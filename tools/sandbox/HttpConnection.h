#pragma once

#include "HttpMessage.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QTcpSocket;

// One client connection of the sandbox: reads HTTP/1.x requests (bodies by Content-Length only),
// hands each to the handler and writes its answer. Requests on one connection are answered in order;
// a malformed one gets its 4xx/5xx answer and the connection is closed, since the rest of the stream
// can no longer be framed.
class HttpConnection : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    static constexpr int MaxHeadBytes = 16 * 1024;
    static constexpr qint64 MaxBodyBytes = qint64(1024) * 1024;
    static constexpr int IdleTimeoutMs = 60 * 1000;
    // How long a connection that is being closed waits for the client to close its side.
    static constexpr int LingerMs = 2000;

    HttpConnection(QTcpSocket* socket, Handler handler, QObject* parent = nullptr);
    ~HttpConnection() override;

    // Drops the connection at once, unsent answers included.
    void abort();

private:
    void readAvailable();
    void processBuffer();
    // 0 when the head is sound, else the status to refuse it with.
    int parseHead(const QByteArray& head);
    void refuse(int status);
    void closeAfterWriting();

    QPointer<QTcpSocket> m_socket;
    Handler m_handler;
    QByteArray m_buffer;
    QTimer m_idleTimer;

    bool m_closing = false;
    // An answer is held back (HttpResponse::delayMs); nothing else is read or answered until it is out.
    bool m_answerPending = false;
    bool m_haveHead = false;
    bool m_keepAlive = true;
    qint64 m_bodyLength = 0;
    HttpRequest m_request;
};
