#pragma once

#include "sending/SendWorkflow.h"

#include <QObject>
#include <QPointer>
#include <QString>

class DemoOperators;
class MainSession;

// A run with the demo operators: the package's sandbox network started on this computer, the service
// connection pointed at it for this run only (nothing of it stored), the files its replies overwrite put
// back, and, once its definitions arrived, a first message to its operator without a login set up. The
// session's view hears how it goes. It belongs to the session, and goes on under a window built again.
class DemoRun : public QObject
{
    Q_OBJECT
public:
    explicit DemoRun(MainSession& session);

    // Starts the demo operators; nothing when they were started already.
    void start();
    bool running() const;

    // The first message of a demo: the composition with what is still empty filled (the demo operator's
    // number, a greeting); nothing the user typed is replaced, and a list stays a list.
    static SendWorkflow::Composition firstMessage(SendWorkflow::Composition composition);

private:
    // The service at `url` for this run only: the connection starts again with it.
    void useService(const QString& url);
    void arrived();

    MainSession& m_session;
    QPointer<DemoOperators> m_operators;
};
