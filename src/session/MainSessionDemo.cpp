// The demo operators: the package's sandbox network on this computer, as the service for this run only.

#include "MainSession.h"

#include "DemoOperators.h"
#include "MainView.h"
#include "ServiceConnection.h"
#include "common/AppPaths.h"
#include "service/ServiceState.h"

namespace {
// The sandbox's operator without a login, and a number it accepts: the first message of the demo goes there.
const QString DemoAreaCode = QStringLiteral("054");
const QString DemoPhone = QStringLiteral("1234567");
} // namespace

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

bool MainSession::demoRunning() const
{
    return m_demo && m_demo->running();
}

void MainSession::startDemo()
{
    if (m_demo)
        return;
    // The demo belongs to the session: it goes on under a window built again in another language, and ends
    // with the program.
    m_demo = new DemoOperators(this);
    m_demo->keepFiles({ AppPaths::providerCacheFile(), bannerTableFile() });
    if (m_view)
        m_view->showDemoState(DemoState::Starting);

    // Every complete reply of the sandbox becomes providers.dat: it is put back at once, so that the next start
    // knows the user's operators only.
    connect(m_service, &ServiceConnection::initDone, m_demo, &DemoOperators::restoreFiles);
    auto arrived = std::make_shared<QMetaObject::Connection>();
    *arrived = connect(m_service, &ServiceConnection::initDone, m_demo, [this, arrived] {
        if (m_engine->Providers.isEmpty())
            return;
        QObject::disconnect(*arrived);
        demoArrived();
    });
    connect(m_demo, &DemoOperators::ready, this, &MainSession::useServiceForThisRun);
    connect(m_demo, &DemoOperators::failed, this, [this](const QString& reason) {
        if (m_view)
            m_view->showDemoState(DemoState::Failed, reason);
        m_demo->deleteLater();
    });
    m_demo->start();
}

void MainSession::demoArrived()
{
    // Only what is still empty is filled: nothing the user typed is replaced.
    if (!m_composition.listMode && m_composition.phone.isEmpty()) {
        m_composition.area = DemoAreaCode;
        m_composition.phone = DemoPhone;
        m_composition.recipientName.clear();
    }
    if (m_composition.message.isEmpty())
        m_composition.message = tr("שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.");
    if (m_view) {
        m_view->compositionChanged();
        m_view->showDemoState(DemoState::Ready);
    }
}
