// zelkora-engine: the engine worker. The desktop program starts it for an attempt and talks to it over its
// standard input and output (AttemptWire lines); it owns the browser, so the browser's memory, and a browser
// that crashes or hangs, stay out of the program that lives in the tray. It ends when its input closes.

#include "EngineWorker.h"
#include "common/GuardedApplication.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    GuardedApplication<QApplication> app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // Standard output is the report channel alone: whatever else writes there (a library's log) goes to
    // standard error, and the reports to a copy of the original descriptor.
    const int reports = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    EngineWorker worker(STDIN_FILENO, reports);
    QObject::connect(&worker, &EngineWorker::inputClosed, &app, &QCoreApplication::quit);
    return app.exec();
}
