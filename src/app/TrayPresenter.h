#pragma once

#include "service/ConnectionState.h"

#include <QObject>
#include <QString>

class DesktopNotifier;
class TMsgForm;
struct HistoryEntry;

// The main window's tray icon: its image and tip follow the connection state and the next queued send, and
// a queued send that ends while the window is hidden is told by a desktop notification (the tray's own message
// where no notification service answers); activating it opens the history on that send. It uses the window's
// public face only and goes with the window.
class TrayPresenter : public QObject
{
    Q_OBJECT
public:
    explicit TrayPresenter(TMsgForm& window);

    void showConnectionState(ConnectionState state);
    // The next queued send; null when the queue is empty.
    void showNextScheduled(const HistoryEntry* next);
    void queuedSendEnded(const HistoryEntry& entry);

private:
    QString definitionsTip(ConnectionState state) const;
    // The program, where its definitions come from, and the next queued send.
    void updateHint();

    TMsgForm& m_window;
    QString m_definitionsTip; // the tip's line for the lamp's state
    QString m_nextScheduledTip; // the tip's line for the next queued send, when there is one
    DesktopNotifier* m_notifier = nullptr; // made at the first queued send that ends while the window is hidden
    qint64 m_notifiedEntry = 0; // the history row the tray's last message was about
};
