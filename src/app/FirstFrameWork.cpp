#include "FirstFrameWork.h"

#include "common/StartupTrace.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

FirstFrameWork::FirstFrameWork(QWidget& window)
    : QObject(&window)
{
    window.installEventFilter(this);
}

FirstFrameWork::~FirstFrameWork()
{
    for (std::function<void()>& work : m_waiting) {
        if (m_heir)
            QTimer::singleShot(0, m_heir, std::move(work));
    }
}

void FirstFrameWork::expectFrame()
{
    if (!m_painted)
        m_awaited = true;
}

void FirstFrameWork::shown()
{
    if (m_awaited)
        QTimer::singleShot(FrameWait, this, [this] {
            if (m_awaited)
                runWaiting();
        });
}

void FirstFrameWork::run(std::function<void()> work)
{
    if (m_awaited)
        m_waiting.push_back(std::move(work));
    else
        work();
}

bool FirstFrameWork::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        StartupTrace::mark("main window painted");
        // Not inside the paint event: the work may ask the user something.
        if (m_awaited)
            QMetaObject::invokeMethod(this, &FirstFrameWork::runWaiting, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void FirstFrameWork::runWaiting()
{
    m_awaited = false;
    std::vector<std::function<void()>> waiting;
    waiting.swap(m_waiting);
    for (std::function<void()>& work : waiting)
        work();
}
