#pragma once

#include "AttemptWire.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QProcess;

// The desktop program's side of the engine worker (zelkora-engine): it starts the worker for a request when
// none runs, hands it requests and hears its reports, and lets it end after an idle time with no attempt
// (closing its input; the next request starts it again). A worker that dies is said once (stopped) and
// replaced at the next request.
class WorkerClient : public QObject
{
    Q_OBJECT
public:
    // `program`: the worker's file; by default zelkora-engine beside this program.
    explicit WorkerClient(const QString& program = QString(), QObject* parent = nullptr);
    ~WorkerClient() override;

    // What the worker is started with (none: it runs attempts).
    void setArguments(const QStringList& arguments) { m_arguments = arguments; }
    // How long the worker may stay without an attempt before it is let go (30 s; ZELKORA_ENGINE_IDLE_MS).
    void setIdleTime(int milliseconds) { m_idle.setInterval(milliseconds); }
    // Hands the worker a request, starting it first when none runs; false when it could not be started.
    bool request(const AttemptWire::Request& request);
    // An attempt runs: the worker is not let go meanwhile.
    void setBusy(bool busy);
    bool running() const;
    qint64 processId() const;
    // Ends the worker at once (a worker that no longer answers); stopped is not emitted for it.
    void kill();

signals:
    void reported(const AttemptWire::Report& report);
    // The worker ended without being let go (a crash, a kill), or could not start.
    void stopped();

private:
    void readReports();
    void ended();
    void letGo();

    QString m_program;
    QStringList m_arguments;
    QProcess* m_process = nullptr;
    QTimer m_idle;
    bool m_busy = false;
    bool m_lettingGo = false;
};
