#pragma once

#include "service/ConnectionState.h"

#include <QString>
#include <QStringList>

struct TProvider;

// What the send workflow needs from the front end that runs it: the window, or the command-line program.
class SendWorkflowHost
{
public:
    virtual ~SendWorkflowHost() = default;

    // The machine's Internet connection as last tested, and the connection state of the definitions
    // (0 none usable, 1 from the cache or a request under way, 2 a live document).
    virtual bool isOnline() const = 0;
    virtual ConnectionState connectionState() const = 0;
    virtual void setConnectionState(ConnectionState state) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const QString& question) = 0;
    // A refusal or a failure: shown in the error colour, on the current recipient's line during a list.
    virtual void reportError(const QString& text) = 0;

    // Service requests wait while a send command runs.
    virtual void suspendServiceRequests(bool suspended) { Q_UNUSED(suspended) }
    // A single send keeps what was sent for the next start.
    virtual void saveLastUsed() { }
    // A provider that needs a login has no credentials: tell the user and let them enter them (a single
    // send), and give the text that the failure is reported with.
    virtual QString credentialsMissing(const TProvider& provider, bool listSend) = 0;
    // The provider's login page is on `origin`, not on the one its credentials were last used with: whether
    // the user agrees to use them there (the window asks; zelkora-cli takes --accept-login-origin).
    virtual bool acceptLoginOrigin(const TProvider& provider, const QString& origin)
    {
        Q_UNUSED(provider)
        Q_UNUSED(origin)
        return false;
    }
    // The credentials are used with `origin` from now on (kept where the credentials are kept).
    virtual void bindLoginOrigin(const TProvider& provider, const QString& origin)
    {
        Q_UNUSED(provider)
        Q_UNUSED(origin)
    }

    // The list send's display: one line per recipient, then the recipient under way; at the end whether it
    // was cancelled. cancelRequested() is asked after every step of the wait.
    virtual void beginList(const QStringList& names) { Q_UNUSED(names) }
    virtual void setCurrentRecipient(int index) { Q_UNUSED(index) }
    virtual void endList(bool cancelled) { Q_UNUSED(cancelled) }
    virtual bool cancelRequested() const { return false; }
    virtual void setCancelRequested(bool requested) { Q_UNUSED(requested) }
};
