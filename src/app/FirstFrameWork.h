#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

// Work of the program's start that a window's first frame does not need (opening the history and its
// queue): held while the window is on its way to the screen and run once it has been painted, so that the
// user sees the window sooner. Without a show on its way it runs at once.
class FirstFrameWork : public QObject
{
public:
    explicit FirstFrameWork(QWidget& window);
    // Work that goes to the session when the window goes before its first frame.
    ~FirstFrameWork() override;

    // A show of the window was requested: work waits for its first frame from now on.
    void expectFrame();
    // The show ran: a platform that paints nothing for the window (or a compositor that is slow to ask for
    // the first frame) keeps nothing waiting for longer than FrameWait.
    void shown();
    void run(std::function<void()> work);
    // Where the waiting work goes when the window ends first.
    void setHeir(QObject* heir) { m_heir = heir; }

    static constexpr int FrameWait = 1000; // milliseconds

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runWaiting();

    bool m_painted = false;
    bool m_awaited = false;
    QObject* m_heir = nullptr;
    std::vector<std::function<void()>> m_waiting;
};
