#pragma once

#include "net/TAdvHttp.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <functional>
#include <utility>

// Records every event of a component by name, and whether each handler ran on the main thread.
class EventRecorder
{
public:
    explicit EventRecorder(TAdvHttp& http)
    {
        using Slot = TAdvHttp::TNotifyEvent TAdvHttp::*;
        const std::pair<Slot, const char*> table[] = {
            { &TAdvHttp::OnClosingConnection, "ClosingConnection" },
            { &TAdvHttp::OnConnectedToServer, "ConnectedToServer" },
            { &TAdvHttp::OnConnectingToServer, "ConnectingToServer" },
            { &TAdvHttp::OnConnectionClosed, "ConnectionClosed" },
            { &TAdvHttp::OnIntermediateResponse, "IntermediateResponse" },
            { &TAdvHttp::OnNameResolved, "NameResolved" },
            { &TAdvHttp::OnReceivingResponse, "ReceivingResponse" },
            { &TAdvHttp::OnResponseReceived, "ResponseReceived" },
            { &TAdvHttp::OnRedirect, "Redirect" },
            { &TAdvHttp::OnRequestComplete, "RequestComplete" },
            { &TAdvHttp::OnRequestSent, "RequestSent" },
            { &TAdvHttp::OnResolvingName, "ResolvingName" },
            { &TAdvHttp::OnSendingRequest, "SendingRequest" },
            { &TAdvHttp::OnDataAvailable, "DataAvailable" },
            { &TAdvHttp::OnNeedAuth, "NeedAuth" },
            { &TAdvHttp::OnNeedProxyAuth, "NeedProxyAuth" },
            { &TAdvHttp::OnError, "Error" },
        };
        for (const auto& [slot, name] : table) {
            const QString event = QString::fromLatin1(name);
            http.*slot = [this, event](TAdvHttp* sender) {
                if (QThread::currentThread() != QCoreApplication::instance()->thread())
                    offMainThread = true;
                events.append(event);
                if (hook)
                    hook(event, sender);
            };
        }
    }

    int count(const QString& event) const { return events.count(event); }

    // The events with runs of one event shown once, so that the shape of a request reads the same however
    // many addresses were tried or body chunks arrived.
    QStringList collapsed() const
    {
        QStringList result;
        for (const QString& event : events) {
            if (result.isEmpty() || result.last() != event)
                result.append(event);
        }
        return result;
    }

    QStringList events;
    bool offMainThread = false;
    // Runs inside each handler, after the event was recorded.
    std::function<void(const QString& event, TAdvHttp* sender)> hook;
};
