#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The providers' passwords in the desktop keyring: the Secret Service on the session bus (GNOME Keyring,
// KWallet and others), reached through libsecret. One item per provider, under the program's own schema, with
// the provider's Name as its only attribute.
//
// Every call is made on a thread of its own, because libsecret's calls wait on D-Bus and, for an unlock, on
// the person typing the keyring's password in the desktop's own window. Reading never asks anything and gives
// up after a few seconds, so the window is not held up by a keyring that does not answer; the caller then
// waits blocked. Storing and removing may have to ask for the unlock: their caller's thread goes on painting
// its windows meanwhile (user input waits until the call returns).
class Keyring
{
public:
    enum class Status
    {
        Ok,
        // The collection that holds the items is locked, and the user did not unlock it.
        Locked,
        // No session bus, no Secret Service on it, or no answer in time.
        Unavailable,
        // The service refused the call for another reason.
        Failed,
    };

    struct Result
    {
        Status status = Status::Ok;
        // The service's or the bus's own words, for the user's message; empty with Ok and Locked.
        QString detail;

        bool ok() const { return status == Status::Ok; }
        // Why the keyring could not be used, in the user's language; empty with Ok.
        QString text() const;
    };

    struct Contents
    {
        Result result;
        // Provider name to password, of the items that could be read.
        QHash<QString, QString> passwords;
        // Providers whose items exist but are locked.
        QStringList locked;
    };

    // Whether a call may have the desktop ask the user to unlock the keyring.
    enum class Access
    {
        Quiet,
        MayAsk,
    };

    // The program's items. Quiet: a locked item is named in `locked`, and the call gives up after
    // ReadTimeoutMs; MayAsk: locked items are unlocked first, which the user may refuse.
    static Contents read(Access access = Access::Quiet);
    // Stores (or replaces) the provider's password in the default collection, unlocking it first when it
    // is locked; the desktop asks the user for the keyring's password then.
    static Result store(const QString& provider, const QString& password);
    // Removes the provider's item; none is not an error. Unlocks as store() does.
    static Result remove(const QString& provider);

    // How long a read may take before the keyring counts as unavailable, and a change (with its unlock
    // prompt) before it counts as refused.
    static constexpr int ReadTimeoutMs = 4000;
    static constexpr int ChangeTimeoutMs = 180000;
};
