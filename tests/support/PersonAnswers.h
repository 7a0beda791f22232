#pragma once
// A person at the keyboard of a window that shows an operator's page: real key events into the page.
#include "sending/PersonPageWindow.h"

#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace PersonAnswers {
// Types the text into the shown page, then Enter, and waits for the page that brings or for the window to
// go (the message page opened). False when the page could not be typed into or nothing came.
inline bool type(PersonPageWindow* shown, const QString& text, int patience = 30000)
{
    const QPointer<PersonPageWindow> window(shown);
    const QPointer<QWidget> view(window->pageView());
    if (!view || !QTest::qWaitFor([&] { return !view || view->focusProxy() != nullptr; }, patience) || !view)
        return false;
    QSignalSpy loaded(view, SIGNAL(loadFinished(bool)));
    // A person reads the page before typing.
    QTest::qWait(300);
    if (!view)
        return false;
    QTest::keyClicks(view->focusProxy(), text);
    QTest::keyClick(view->focusProxy(), Qt::Key_Return);
    return QTest::qWaitFor([&] { return !window || !window->isVisible() || !loaded.isEmpty(); }, patience) && window
        && window->isVisible();
}

// Answers each window `pages` shows with the next list of answers, from the event loop as a person's keys
// arrive; an empty list presses Cancel.
inline QMetaObject::Connection answerEach(PersonPages* pages, QObject* context, QList<QStringList>* answers)
{
    return QObject::connect(pages, &PersonPages::shown, context, [answers](PersonPageWindow* window) {
        const QStringList next = answers->isEmpty() ? QStringList() : answers->takeFirst();
        QTimer::singleShot(0, window, [window, next] {
            if (next.isEmpty()) {
                QTest::mouseClick(window->cancelButton(), Qt::LeftButton);
                return;
            }
            for (const QString& answer : next) {
                if (!type(window, answer))
                    return;
            }
        });
    });
}
} // namespace PersonAnswers
