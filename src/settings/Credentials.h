#pragma once

#include "service/TProvider.h"

class SmsIni;

// Sets every provider's UserName and Password, in list order, from the section of SMS.INI named by the
// provider's Name ("" when missing). Loading provider definitions rebuilds the records without credentials,
// so this runs after every load, from the service or from the cache.
void LoadCredentials(TProviders& providers);
void LoadCredentials(TProviders& providers, const SmsIni& ini);
