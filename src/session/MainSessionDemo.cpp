// A service for this run only: the demo operators' sandbox.

#include "MainSession.h"

#include "ServiceConnection.h"
#include "common/AppPaths.h"
#include "service/ServiceState.h"

void MainSession::useServiceForThisRun(const QString& url)
{
    AppPaths::setServiceUrlOverride(url);
    m_state->HomePage = url;
    m_banners->ClickURL = url;
    // From the start: the request in flight (to another address) is dropped, the definitions count as not yet
    // fetched, and the first initialisation request goes a second later.
    m_service->stop();
    m_service->startUp();
}
