#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The file "providers.dat": the last complete service document, as its windows-1255 lines each ended by
// CR LF.
namespace ProviderCache {
// The largest service document, and so the largest providers.dat, the program takes: far above any real
// one (a few hundred providers take some tens of kilobytes), and small enough that a runaway reply cannot
// take the computer's memory.
constexpr qint64 MaxDocumentSize = qint64(8) * 1024 * 1024;
// AppPaths::appDir() + "providers.dat".
QString path();
// The file's bytes; nothing when it is missing or cannot be read.
std::optional<QByteArray> read(const QString& path);
// Replaces the file with `text`. The text goes to a temporary file beside it which is then renamed over
// the old one, so the file is always either the old document or the new one, whole, even when the
// process dies mid-write. A read-only file is made writable first. False when it failed; the old file
// then stays as it was.
bool write(const QString& path, const QByteArray& text, QString* error = nullptr);
} // namespace ProviderCache
