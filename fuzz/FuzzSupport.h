#pragma once

// What the fuzz targets share: a check that stops the run, quiet Qt messages, and files for the readers
// that take a path instead of bytes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

// A property of the reader that the input broke. libFuzzer saves the input and stops, as for a crash.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                   \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace FuzzSupport {
// The whole of a file; empty when it cannot be read.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Warnings about broken input are the readers' normal business and would drown libFuzzer's own lines;
// a fatal message (Q_ASSERT among them) still aborts, and is shown.
inline void quietQtMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
    });
}

// A file in memory that a reader opens by path, rewritten for each input without touching a disk.
class MemoryFile
{
public:
    MemoryFile()
        : m_fd(memfd_create("zelkora-fuzz", 0))
    {
        if (m_fd < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        m_path = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const QString& path() const { return m_path; }

    void set(const uint8_t* data, size_t size)
    {
        if (ftruncate(m_fd, 0) != 0 || (size > 0 && pwrite(m_fd, data, size, 0) != static_cast<ssize_t>(size))) {
            std::perror("memory file");
            std::abort();
        }
    }

private:
    int m_fd;
    QString m_path;
};

// A folder of this process for readers that also write (their files are replaced by renaming, which a
// memory file cannot do): /dev/shm/zelkora-fuzz-<pid> when there is a /dev/shm, so that nothing waits
// for a disk. ./fuzz/run removes it after a run that ended in a finding.
inline QString scratchDir()
{
    static const QString dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return base + QStringLiteral("/zelkora-fuzz-%1").arg(getpid());
    }();
    static const bool made = [] {
        QDir().mkpath(dir);
        std::atexit([] { QDir(dir).removeRecursively(); });
        return true;
    }();
    Q_UNUSED(made)
    return dir;
}
} // namespace FuzzSupport
