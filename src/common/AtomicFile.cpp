#include "AtomicFile.h"

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
