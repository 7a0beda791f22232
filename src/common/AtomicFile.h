#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

// Every file the program writes whole goes through here.
namespace AtomicFile {
// Writes the file whole or not at all: a temporary file beside it (given `mode` before the first byte goes
// in; without one the old file's mode, and a new file the owner's read and write only), flushed to the disk,
// renamed over the old one, and the folder's entry flushed too, so that after a crash the file holds the old
// content or the new, never a part. The folder is created when missing. False, with the reason in `error`,
// when any step fails (a full disk, a file-size limit); the old file then stays as it was, and nothing is
// renamed into place unwritten.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr,
    std::optional<QFileDevice::Permissions> mode = std::nullopt);
// Makes a folder (and its missing parents); the folders it makes are the owner's alone (0700), whatever the
// umask, since the program's folders hold messages, numbers and credentials. True when the folder exists.
bool makeFolder(const QString& folder);
// Creates an empty file that only its owner may read and write, unless the file exists; one that exists and
// that others may read is closed to them (when it is the user's). For files another library fills (SQLite).
void makePrivateFile(const QString& path);
// Flushes a folder's entries (a file renamed or removed in it) to the disk.
void syncFolder(const QString& folder);
// Moves a file that cannot be read out of the way, beside itself under "NAME.damaged-YYYYMMDD-HHMMSS" (a
// "-2", "-3" ... suffix when that name is taken: nothing is ever renamed over). The new path, or "" when the
// folder refuses the rename.
QString moveAside(const QString& path);
// The owner's read and write only: files that hold passwords or name the user's accounts.
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
} // namespace AtomicFile
