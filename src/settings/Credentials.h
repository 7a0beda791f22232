#pragma once

#include <functional>

#include "service/TProvider.h"

class SmsIni;

// Sets every provider's UserName and Password, in list order, from the section of SMS.INI named by the
// provider's Name ("" when missing). Loading provider definitions rebuilds the records without credentials,
// so this runs after every load, from the service or from the cache.
void LoadCredentials(TProviders& providers);
void LoadCredentials(TProviders& providers, const SmsIni& ini);

// LoadCredentials as a service state's source of credentials (ServiceState::setCredentialSource).
inline std::function<void(TProviders&)> credentialsFromSmsIni()
{
    return [](TProviders& providers) { LoadCredentials(providers); };
}
