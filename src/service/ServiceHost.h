#pragma once

#include "ConnectionState.h"

#include <QString>
#include <QStringList>

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
    // The lamp and the tray icon show the new connection state.
    virtual void setConnectionState(ConnectionState state) { Q_UNUSED(state) }
    // A document reached FINISHED: the HTTP component's Tag := 1, StatsTimer restarted at 3000 ms and
    // BannerTimer at 4000 ms.
    virtual void finished() { }
    // The local definition files were read again: their problems, one report line each, and no lines when
    // there were none. Called after every reading, so a host that shows them decides what is news.
    virtual void localDefinitionsReport(const QStringList& lines)
    {
        for (const QString& line : lines)
            qWarning("%s", qUtf8Printable(line));
    }

    // The host used when none is given.
    static ServiceHost* fallback();
};
