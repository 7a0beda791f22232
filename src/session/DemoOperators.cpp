#include "DemoOperators.h"

#include "common/AtomicFile.h"
#include "common/ErrorReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <csignal>
#include <sys/prctl.h>

namespace {
const QString ProgramName = QStringLiteral("zelkora-sandbox");
const QByteArray ReadyPrefix = QByteArrayLiteral("sandbox listening on ");
} // namespace

DemoOperators::DemoOperators(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("DemoOperators"));
    // What the sandbox records of each message goes nowhere.
    m_process.setStandardErrorFile(QProcess::nullDevice());
    // The sandbox ends with the program even when the program does not end in order.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &DemoOperators::readLine);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(tr("לא ניתן להפעיל את %1: %2").arg(m_process.program(), m_process.errorString()));
    });
    connect(&m_process, &QProcess::finished, this,
        [this] { fail(tr("התוכנה %1 הסתיימה לפני שהתחילה לפעול").arg(m_process.program())); });
    m_startTimer.setSingleShot(true);
    connect(&m_startTimer, &QTimer::timeout, this, [this] {
        fail(tr("התוכנה %1 לא ענתה").arg(m_process.program()));
        m_process.kill();
    });
}

DemoOperators::~DemoOperators()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.disconnect(this);
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
    restoreFiles();
}

QString DemoOperators::programFile()
{
    QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(ProgramName);
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(ProgramName);
}

void DemoOperators::start(const QString& program)
{
    if (m_process.state() != QProcess::NotRunning)
        return;
    m_url.clear();
    m_reported = false;
    if (program.isEmpty()) {
        fail(tr("התוכנה %1 לא נמצאה; היא באה עם החבילה של Zelkora").arg(ProgramName));
        return;
    }
    m_process.start(program, { QStringLiteral("--port"), QStringLiteral("0") });
    m_startTimer.start(StartTimeout);
}

void DemoOperators::readLine()
{
    // Only the first line speaks; anything after it is read and dropped, so the pipe never fills.
    if (m_reported) {
        m_process.readAllStandardOutput();
        return;
    }
    if (!m_process.canReadLine())
        return;
    const QByteArray line = m_process.readLine().trimmed();
    if (!line.startsWith(ReadyPrefix)) {
        fail(tr("התוכנה %1 לא אמרה היכן היא מאזינה").arg(m_process.program()));
        m_process.kill();
        return;
    }
    m_startTimer.stop();
    m_reported = true;
    m_url = QString::fromLatin1(line.mid(ReadyPrefix.size()));
    emit ready(m_url);
}

void DemoOperators::fail(const QString& reason)
{
    m_startTimer.stop();
    if (m_reported)
        return;
    m_reported = true;
    emit failed(reason);
}

void DemoOperators::keepFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        QFile file(path);
        KeptFile kept { path, std::nullopt };
        if (file.open(QIODevice::ReadOnly))
            kept.bytes = file.readAll();
        m_kept.append(kept);
    }
}

void DemoOperators::restoreFiles()
{
    for (const KeptFile& kept : std::as_const(m_kept)) {
        QFile file(kept.path);
        if (!kept.bytes) {
            file.remove();
            continue;
        }
        if (file.open(QIODevice::ReadOnly) && file.readAll() == *kept.bytes)
            continue;
        file.close();
        QString error;
        if (!AtomicFile::write(kept.path, *kept.bytes, &error))
            ErrorReport::report(QStringLiteral("%1 could not be put back as it was: %2").arg(kept.path, error));
    }
}
