#pragma once

#include "service/ServiceHost.h"

#include <QString>

class QObject;
class QUrl;

// What the service connection needs from the program around it: what the service tags do (ServiceHost,
// whose calls the connection passes on), and the rest below. The session implements it; the defaults serve a
// program or a test without a window: always online, the engine never busy, messages through the current
// UserPrompt, addresses opened by the desktop, and the connection handling its own completion messages.
class ServiceConnectionHost : public ServiceHost
{
public:
    // The sending engine is in the middle of an attempt (its status is ssConnecting to ssSending).
    virtual bool engineBusy() const { return false; }
    // CheckOnline: tests the machine's Internet connection, records it as Online and returns it.
    virtual bool checkOnline() { return true; }
    // The machine's first IPv4 address (GetLocalAddress); compared with LastIP to notice a new connection.
    virtual QString localAddress() const;

    // A document reached FINISHED: banner rotation restarts at this interval.
    virtual void startBannerTimer(int milliseconds) { Q_UNUSED(milliseconds) }
    // Before a statistics report: a shown main window wholly covered by other windows is minimised.
    virtual void minimiseIfCovered() { }
    // After a complete initialisation every cached banner picture is dropped, so that changed pictures are
    // fetched again. The default empties bannerCacheFolder().
    virtual void ClearBannerCache();
    // The home page, the online help: opened with the desktop's handler for addresses.
    virtual bool openUrl(const QUrl& url);

    // Where UM_INITDONE and UM_STATSDONE are posted; the receiver passes them back to
    // ServiceConnection::finishInit() and finishStats(). Null: the connection receives them itself.
    virtual QObject* messageReceiver() { return nullptr; }

    // The banner picture cache: $XDG_CACHE_HOME/zelkora/cache/.
    static QString bannerCacheFolder();
    // Deletes the files of the folder, read-only ones included; one that cannot be deleted does not stop
    // the others. Hidden files and sub-folders are left alone.
    static void clearFolder(const QString& folder);

    // The host used when none is given.
    static ServiceConnectionHost* fallback();
};
