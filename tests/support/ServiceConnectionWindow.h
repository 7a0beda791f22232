#pragma once
// The main window's session around its service connection, for the connection's tests: the real MainSession
// builds the engine, the service state and the connection as the program does (a creation step it forgets
// fails these tests), with a fake browser, a host that records what the connection asks of the window and a
// view that records the lamp; the service is a loopback server.
#include "FakeBrowser.h"
#include "LoopbackHttpServer.h"

#include "common/AppPaths.h"
#include "service/ServiceState.h"
#include "session/MainSession.h"
#include "session/MainView.h"
#include "session/ServiceConnection.h"
#include "settings/ProgramSettings.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrl>

namespace ServiceConnectionTest {
constexpr int Patience = 15000;

// The lamp, as the window would show it.
class LampView : public MainView
{
public:
    explicit LampView(QList<int>& states)
        : m_states(states)
    {
    }
    void showConnectionState(ConnectionState state) override { m_states.append(int(state)); }
    void showStatus(const QString&, StatusKind) override { }
    void areaCodesChanged() override { }
    void setOnlineHelpEnabled(bool) override { }
    void displayBanner(const QImage&) override { }
    bool windowShown() const override { return false; }
    bool bannerCovered() const override { return false; }
    void minimiseIfCovered() override { }
    void openPreferencesForSend() override { }
    void beginList(const QStringList&) override { }
    void endList(bool) override { }

private:
    QList<int>& m_states;
};

// The session with the machine's side answered by fields: the online test, the local address, the desktop
// that opens addresses, the message box and the banner cache.
class TestSession : public MainSession
{
public:
    TestSession()
        : MainSession([](QObject*) { return std::make_unique<FakeBrowser>(); })
    {
        setView(&m_view);
    }
    ~TestSession() override { setView(nullptr); }

    bool online = true;
    QString address = QStringLiteral("10.1.2.3");
    QList<int> states;
    QList<QUrl> opened;
    QStringList messages;
    int bannerCacheClears = 0;

    // The engine in the middle of an attempt, or at rest.
    void setBusy(bool busy) { engine().Status = busy ? ssSending : ssReady; }

    bool checkOnline() override
    {
        setOnline(online);
        return online;
    }
    QString localAddress() const override { return address; }
    void showMessage(const QString& text) override { messages.append(text); }
    void ClearBannerCache() override { ++bannerCacheClears; }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }

private:
    LampView m_view { states };
};

struct Window
{
    TestSession host;
    TProviders& providers = host.engine().Providers;
    QStringList& areaDefs = host.engine().AreaDefs;
    ServiceState& state = host.state();
    ServiceConnection& connection = host.service();
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
