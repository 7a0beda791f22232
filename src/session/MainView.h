#pragma once

#include "service/ConnectionState.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QImage;
struct HistoryEntry;

// What a status text tells: news or a step under way, a message sent, a failure or refused input, or a
// message that may have gone out.
enum class StatusKind { Info, Sent, Error, Unknown };

// Where a status text goes: the status line, the status window (the user's choice in the preferences), or the
// current recipient's line of a list send's status window.
enum class StatusPlace { StatusLine, StatusWindow, RecipientLine };

// How the demo operators are doing: starting, their definitions arrived (the composition was filled where it
// was empty), or they could not start.
enum class DemoState { Starting, Ready, Failed };

// What the program's session needs of the window that shows it. The main window implements it; a test
// answers it with plain fields. The session asks only while a view is attached.
class MainView
{
public:
    virtual ~MainView() = default;

    // The lamp and the tray image show the connection state.
    virtual void showConnectionState(ConnectionState state) = 0;
    // A status text of its kind (the view picks its colour): on the status line, in the status window, or on
    // the current recipient's line during a list send.
    virtual void showStatus(const QString& text, StatusKind kind) = 0;
    // The engine's area items changed: the area-code menu follows.
    virtual void areaCodesChanged() = 0;
    // The online-help menu item follows whether an address is known.
    virtual void setOnlineHelpEnabled(bool enabled) = 0;
    // A decoded banner picture, to show in the banner space.
    virtual void displayBanner(const QImage& picture) = 0;

    // Where the window is: the timers that pause while it is not seen ask.
    virtual bool windowShown() const = 0;
    virtual bool bannerCovered() const = 0;
    // A shown window wholly covered by other windows is minimised.
    virtual void minimiseIfCovered() = 0;

    // A single send found no credentials for its provider: the preferences open, on that provider.
    virtual void openPreferencesForSend() = 0;
    // A list send: one line per recipient in a status window, and its end.
    virtual void beginList(const QStringList& names) = 0;
    virtual void endList(bool cancelled) = 0;

    // The session changed what is composed (the history's "send again"): the fields follow.
    virtual void compositionChanged() { }
    // Queued sends whose time passed while the program was not running: the user says for each whether it
    // goes now, stays, or is dropped (MainSession::missedSendChoice). Until then none of them is sent.
    virtual void showMissedSends(const QList<HistoryEntry>& entries) { Q_UNUSED(entries) }
    // The next queued send (the tray tip names it); null when the queue is empty.
    virtual void showNextScheduled(const HistoryEntry* next) { Q_UNUSED(next) }
    // The history or the queue changed: an open history window follows.
    virtual void historyChanged() { }
    // The demo operators' state; `reason` says why they could not start.
    virtual void showDemoState(DemoState state, const QString& reason = QString())
    {
        Q_UNUSED(state)
        Q_UNUSED(reason)
    }
    // A send of the queue ended (sent, refused, failed, or of unknown outcome).
    virtual void queuedSendEnded(const HistoryEntry& entry) { Q_UNUSED(entry) }
    // Work of the session's start that the window's first frame does not need (opening the history and its
    // queue): a window on its way to the screen runs it once it is painted, so that the user sees it sooner;
    // otherwise it runs at once.
    virtual void afterFirstFrame(std::function<void()> work) { work(); }
};
