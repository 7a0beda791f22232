#include "LoopbackHttpServer.h"

#include <QFile>
#include <QHostAddress>
#include <QMutex>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>
#include <QTimer>

QByteArray LoopbackHttpServer::Request::header(const QByteArray& name) const
{
    for (const Header& h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

namespace {
// One client connection: reads requests one after the other and feeds each reply's body in pieces, so a
// large body is never copied whole into the socket's buffer.
class Connection : public QObject
{
public:
    Connection(QObject* parent, QTcpSocket* socket, const LoopbackHttpServer::Handler& handler,
        std::function<void(const LoopbackHttpServer::Request&)> record)
        : QObject(parent)
        , m_socket(socket)
        , m_handler(handler)
        , m_record(std::move(record))
    {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, &Connection::readRequests);
        connect(socket, &QTcpSocket::bytesWritten, this, &Connection::feedBody);
        connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        connect(socket, &QTcpSocket::errorOccurred, this, [this] {
            if (m_socket->state() != QAbstractSocket::ConnectedState)
                deleteLater();
        });
    }

private:
    void readRequests()
    {
        m_input += m_socket->readAll();
        while (!m_replying) {
            const int end = m_input.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            LoopbackHttpServer::Request request;
            const QList<QByteArray> lines = m_input.left(end).split('\n');
            const QList<QByteArray> words = lines.value(0).trimmed().split(' ');
            request.method = words.value(0);
            request.target = words.value(1);
            for (int i = 1; i < lines.size(); ++i) {
                const QByteArray line = lines.at(i).trimmed();
                const int colon = line.indexOf(':');
                if (colon > 0)
                    request.headers.append({ line.left(colon).trimmed(), line.mid(colon + 1).trimmed() });
            }
            const qint64 length = request.header("Content-Length").toLongLong();
            if (m_input.size() < end + 4 + length)
                return;
            request.body = m_input.mid(end + 4, length);
            m_input.remove(0, end + 4 + length);
            m_record(request);
            reply(m_handler(request));
        }
    }

    void reply(const LoopbackHttpServer::Reply& reply)
    {
        m_replying = true;
        if (reply.noReply)
            return;
        if (!reply.rawReply.isEmpty()) {
            m_socket->write(reply.rawReply);
            m_socket->flush();
            m_socket->disconnectFromHost();
            return;
        }
        m_reply = reply;
        const qint64 length = reply.declaredLength >= 0 ? reply.declaredLength : reply.body.size();
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason + "\r\n";
        for (const auto& h : reply.headers)
            head += h.first + ": " + h.second + "\r\n";
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        if (reply.closeAfterBody)
            head += "Connection: close\r\n";
        head += "\r\n";
        m_socket->write(head);
        m_offset = 0;
        m_limit = reply.stallAfter >= 0 ? std::min<qint64>(reply.stallAfter, reply.body.size()) : reply.body.size();
        feedBody();
    }

    void feedBody()
    {
        if (!m_replying || m_waiting || m_reply.noReply)
            return;
        // Keep a few pieces in flight; bytesWritten brings us back for more.
        while (m_offset < m_limit && m_socket->bytesToWrite() < 2 * m_reply.pieceSize) {
            const qint64 piece = std::min(m_reply.pieceSize, m_limit - m_offset);
            m_socket->write(m_reply.body.constData() + m_offset, piece);
            m_offset += piece;
            if (m_reply.pieceDelayMs > 0 && m_offset < m_limit) {
                m_waiting = true;
                QTimer::singleShot(m_reply.pieceDelayMs, this, [this] {
                    m_waiting = false;
                    feedBody();
                });
                return;
            }
        }
        if (m_offset < m_limit || m_socket->bytesToWrite() > 0)
            return;
        if (m_reply.stallAfter >= 0)
            return; // stalled on purpose: the connection stays open and silent
        if (m_reply.closeAfterBody) {
            m_replying = false;
            m_socket->disconnectFromHost();
            return;
        }
        m_replying = false;
        m_reply = {};
        if (!m_input.isEmpty())
            QTimer::singleShot(0, this, [this] { readRequests(); });
    }

    QTcpSocket* m_socket;
    const LoopbackHttpServer::Handler& m_handler;
    std::function<void(const LoopbackHttpServer::Request&)> m_record;
    QByteArray m_input;
    bool m_replying = false;
    bool m_waiting = false;
    LoopbackHttpServer::Reply m_reply;
    qint64 m_offset = 0;
    qint64 m_limit = 0;
};
} // namespace

class LoopbackHttpServer::Core : public QTcpServer
{
public:
    explicit Core(const Handler& handler)
        : m_handler(handler)
    {
    }

    bool setUpTls(const QString& certificateFile, const QString& keyFile)
    {
        QFile certificate(certificateFile);
        QFile key(keyFile);
        if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
            return false;
        m_certificate = QSslCertificate(&certificate, QSsl::Pem);
        m_key = QSslKey(&key, QSsl::Ec, QSsl::Pem);
        if (m_key.isNull()) {
            key.seek(0);
            m_key = QSslKey(&key, QSsl::Rsa, QSsl::Pem);
        }
        m_tls = !m_certificate.isNull() && !m_key.isNull();
        return m_tls;
    }

    QList<Request> requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

    int connections() const
    {
        QMutexLocker lock(&m_mutex);
        return m_connections;
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QTcpSocket* socket = nullptr;
        if (m_tls) {
            auto* ssl = new QSslSocket;
            ssl->setSocketDescriptor(descriptor);
            ssl->setLocalCertificate(m_certificate);
            ssl->setPrivateKey(m_key);
            ssl->setPeerVerifyMode(QSslSocket::VerifyNone);
            ssl->startServerEncryption();
            socket = ssl;
        } else {
            socket = new QTcpSocket;
            socket->setSocketDescriptor(descriptor);
        }
        {
            QMutexLocker lock(&m_mutex);
            ++m_connections;
        }
        new Connection(this, socket, m_handler, [this](const Request& request) {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request);
        });
    }

private:
    const Handler& m_handler;
    bool m_tls = false;
    QSslCertificate m_certificate;
    QSslKey m_key;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
    int m_connections = 0;
};

