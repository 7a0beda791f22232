#include "Credentials.h"

#include "settings/SmsIni.h"

void LoadCredentials(TProviders& providers)
{
    LoadCredentials(providers, SmsIni());
}

void LoadCredentials(TProviders& providers, const SmsIni& ini)
{
    for (TProvider& provider : providers) {
        provider.UserName = ini.userName(provider.Name);
        provider.Password = ini.password(provider.Name);
    }
    ini.UpdateFile();
}
