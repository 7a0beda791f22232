#pragma once

#include "engine/TSMSBaseForm.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

// Runs the event loop until the engine's attempt has ended, as the send workflow waits, sleeping while there is
// nothing to do; false when it is still busy after `ms` milliseconds.
inline bool waitForAttemptEnd(const TSMSBaseForm& engine, int ms = 20000)
{
    const QDeadlineTimer deadline(ms);
    QTimer wake; // so that the deadline is seen when nothing else happens
    wake.start(50);
    while (isBusyStatus(engine.Status) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return !isBusyStatus(engine.Status);
}
