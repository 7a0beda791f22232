#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A Secret Service of the test's own: a D-Bus session bus that activates nothing, and Debian's
// gnome-keyring-daemon on it, with its keyring files in a temporary folder. start() points this process's
// DBUS_SESSION_BUS_ADDRESS at that bus, so nothing reaches the user's own bus or keyring; programs the test
// runs inherit it. Both daemons end with the object.
class PrivateSecretService
{
public:
    PrivateSecretService();
    ~PrivateSecretService();

    // Starts the bus and the keyring daemon, the "login" keyring created and unlocked. Empty when all is
    // ready, otherwise what went wrong.
    QString start();
    // Ends the keyring daemon only: the bus stays, with nobody owning the Secret Service's name.
    void stopKeyring();
    // Starts the keyring daemon again on the same files, unlocked.
    QString startKeyring();
    // Locks the default collection, as the desktop does after a time or on the user's word.
    QString lockDefaultCollection();

    static constexpr const char* KeyringPassword = "keyring-test-password";

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_keyring;
    void* m_connection = nullptr; // GDBusConnection
};
