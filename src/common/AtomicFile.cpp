#include "AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

bool AtomicFile::write(
    const QString& path, const QByteArray& bytes, QString* error, std::optional<QFileDevice::Permissions> mode)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("the folder %1 cannot be created").arg(folder);
        return false;
    }
    QSaveFile file(path);
    // QSaveFile flushes the file to the disk before its rename.
    const bool written = file.open(QIODevice::WriteOnly) && (!mode || file.setPermissions(*mode))
        && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        if (error)
            *error = file.errorString();
        return false;
    }
    syncFolder(folder);
    return true;
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
