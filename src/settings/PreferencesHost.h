#pragma once

#include "service/TProvider.h"

// What the preferences dialog needs from the running program. The main window implements it; a test answers
// it with plain fields. Every call is made while the dialog is open, so the answers must be live, not copies
// taken when the dialog was made: a new service document may replace the provider list meanwhile.
class PreferencesHost
{
public:
    virtual ~PreferencesHost() = default;

    // The engine's provider records. The dialog sets a provider's UserName and Password in them as soon as it
    // stores them, so the next send uses them without reading SMS.INI again.
    virtual TProviders& providers() = 0;
    // A live service document was received and is still current, or the provider cache gave definitions.
    // Without them, and without any provider with a login (one of the user's own), the identification tab
    // is not shown.
    virtual bool definitionsAvailable() const = 0;
    // The main window's UsePopupStatus, set as soon as the dialog stores it.
    virtual void setUsePopupStatus(bool on) = 0;
    // The engine's TimeOut in seconds, set as soon as the dialog stores it. The HTTP client's connect
    // time-out is not changed: it keeps the value read at start.
    virtual void setSendTimeOut(int seconds) = 0;
    // The service address in force changed: its definitions are asked for soon.
    virtual void serviceUrlChanged() { }
};
