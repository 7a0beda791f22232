#pragma once

#include <QString>

// What the service tags do to the main window. The window implements it; without a window the defaults
// apply (the message goes to the current UserPrompt, everything else is dropped).
class ServiceHost
{
public:
    virtual ~ServiceHost() = default;

    // A modal information box with one OK button; processing goes on once the user has closed it.
    virtual void showMessage(const QString& text);
    // AreaDefs was replaced: rebuild the area-code menu.
    virtual void areaDefsChanged() { }
    // The online-help menu item follows whether an address is known.
    virtual void setOnlineHelpEnabled(bool enabled) { Q_UNUSED(enabled) }
    // The lamp and the tray icon show the new connection state (0, 1 or 2).
    virtual void setConnectionState(int state) { Q_UNUSED(state) }
    // A document reached FINISHED: the HTTP component's Tag := 1, StatsTimer restarted at 3000 ms and
    // BannerTimer at 4000 ms.
    virtual void finished() { }

    // The host used when none is given.
    static ServiceHost* fallback();
};
