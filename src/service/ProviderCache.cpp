#include "ProviderCache.h"
#include "common/AtomicFile.h"

#include "common/AppPaths.h"

#include <QFile>
#include <QSaveFile>

QString ProviderCache::path()
{
    return AppPaths::providerCacheFile();
}

std::optional<QByteArray> ProviderCache::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.size() > MaxDocumentSize) {
        qWarning("%s is larger than %lld bytes, more than any service document: it was not read", qPrintable(path),
            static_cast<long long>(MaxDocumentSize));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool ProviderCache::write(const QString& path, const QByteArray& text, QString* error)
{
    // QSaveFile refuses a file it may not write and gives the new file the old one's permissions, so the
    // read-only bit has to go first for the new document to land and stay writable.
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    if (QFile::exists(path) && !(permissions & QFileDevice::WriteOwner))
        QFile::setPermissions(path, permissions | QFileDevice::WriteOwner | QFileDevice::ReadOwner);

    return AtomicFile::write(path, text, error);
}
