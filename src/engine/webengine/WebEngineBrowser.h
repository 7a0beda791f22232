#pragma once

#include "engine/IWebBrowser.h"

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QQueue>
#include <QStringList>
#include <memory>

class QWebEngineProfile;
class BridgePage;

// The engine's browser on a Qt WebEngine page that is never shown. A script injected into every frame
// reports navigations and loads; each load brings a copy of the top-level document, on which the engine's
// page operations work, and what they change is played back into the page when the step has returned.
class WebEngineBrowser : public QObject, public IWebBrowser
{
    Q_OBJECT
public:
    explicit WebEngineBrowser(QObject* parent = nullptr);
    ~WebEngineBrowser() override;

    void Navigate(const QString& address) override;
    void Stop() override;
    std::shared_ptr<PageDocument> Document() override;

    // Called by the page for every console message of every frame.
    void bridgeMessage(const QString& message);

private:
    struct Event
    {
        bool document = false; // document-complete, else navigate-complete
        QList<int> path;
        QString address;
        QJsonObject copy;
        bool hasCopy = false;
    };

    void pump();
    void deliver(const Event& event);
    FrameRef frameFor(const QList<int>& path);
    void setDocument(const QJsonObject& copy);
    void queueStatement(const QString& statement);
    void flushStatements();

    QWebEngineProfile* m_profile = nullptr;
    BridgePage* m_page = nullptr;
    QString m_token;
    QQueue<Event> m_events;
    bool m_waitingForCopy = false;
    bool m_delivering = false;

    // The top-level window keeps its identity across loads; a frame's identity lasts as long as the top page
    // that holds it.
    quint64 m_nextFrameId = 2;
    QHash<QString, quint64> m_frames;

    double m_navigatedAt = 0; // milliseconds since the epoch, at the last Navigate
    std::shared_ptr<PageDocument> m_document;
    std::shared_ptr<const std::function<void(const QString&)>> m_sink;
    QStringList m_statements;
};
