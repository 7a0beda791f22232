#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class WorkerClient;

// The teach window in a worker of its own (zelkora-engine --teach), for a program whose attempts run in the
// engine worker: its browser goes when the window closes. Asked again while open, the window comes forward.
class TeachWorker : public QObject
{
    Q_OBJECT
public:
    explicit TeachWorker(QObject* parent = nullptr);

    bool isOpen() const;
    // Opens the window in the language module in `languageModule` (none: the built-in texts), or brings the
    // open one forward; false when no worker could be started.
    bool open(const QString& languageModule);

signals:
    // The window wrote a definition.
    void definitionSaved();
    // The window closed (or its worker ended); not emitted for one that could not be started.
    void closed();

private:
    QPointer<WorkerClient> m_worker;
};
