#include "TeachWorker.h"

#include "engine/WorkerClient.h"

TeachWorker::TeachWorker(QObject* parent)
    : QObject(parent)
{
}

bool TeachWorker::isOpen() const
{
    return m_worker && m_worker->running();
}

bool TeachWorker::open(const QString& languageModule)
{
    AttemptWire::Request show;
    show.kind = AttemptWire::Request::Kind::Show;
    if (isOpen())
        return m_worker->request(show);
    delete m_worker.data();
    auto* worker = new WorkerClient(QString(), this);
    m_worker = worker;
    worker->setArguments({ QStringLiteral("--teach"), QStringLiteral("--language"), languageModule });
    // Only the window's closing ends it.
    worker->setBusy(true);
    connect(worker, &WorkerClient::reported, this, [this](const AttemptWire::Report& report) {
        if (report.kind == AttemptWire::Report::Kind::DefinitionSaved)
            emit definitionSaved();
    });
    if (!worker->request(show)) {
        worker->deleteLater();
        return false;
    }
    // Heard from the event loop only, so after this.
    connect(worker, &WorkerClient::stopped, this, [this, worker] {
        worker->deleteLater();
        emit closed();
    });
    return true;
}
