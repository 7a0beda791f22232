#pragma once

#include <QApplication>
#include <QMetaObject>
#include <QTimer>

#include <functional>

// Runs `steps` on the next modal dialog of this type, from the event loop of its exec(), once what its
// showing posted has run.
template<typename Dialog> void whenModal(std::function<void(Dialog&)> steps)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        QMetaObject::invokeMethod(
            dialog, [dialog, steps] { steps(*dialog); }, Qt::QueuedConnection);
    });
    poll->start(10);
}
