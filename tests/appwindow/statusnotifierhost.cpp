// A desktop's notification area as Wayland desktops offer it: the StatusNotifierWatcher on the session bus, with
// a host registered. It prints "ready" once it owns its name, then the bus name of every item that registers, one
// a line, so that a test script can click the item over the bus (org.kde.StatusNotifierItem.Activate).

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

#include <cstdio>

class StatusNotifierWatcher : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredStatusNotifierItems)

public:
    explicit StatusNotifierWatcher(QObject* parent)
        : QDBusAbstractAdaptor(parent)
    {
    }

    bool isStatusNotifierHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList registeredStatusNotifierItems() const { return m_items; }

public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message)
    {
        // An item names its bus name, or only its object path on the caller's connection.
        const QString name = service.startsWith(QLatin1Char('/')) ? message.service() : service;
        m_items.append(name);
        std::printf("%s\n", qPrintable(name));
        std::fflush(stdout);
        emit StatusNotifierItemRegistered(name);
    }

    void RegisterStatusNotifierHost(const QString&) { }

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    QObject root;
    new StatusNotifierWatcher(&root);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &root)
        || !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "statusnotifierhost: cannot register on the session bus\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "statusnotifierhost.moc"
