#include "HttpConnection.h"

#include <QTcpSocket>

#include <sys/socket.h>

namespace {

// RFC 9110 token characters, for methods and header names.
bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArray("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (!isTokenChar(c))
            return false;
    }
    return true;
}

bool isVisibleAscii(const QByteArray& text)
{
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7f)
            return false;
    }
    return true;
}

bool hasConnectionToken(const QByteArray& value, const QByteArray& token)
{
    const QList<QByteArray> parts = value.split(',');
    for (const QByteArray& p : parts) {
        if (p.trimmed().toLower() == token)
            return true;
    }
    return false;
}

} // namespace

HttpConnection::HttpConnection(QTcpSocket* socket, Handler handler, QObject* parent)
    : QObject(parent)
    , m_socket(socket)
    , m_handler(std::move(handler))
{
    socket->setParent(this);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(IdleTimeoutMs);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        if (m_socket)
            m_socket->disconnectFromHost();
    });
    connect(socket, &QTcpSocket::readyRead, this, &HttpConnection::readAvailable);
    connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (m_socket && m_socket->state() == QAbstractSocket::UnconnectedState)
            deleteLater();
    });
    m_idleTimer.start();
    if (socket->bytesAvailable() > 0)
        readAvailable();
}

HttpConnection::~HttpConnection() = default;

void HttpConnection::abort()
{
    m_closing = true;
    m_idleTimer.stop();
    if (m_socket)
        m_socket->abort();
    deleteLater();
}

void HttpConnection::readAvailable()
{
    if (!m_socket)
        return;
    if (m_closing) {
        m_socket->readAll(); // whatever follows a refused request is discarded
        return;
    }
    m_buffer += m_socket->readAll();
    m_idleTimer.start();
    processBuffer();
}

void HttpConnection::processBuffer()
{
    while (!m_closing && m_socket && !m_answerPending) {
        if (!m_haveHead) {
            // A client may send stray line breaks between requests.
            qsizetype skip = 0;
            while (skip < m_buffer.size() && (m_buffer.at(skip) == '\r' || m_buffer.at(skip) == '\n'))
                ++skip;
            m_buffer.remove(0, skip);

            const qsizetype crlf = m_buffer.indexOf("\r\n\r\n");
            const qsizetype lf = m_buffer.indexOf("\n\n");
            qsizetype end = crlf;
            qsizetype sepLength = 4;
            if (lf >= 0 && (crlf < 0 || lf < crlf)) {
                end = lf;
                sepLength = 2;
            }
            if (end < 0) {
                if (m_buffer.size() > MaxHeadBytes)
                    refuse(431);
                return;
            }
            if (end > MaxHeadBytes) {
                refuse(431);
                return;
            }
            const QByteArray head = m_buffer.left(end);
            m_buffer.remove(0, end + sepLength);
            const int status = parseHead(head);
            if (status != 0) {
                refuse(status);
                return;
            }
            if (m_bodyLength > MaxBodyBytes) {
                refuse(413);
                return;
            }
            m_haveHead = true;
        }

        if (m_buffer.size() < m_bodyLength)
            return;
        m_request.body = m_buffer.left(m_bodyLength);
        m_buffer.remove(0, m_bodyLength);
        m_haveHead = false;

        const HttpRequest request = std::move(m_request);
        m_request = HttpRequest();
        const HttpResponse response = m_handler(request);
        // The handler may have closed the server, which drops this connection.
        if (m_closing || !m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
            return;
        const QByteArray answer = response.serialize(m_keepAlive, request.method != "HEAD");
        if (response.delayMs > 0) {
            m_answerPending = true;
            m_idleTimer.stop();
            QTimer::singleShot(response.delayMs, this, [this, answer] {
                m_answerPending = false;
                if (m_closing || !m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
                    return;
                m_socket->write(answer);
                m_idleTimer.start();
                if (!m_keepAlive)
                    closeAfterWriting();
                else
                    processBuffer();
            });
            return;
        }
        m_socket->write(answer);
        if (!m_keepAlive) {
            closeAfterWriting();
            return;
        }
    }
}

int HttpConnection::parseHead(const QByteArray& head)
{
    m_request = HttpRequest();
    m_bodyLength = 0;

    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }

    const QList<QByteArray> parts = lines.first().split(' ');
    if (parts.size() != 3)
        return 400;
    const QByteArray& method = parts.at(0);
    const QByteArray& target = parts.at(1);
    const QByteArray& version = parts.at(2);
    if (!isToken(method) || !target.startsWith('/') || !isVisibleAscii(target))
        return 400;
    if (version.size() != 8 || !version.startsWith("HTTP/") || version.at(6) != '.'
        || !QByteArrayView("0123456789").contains(version.at(5))
        || !QByteArrayView("0123456789").contains(version.at(7)))
        return 400;
    if (version.at(5) != '1')
        return 505;

    m_request.method = method;
    m_request.target = target;
    m_request.version = version;
    QByteArray pathPart = target;
    const qsizetype hash = pathPart.indexOf('#');
    if (hash >= 0)
        pathPart.truncate(hash);
    const qsizetype question = pathPart.indexOf('?');
    if (question >= 0) {
        m_request.query = pathPart.mid(question + 1);
        pathPart.truncate(question);
    }
    m_request.path = QString::fromUtf8(HttpForm::percentDecode(pathPart));

    bool haveLength = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        if (line.startsWith(' ') || line.startsWith('\t'))
            return 400; // folded header lines are obsolete and ambiguous
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return 400;
        const QByteArray name = line.left(colon).toLower();
        if (!isToken(name))
            return 400;
        const QByteArray value = line.mid(colon + 1).trimmed();
        m_request.headers.append(qMakePair(name, value));

        if (name == "content-length") {
            if (value.isEmpty() || value.size() > 15)
                return value.size() > 15 ? 413 : 400;
            for (char c : value) {
                if (c < '0' || c > '9')
                    return 400;
            }
            const qint64 length = value.toLongLong();
            if (haveLength && length != m_bodyLength)
                return 400;
            haveLength = true;
            m_bodyLength = length;
        } else if (name == "transfer-encoding") {
            return 501;
        }
    }

    const QByteArray connection = m_request.header("connection");
    if (version == "HTTP/1.1")
        m_keepAlive = !hasConnectionToken(connection, "close");
    else
        m_keepAlive = hasConnectionToken(connection, "keep-alive");
    return 0;
}

void HttpConnection::refuse(int status)
{
    if (!m_socket)
        return;
    m_socket->write(HttpResponse::error(status).serialize(false));
    closeAfterWriting();
}

void HttpConnection::closeAfterWriting()
{
    // Closing outright while the client is still sending would make the kernel reset the connection, and
    // a reset can destroy the answer before the client reads it. So only our sending side is shut once
    // the answer is out; the client sees the end, closes, and whatever it still sends is discarded.
    m_closing = true;
    m_buffer.clear();
    m_idleTimer.stop();
    if (!m_socket)
        return;
    QTimer::singleShot(LingerMs, this, &HttpConnection::abort);
    const auto shutDownSending = [this] {
        if (m_socket && m_socket->bytesToWrite() == 0 && m_socket->state() == QAbstractSocket::ConnectedState)
            ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
    };
    connect(m_socket, &QTcpSocket::bytesWritten, this, shutDownSending);
    shutDownSending();
}
