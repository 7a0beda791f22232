#pragma once
// What the main window holds around its service connection, for the connection's tests: the engine's lists,
// the service state, a host that records what the connection asks of the window, and a loopback service.
#include "LoopbackHttpServer.h"

#include "common/AppPaths.h"
#include "service/ServiceState.h"
#include "session/ServiceConnection.h"
#include "settings/RegistryStore.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrl>

namespace ServiceConnectionTest {
constexpr int Patience = 15000;

class TestHost : public ServiceConnectionHost
{
public:
    bool busy = false;
    bool online = true;
    QString address = QStringLiteral("10.1.2.3");
    QList<int> states;
    QList<QUrl> opened;
    QStringList messages;
    int bannerCacheClears = 0;

    bool engineBusy() const override { return busy; }
    bool checkOnline() override { return online; }
    QString localAddress() const override { return address; }
    void setConnectionState(int state) override { states.append(state); }
    void showMessage(const QString& text) override { messages.append(text); }
    void ClearBannerCache() override { ++bannerCacheClears; }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }
};

struct Window
{
    TProviders providers;
    QStringList areaDefs;
    ServiceState state { providers, areaDefs };
    TestHost host;
    ServiceConnection connection { state, &host };
    QSignalSpy initDone { &connection, &ServiceConnection::initDone };
    QSignalSpy statsDone { &connection, &ServiceConnection::statsDone };

    bool initialise(int attempts = 1)
    {
        connection.InitTimerTimer();
        return QTest::qWaitFor([&] { return initDone.count() == attempts; }, Patience);
    }
    bool reportStatistics(int reports)
    {
        connection.StatsTimerTimer();
        return QTest::qWaitFor([&] { return statsDone.count() == reports; }, Patience);
    }
    QStringList providerNames() const
    {
        QStringList names;
        for (const TProvider& provider : providers)
            names << provider.Name;
        return names;
    }
};

inline LoopbackHttpServer::Reply ok(const QByteArray& body)
{
    LoopbackHttpServer::Reply reply;
    reply.body = body;
    return reply;
}

// Points the service address at a loopback server of its own thread, which records every request line.
inline bool serve(LoopbackHttpServer& server)
{
    if (!server.start())
        return false;
    AppPaths::setServiceUrlOverride(server.url(QString()));
    return true;
}
} // namespace ServiceConnectionTest
