#pragma once

#include <QCoreApplication>
#include <QEvent>

// The program's private messages. Each one travels as a posted event whose type is QEvent::User plus the
// message number, so it is handled later, in the order posted, by the receiver's event() or customEvent().
enum UserMessage : int
{
    UM_TOGGLEWINDOW = 0x7E8, // show or hide the main window
    UM_INITDONE = 0x7E9, // the initialisation request finished
    UM_STATSDONE = 0x7EA, // a statistics request finished
    UM_BANNERCHOSEN = 0x7EB, // the banner rotation picked the next banner
    UM_BANNERLOADED = 0x7EC, // a banner download finished
    UM_SHUTDOWN = 0x7ED, // the exit command, to the hidden root window
};

// The event type that carries a message.
constexpr QEvent::Type userMessageEventType(UserMessage message)
{
    return static_cast<QEvent::Type>(QEvent::User + static_cast<int>(message));
}

// The message an event carries, or 0 when it carries none of them.
inline int userMessageOf(const QEvent* event)
{
    const int number = static_cast<int>(event->type()) - static_cast<int>(QEvent::User);
    return number >= UM_TOGGLEWINDOW && number <= UM_SHUTDOWN ? number : 0;
}

// Posts the message to the receiver; it runs once the event loop reaches it.
inline void postUserMessage(QObject* receiver, UserMessage message)
{
    QCoreApplication::postEvent(receiver, new QEvent(userMessageEventType(message)));
}
