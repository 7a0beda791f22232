#pragma once

#include "ErrorReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <exception>

// The one place where exceptions stop: every event and every queued call passes through the application's
// notify(), so an error thrown by a handler, a slot or a timer ends in the general error report there and never
// crosses Qt's event loop, which does not support it. Below the entry points (the session's and the windows'
// handlers) code returns results; what it throws anyway is reported here, and the program goes on.
template <class Application>
class GuardedApplication : public Application
{
public:
    GuardedApplication(int& argc, char** argv)
        : Application(argc, argv)
    {
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return Application::notify(receiver, event);
        } catch (const std::exception& error) {
            ErrorReport::report(ErrorReport::textOf(error));
        } catch (...) {
            ErrorReport::report(QCoreApplication::translate("ErrorReport", "אירעה שגיאה לא צפויה"));
        }
        return false;
    }
};
