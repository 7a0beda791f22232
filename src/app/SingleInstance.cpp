#include "SingleInstance.h"

#include "common/AppPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QByteArray ToggleRequest = QByteArrayLiteral("TOGGLE\n");
const QByteArray Taken = QByteArrayLiteral("1\n");
const QByteArray NotTaken = QByteArrayLiteral("0\n");

// Whether a copy answers on the socket; a socket file nobody listens on does not connect.
bool someoneListens(const QString& name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    return socket.waitForConnected(500);
}
} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            if (socket->canReadLine())
                answer(socket);
        }
    });
}

SingleInstance::~SingleInstance()
{
    m_server->close();
}

QString SingleInstance::serverName()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    const QByteArray digest
        = QCryptographicHash::hash(AppPaths::configDir().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QDir(folder).filePath(QStringLiteral("zelkora-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest)));
}

bool SingleInstance::toggleRunningCopy(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(ToggleRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == Taken;
}

bool SingleInstance::listen()
{
    const QString name = serverName();
    if (m_server->listen(name))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError || someoneListens(name))
        return false;
    // Left behind by a copy that crashed.
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

bool SingleInstance::isListening() const
{
    return m_server->isListening();
}

void SingleInstance::answer(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray request = socket->readLine();
        if (request != ToggleRequest) {
            socket->disconnectFromServer();
            return;
        }
        const bool taken = m_handler && m_handler();
        socket->write(taken ? Taken : NotTaken);
        socket->flush();
    }
    // Anything longer than a request is not one of ours.
    if (socket->bytesAvailable() > ToggleRequest.size())
        socket->disconnectFromServer();
}
