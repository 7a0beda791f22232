#include "AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The reason of the last system call's failure, as words.
QString systemError(const QString& what, const QString& path)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

bool AtomicFile::write(
    const QString& path, const QByteArray& bytes, QString* error, std::optional<QFileDevice::Permissions> mode)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString folder = QFileInfo(path).absolutePath();
    if (!makeFolder(folder))
        return fail(QStringLiteral("the folder %1 cannot be created").arg(folder));
    // The new content goes into a file of its own beside the old one; only a file written whole, flushed and
    // closed without an error is renamed over it. Every step is checked here: a buffered writer reports a
    // full disk only when it closes, too late for a rename that has already been decided.
    QByteArray temporary = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(systemError(QStringLiteral("cannot create a file beside"), path));
    const QString temporaryPath = QFile::decodeName(temporary);
    const auto abandon = [&](const QString& what) {
        const QString reason = systemError(what, temporaryPath);
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(reason);
    };
    // The mode asked for, else the old file's; a new file is the owner's alone, since most of what the
    // program writes names the user's contacts, messages or accounts.
    ::mode_t wanted = S_IRUSR | S_IWUSR;
    struct stat old;
    if (mode) {
        const QFileDevice::Permissions p = *mode;
        wanted = (p & QFileDevice::ReadOwner ? S_IRUSR : 0) | (p & QFileDevice::WriteOwner ? S_IWUSR : 0)
            | (p & QFileDevice::ExeOwner ? S_IXUSR : 0) | (p & QFileDevice::ReadGroup ? S_IRGRP : 0)
            | (p & QFileDevice::WriteGroup ? S_IWGRP : 0) | (p & QFileDevice::ExeGroup ? S_IXGRP : 0)
            | (p & QFileDevice::ReadOther ? S_IROTH : 0) | (p & QFileDevice::WriteOther ? S_IWOTH : 0)
            | (p & QFileDevice::ExeOther ? S_IXOTH : 0);
    } else if (::stat(QFile::encodeName(path).constData(), &old) == 0) {
        wanted = old.st_mode & 07777;
    }
    if (::fchmod(fd, wanted) != 0)
        return abandon(QStringLiteral("cannot set the mode of"));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon(QStringLiteral("cannot write"));
        done += n;
    }
    if (::fsync(fd) != 0)
        return abandon(QStringLiteral("cannot flush"));
    if (::close(fd) != 0) {
        const QString reason = systemError(QStringLiteral("cannot close"), temporaryPath);
        ::unlink(temporary.constData());
        return fail(reason);
    }
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = systemError(QStringLiteral("cannot rename over"), path);
        ::unlink(temporary.constData());
        return fail(reason);
    }
    syncFolder(folder);
    return true;
}

bool AtomicFile::makeFolder(const QString& folder)
{
    const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return true;
    // The missing parts, from the outermost in, each made 0700 as it is made.
    QStringList missing;
    for (QString part = absolute; !part.isEmpty() && !QFileInfo::exists(part); part = QFileInfo(part).path()) {
        missing.prepend(part);
        if (part == QFileInfo(part).path())
            break;
    }
    for (const QString& part : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(part).constData(), 0700) != 0 && errno != EEXIST)
            return false;
        ::chmod(QFile::encodeName(part).constData(), 0700);
    }
    return QFileInfo(absolute).isDir();
}

void AtomicFile::makePrivateFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    struct stat info;
    if (::stat(native.constData(), &info) == 0 && info.st_uid == ::getuid() && (info.st_mode & 077) != 0)
        ::chmod(native.constData(), info.st_mode & 0700);
}

void AtomicFile::syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString AtomicFile::moveAside(const QString& path)
{
    const QString base
        = path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // An earlier file moved aside in the same second keeps its name: rename never replaces a file.
    for (int n = 1; n < 100; ++n) {
        const QString candidate = n == 1 ? base : base + QLatin1Char('-') + QString::number(n);
        if (QFileInfo::exists(candidate))
            continue;
        if (QFile::rename(path, candidate))
            return candidate;
        if (QFileInfo::exists(path) && !QFileInfo::exists(candidate))
            return QString(); // the folder refuses the rename
    }
    return QString();
}
