// zelkora-engine: the engine worker. The desktop program starts it for an attempt and talks to it over its
// standard input and output (AttemptWire lines); it owns the browser, so the browser's memory, and a browser
// that crashes or hangs, stay out of the program that lives in the tray. It ends when its input closes.
//
// Started with --teach, it shows the teach window instead, in the language module given by --language, and
// ends when that window closes; the definitions it writes are reported on the same channel.

#include "EngineWorker.h"
#include "common/GuardedApplication.h"
#include "teach/TTeachForm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>

#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    GuardedApplication<QApplication> app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // The desktop program's name: its settings, secrets and windows are the worker's.
    QApplication::setApplicationName(QStringLiteral("zelkora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zelkora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("zelkora"));
    QCommandLineParser options;
    const QCommandLineOption teach(QStringLiteral("teach"));
    const QCommandLineOption language(QStringLiteral("language"), QString(), QStringLiteral("file"));
    options.addOptions({ teach, language });
    options.process(app);
    // Standard output is the report channel alone: whatever else writes there (a library's log) goes to
    // standard error, and the reports to a copy of the original descriptor.
    const int reports = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    EngineWorker worker(STDIN_FILENO, reports);
    QObject::connect(&worker, &EngineWorker::inputClosed, &app, &QCoreApplication::quit);
    if (!options.isSet(teach))
        return app.exec();

    EngineWorker::useLanguageModule(options.value(language));
    QPointer<TTeachForm> form = new TTeachForm(nullptr);
    QObject::connect(form, &TTeachForm::definitionSaved, &worker, &EngineWorker::reportDefinitionSaved);
    QObject::connect(form, &QObject::destroyed, &app, &QCoreApplication::quit);
    QObject::connect(&worker, &EngineWorker::showAsked, form, [form] {
        form->showNormal();
        form->raise();
        form->activateWindow();
    });
    form->show();
    form->raise();
    form->activateWindow();
    const int code = app.exec();
    delete form.data();
    return code;
}
