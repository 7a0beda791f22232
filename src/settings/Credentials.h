#pragma once

#include <functional>

#include "service/TProvider.h"

class SmsIni;

// Where the providers' credentials are kept. The user names are always in SMS.INI, in the section named by
// the provider's Name. The passwords are there too, unless "UseKeyring" in SMS.INI keeps them in the desktop
// keyring (Keyring); SMS.INI then holds an empty Password, except for a provider whose password the user
// agreed to write there when the keyring would not take it.

// Sets every provider's UserName and Password, in list order ("" when missing). Loading provider definitions
// rebuilds the records without credentials, so this runs after every load, from the service or from the cache.
//
// With the keyring, a password comes from, in this order: what the user typed during this run and chose to
// keep only until the program ends, SMS.INI, the keyring. A keyring that cannot be read (locked, missing)
// leaves the passwords it holds empty, so the send asks for them as for missing credentials; the user is told
// once through UserPrompt, naming each provider with a user name and no password (zelkora-cli prints it on
// standard error). The keyring is never asked to unlock here.
void LoadCredentials(TProviders& providers);
void LoadCredentials(TProviders& providers, const SmsIni& ini);

// LoadCredentials as a service state's source of credentials (ServiceState::setCredentialSource).
inline std::function<void(TProviders&)> credentialsFromSmsIni()
{
    return [](TProviders& providers) { LoadCredentials(providers); };
}

// Stores a password the user typed for the provider: in SMS.INI, or in the keyring when the settings keep
// passwords there. A password the keyring does not take (locked, missing, the user refused to unlock it) is
// never written to SMS.INI without the user's word: the user is asked, and when the answer is no it is kept
// in memory until the program ends. With the keyring, a password equal to the one the provider has now is
// not stored again. Raises ZelkoraError when SMS.INI refuses a write.
void storePassword(const QString& providerName, const QString& password);

// Turns keeping the passwords in the keyring on or off, and moves every password of SMS.INI (every section's)
// with it: on, into the keyring, emptied in SMS.INI only once the keyring took them all; off, back into
// SMS.INI and then out of the keyring. True when the setting is now `on`; false when the move could not be
// made, which the user was told, and then nothing changed. Raises ZelkoraError when SMS.INI refuses a write.
bool setUseKeyring(bool on);
