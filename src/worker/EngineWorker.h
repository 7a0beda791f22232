#pragma once

#include "engine/AttemptWire.h"
#include "engine/TSMSBaseForm.h"

#include <QByteArray>
#include <QObject>

#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class PersonPages;
class PersonPageWindow;
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

    ~EngineWorker() override;

    TSMSBaseForm& engine() { return m_engine; }
    // The windows of pages that wait for a person; null before an attempt that lets a person answer.
    PersonPages* personPages() const { return m_personPages.get(); }
    // Tells the desktop program that the teach window wrote a definition.
    void reportDefinitionSaved(const QString& path);

    // Makes the language module in `file` the interface's (none: the built-in texts), unless it already is.
    static void useLanguageModule(const QString& file);

signals:
    // The input closed: nothing more will be asked.
    void inputClosed();
    // The desktop program asks for the worker's window (the teach window) to come to the front.
    void showAsked();

private:
    void readInput();
    void handle(const AttemptWire::Request& request);
    void report(const AttemptWire::Report& report);
    void placePersonWindow(PersonPageWindow* window) const;

    TSMSBaseForm m_engine;
    int m_output;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending; // input read and not yet a whole line
    qint64 m_attempt = 0; // the number of the attempt asked last, which every report carries
    std::unique_ptr<PersonPages> m_personPages;
    QRect m_personNear; // the desktop program's window at the last attempt
};
