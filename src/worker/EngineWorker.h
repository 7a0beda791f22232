#pragma once

#include "engine/AttemptWire.h"
#include "engine/TSMSBaseForm.h"

#include <QByteArray>
#include <QObject>

#include <functional>

class QSocketNotifier;

// The engine worker's side of the pipe: requests come in on one file descriptor, one JSON line each
// (AttemptWire), and the engine's reports go out on another as they happen. The worker owns the browser; it
// ends when its input closes (the desktop program went, or let it go).
class EngineWorker : public QObject
{
    Q_OBJECT
public:
    // `input` and `output` are open file descriptors (a pipe each); `makeBrowser` as for the engine.
    EngineWorker(int input, int output, TSMSBaseForm::BrowserMaker makeBrowser = {}, QObject* parent = nullptr);

    TSMSBaseForm& engine() { return m_engine; }

signals:
    // The input closed: nothing more will be asked.
    void inputClosed();

private:
    void readInput();
    void handle(const AttemptWire::Request& request);
    void report(const AttemptWire::Report& report);

    TSMSBaseForm m_engine;
    int m_output;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending; // input read and not yet a whole line
    qint64 m_attempt = 0; // the number of the attempt asked last, which every report carries
};
