#include "SingleInstance.h"

#include "common/AppPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray ToggleRequest = QByteArrayLiteral("TOGGLE\n");
const QByteArray TeachRequest = QByteArrayLiteral("TEACH\n");
// Followed by the link, percent-encoded so that it is one line of ASCII, and a line end.
const QByteArray LinkRequest = QByteArrayLiteral("LINK ");
// A link is a few hundred bytes; anything much longer is not one of ours.
constexpr qint64 MaxRequest = 16384;
const QByteArray Taken = QByteArrayLiteral("1\n");
const QByteArray NotTaken = QByteArrayLiteral("0\n");

// Makes the folder when it is missing (only its last part), for this user alone, and says whether it is then
// a private folder of this user's.
bool privateFolderAt(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    // A folder of this user's that others may enter is closed to them; one of another user's is left alone.
    struct stat info;
    if (::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
        && (info.st_mode & 077) != 0)
        ::chmod(native.constData(), 0700);
    return SingleInstance::isPrivateFolder(path);
}

// A socket in a private folder, owned by this user: anything else is not trusted.
bool isOwnSocket(const QString& path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISSOCK(info.st_mode) && info.st_uid == ::getuid();
}

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
    // The lock goes with the file descriptor; the file stays, for the next copy to lock.
    if (m_lock >= 0)
        ::close(m_lock);
}

QString SingleInstance::lockPath()
{
    return AppPaths::appDir() + QStringLiteral("zelkora.lock");
}

bool SingleInstance::lockData()
{
    if (m_lock >= 0)
        return true;
    QDir().mkpath(AppPaths::appDir());
    const QByteArray path = QFile::encodeName(lockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A data folder that cannot hold the lock (read-only) cannot hold the history either; the program says
        // so when it opens the history.
        qWarning("the lock %s cannot be opened: %s", path.constData(), std::strerror(errno));
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lock = fd;
    return true;
}

bool SingleInstance::linkFits(const QString& link)
{
    return LinkRequest.size() + link.toUtf8().toPercentEncoding().size() + 1 <= MaxRequest;
}

bool SingleInstance::isPrivateFolder(const QString& path)
{
    struct stat info;
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString SingleInstance::socketFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime))
        return runtime;
    QString temporary = QDir(QDir::tempPath()).filePath(QStringLiteral("zelkora-%1").arg(::getuid()));
    if (privateFolderAt(temporary))
        return temporary;
    // The temporary folder's name is taken (by another user, most likely): the user's own cache folder.
    QString cache = AppPaths::cacheDir() + QStringLiteral("run");
    if (QDir().mkpath(AppPaths::cacheDir()) && privateFolderAt(cache))
        return cache;
    return QString();
}

QString SingleInstance::serverName()
{
    const QString folder = socketFolder();
    if (folder.isEmpty())
        return QString();
    const QByteArray digest
        = QCryptographicHash::hash(AppPaths::configDir().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QDir(folder).filePath(QStringLiteral("zelkora-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest)));
}

bool SingleInstance::runningCopy()
{
    const QString name = serverName();
    return !name.isEmpty() && isOwnSocket(name) && someoneListens(name);
}

bool SingleInstance::toggleRunningCopy(int timeoutMs)
{
    return ask(ToggleRequest, timeoutMs);
}

bool SingleInstance::teachInRunningCopy(int timeoutMs)
{
    return ask(TeachRequest, timeoutMs);
}

bool SingleInstance::openLinkInRunningCopy(const QString& link, int timeoutMs)
{
    const QByteArray request = LinkRequest + link.toUtf8().toPercentEncoding() + '\n';
    return request.size() <= MaxRequest && ask(request, timeoutMs);
}

bool SingleInstance::ask(const QByteArray& request, int timeoutMs)
{
    const QString name = serverName();
    if (name.isEmpty() || !isOwnSocket(name))
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(request);
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
    if (name.isEmpty())
        return false;
    if (m_server->listen(name))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError || !isOwnSocket(name) || someoneListens(name)
        || m_lock < 0)
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
        const QByteArray request = socket->readLine(MaxRequest + 1);
        bool taken = false;
        if (request == ToggleRequest || request == TeachRequest) {
            const ToggleHandler& handler = request == ToggleRequest ? m_handler : m_teachHandler;
            taken = handler && handler();
        } else if (request.startsWith(LinkRequest) && request.endsWith('\n')) {
            const QString link = QString::fromUtf8(QByteArray::fromPercentEncoding(
                request.mid(LinkRequest.size(), request.size() - LinkRequest.size() - 1)));
            taken = m_linkHandler && m_linkHandler(link);
        } else {
            socket->disconnectFromServer();
            return;
        }
        socket->write(taken ? Taken : NotTaken);
        socket->flush();
    }
    // Anything longer than a request is not one of ours.
    if (socket->bytesAvailable() > MaxRequest)
        socket->disconnectFromServer();
}