LoopbackHttpServer::LoopbackHttpServer(Handler handler)
    : m_handler(std::move(handler))
{
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stop();
}

bool LoopbackHttpServer::start()
{
    return startCore({}, {});
}

bool LoopbackHttpServer::startTls(const QString& certificateFile, const QString& keyFile)
{
    return startCore(certificateFile, keyFile);
}

bool LoopbackHttpServer::startCore(const QString& certificateFile, const QString& keyFile)
{
    stop();
    m_thread = std::make_unique<QThread>();
    m_thread->start();
    bool ok = false;
    m_core = new Core(m_handler);
    m_core->moveToThread(m_thread.get());
    QMetaObject::invokeMethod(
        m_core,
        [&] {
            if (!certificateFile.isEmpty() && !m_core->setUpTls(certificateFile, keyFile))
                return;
            ok = m_core->listen(QHostAddress::LocalHost, 0);
            m_port = m_core->serverPort();
        },
        Qt::BlockingQueuedConnection);
    if (!ok)
        stop();
    return ok;
}

void LoopbackHttpServer::stop()
{
    if (!m_thread)
        return;
    if (m_core) {
        // The server and its connections (its children) belong to the server's thread and end there; the
        // thread runs the deferred deletion as it finishes.
        QMetaObject::invokeMethod(
            m_core, [this] { m_core->close(); }, Qt::BlockingQueuedConnection);
        m_core->deleteLater();
    }
    m_thread->quit();
    m_thread->wait();
    m_core = nullptr;
    m_thread.reset();
    m_port = 0;
}

quint16 LoopbackHttpServer::port() const
{
    return m_port;
}

QString LoopbackHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QList<LoopbackHttpServer::Request> LoopbackHttpServer::requests() const
{
    return m_core ? m_core->requests() : QList<Request>();
}

int LoopbackHttpServer::requestCount() const
{
    return requests().size();
}

int LoopbackHttpServer::connectionCount() const
{
    return m_core ? m_core->connections() : 0;
}
