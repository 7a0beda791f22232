#include "WorkerClient.h"

#include <QCoreApplication>
#include <QProcess>

WorkerClient::WorkerClient(const QString& program, QObject* parent)
    : QObject(parent)
    , m_program(program.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-engine") : program)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(qEnvironmentVariableIsSet("ZELKORA_ENGINE_IDLE_MS") ? qEnvironmentVariableIntValue("ZELKORA_ENGINE_IDLE_MS")
                                                                           : 30000);
    connect(&m_idle, &QTimer::timeout, this, &WorkerClient::letGo);
}

WorkerClient::~WorkerClient()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->closeWriteChannel();
        if (!m_process->waitForFinished(2000))
            m_process->kill();
        m_process->waitForFinished(1000);
    }
}

bool WorkerClient::running() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

qint64 WorkerClient::processId() const
{
    return running() ? m_process->processId() : 0;
}

bool WorkerClient::request(const AttemptWire::Request& request)
{
    // A worker being let go has its input closed already: it is waited for, and a new one takes the request.
    if (m_lettingGo && running() && !m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
    if (!running()) {
        delete m_process;
        m_process = new QProcess(this);
        m_lettingGo = false;
        // The worker's own messages go where this program's go.
        m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        connect(m_process, &QProcess::readyReadStandardOutput, this, &WorkerClient::readReports);
        connect(m_process, &QProcess::finished, this, &WorkerClient::ended);
        connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                ended();
        });
        m_process->start(m_program, m_arguments);
        if (!m_process->waitForStarted(10000)) {
            qWarning("zelkora: the engine worker %s could not be started", qPrintable(m_program));
            return false;
        }
    }
    m_idle.stop();
    m_process->write(AttemptWire::encode(request));
    if (!m_busy)
        m_idle.start();
    return true;
}

void WorkerClient::setBusy(bool busy)
{
    m_busy = busy;
    if (busy)
        m_idle.stop();
    else if (running())
        m_idle.start();
}

void WorkerClient::kill()
{
    if (!running())
        return;
    // Ended on purpose: the caller says why, and the next request finds no worker and starts one.
    m_lettingGo = true;
    m_process->kill();
    m_process->waitForFinished(3000);
}

void WorkerClient::readReports()
{
    while (m_process && m_process->canReadLine()) {
        if (const std::optional<AttemptWire::Report> report = AttemptWire::decodeReport(m_process->readLine()))
            emit reported(*report);
    }
}

void WorkerClient::letGo()
{
    if (!running() || m_busy)
        return;
    m_lettingGo = true;
    m_process->closeWriteChannel();
}

void WorkerClient::ended()
{
    // Reports written before the end are heard first.
    readReports();
    const bool meant = m_lettingGo;
    m_lettingGo = false;
    if (!meant)
        emit stopped();
}
