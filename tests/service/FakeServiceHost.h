#pragma once

#include "service/ServiceHost.h"

#include <QStringList>
#include <functional>

// Records what the tags asked of the window, in order.
class FakeServiceHost : public ServiceHost
{
public:
    QStringList calls;
    QStringList messages;
    std::function<void(const QString&)> onMessage;

    void showMessage(const QString& text) override
    {
        calls.append(QStringLiteral("message"));
        messages.append(text);
        if (onMessage)
            onMessage(text);
    }
    void areaDefsChanged() override { calls.append(QStringLiteral("areas")); }
    void setOnlineHelpEnabled(bool enabled) override { calls.append(QStringLiteral("help %1").arg(enabled ? 1 : 0)); }
    void setConnectionState(ConnectionState state) override
    {
        calls.append(QStringLiteral("state %1").arg(int(state)));
    }
    void finished() override { calls.append(QStringLiteral("finished")); }
};
