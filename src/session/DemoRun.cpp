#include "DemoRun.h"

#include "BannerRotation.h"
#include "DemoOperators.h"
#include "MainSession.h"
#include "MainView.h"
#include "ServiceConnection.h"
#include "common/AppPaths.h"
#include "service/ServiceState.h"

#include <memory>

namespace {
// The sandbox's operator without a login, and a number it accepts: the first message of the demo goes there.
const QString DemoAreaCode = QStringLiteral("054");
const QString DemoPhone = QStringLiteral("1234567");
} // namespace

DemoRun::DemoRun(MainSession& session)
    : QObject(&session)
    , m_session(session)
{
}

bool DemoRun::running() const
{
    return m_operators && m_operators->running();
}

void DemoRun::start()
{
    if (m_operators)
        return;
    m_operators = new DemoOperators(this);
    m_operators->keepFiles({ AppPaths::providerCacheFile(), MainSession::bannerTableFile() });
    if (MainView* view = m_session.view())
        view->showDemoState(DemoState::Starting);

    // Every complete reply of the sandbox becomes providers.dat: it is put back at once, so that the next start
    // knows the user's operators only.
    ServiceConnection* service = &m_session.service();
    connect(service, &ServiceConnection::initDone, m_operators, &DemoOperators::restoreFiles);
    auto arrival = std::make_shared<QMetaObject::Connection>();
    *arrival = connect(service, &ServiceConnection::initDone, m_operators, [this, arrival] {
        if (!m_session.providersKnown())
            return;
        QObject::disconnect(*arrival);
        arrived();
    });
    connect(m_operators, &DemoOperators::ready, this, &DemoRun::useService);
    connect(m_operators, &DemoOperators::failed, this, [this](const QString& reason) {
        if (MainView* view = m_session.view())
            view->showDemoState(DemoState::Failed, reason);
        m_operators->deleteLater();
    });
    m_operators->start();
}

void DemoRun::useService(const QString& url)
{
    AppPaths::setServiceUrlOverride(url);
    m_session.state().HomePage = url;
    m_session.banners().ClickURL = url;
    // From the start: the request in flight (to another address) is dropped, the definitions count as not yet
    // fetched, and the first initialisation request goes a second later.
    m_session.service().stop();
    m_session.service().startUp();
}

SendWorkflow::Composition DemoRun::firstMessage(SendWorkflow::Composition composition)
{
    if (!composition.listMode && composition.phone.isEmpty()) {
        composition.area = DemoAreaCode;
        composition.phone = DemoPhone;
        composition.recipientName.clear();
    }
    if (composition.message.isEmpty())
        composition.message = tr("שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.");
    return composition;
}

void DemoRun::arrived()
{
    m_session.composition() = firstMessage(m_session.composition());
    if (MainView* view = m_session.view()) {
        view->compositionChanged();
        view->showDemoState(DemoState::Ready);
    }
}
