#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

DesktopNotifier::DesktopNotifier(Fallback fallback, QObject* parent)
    : QObject(parent)
    , m_fallback(std::move(fallback))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    m_service = new QDBusInterface(Service, Path, Service, bus, this);
    bus.connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this, SLOT(invoked(uint, QString)));
    bus.connect(Service, Path, Service, QStringLiteral("NotificationClosed"), this, SLOT(closed(uint, uint)));
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::notify(const QString& title, const QString& body, std::function<void()> activated)
{
    // Asked only while someone owns the name (a bus without a notification service would otherwise start one),
    // and without waiting: a service that hangs never holds the window up.
    const QDBusConnectionInterface* names = m_service ? QDBusConnection::sessionBus().interface() : nullptr;
    if (!names || !names->isServiceRegistered(Service)) {
        if (m_fallback)
            m_fallback(title, body);
        return;
    }
    const QDBusPendingCall call = m_service->asyncCall(QStringLiteral("Notify"), QStringLiteral("Zelkora"), uint(0),
        QStringLiteral("zelkora"), title, body, QStringList { QStringLiteral("default"), title }, QVariantMap(),
        int(-1));
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, title, body, activated = std::move(activated)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            const QDBusPendingReply<uint> id = *finished;
            if (id.isValid())
                m_pending.insert(id.value(), activated);
            else if (m_fallback)
                m_fallback(title, body);
        });
}

void DesktopNotifier::invoked(uint id, const QString& action)
{
    const auto found = m_pending.constFind(id);
    if (found == m_pending.cend() || action != QLatin1String("default"))
        return;
    const std::function<void()> activated = *found;
    m_pending.remove(id);
    if (activated)
        activated();
}

void DesktopNotifier::closed(uint id, uint)
{
    m_pending.remove(id);
}
