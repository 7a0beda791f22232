#pragma once

#include "engine/IWebBrowser.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QQueue>
#include <QUrl>
#include <memory>

class QWebEngineLoadingInfo;
class QWebEngineProfile;
class BridgePage;

// The engine's browser on a Qt WebEngine page that is never shown. A script injected into every frame
// reports navigations and loads; each load, once the page's own load handlers have run, brings a copy of
// the top-level document, on which the engine's page operations work. What they change is played back into
// the very nodes of the live page that the copy described, when the step has returned.
class WebEngineBrowser : public QObject, public IWebBrowser
{
    Q_OBJECT
public:
    explicit WebEngineBrowser(QObject* parent = nullptr);
    ~WebEngineBrowser() override;

    void Navigate(const QString& address) override;
    void Stop() override;
    std::shared_ptr<PageDocument> Document() override;
    FrameRef Window(const QList<int>& path) override;
    int HttpStatus(FrameRef window) const override;
    QWidget* pageView(QWidget* parent) override;

    // Called by the page for every console message of every frame.
    void bridgeMessage(const QString& message);

private:
    struct Report
    {
        bool document = false; // document-complete, else navigate-complete
        QList<int> path;
        QString address;
        QJsonObject copy;
        bool hasCopy = false;
        // The window holds no page of the site's (the browser's own error page, a load that failed): the
        // document-complete hands no document.
        bool noPage = false;
        // The HTTP status the document came with, as its own script could tell it; 0 when it could not.
        int httpStatus = 0;
    };

    void makePage();
    // While a person sees the page: its pictures load, and its alerts and questions are put to the person.
    void setShownToPerson(bool shown);
    // Forgets every report, and the copy under way, of the pages the engine has left.
    void startOver();
    bool accepts(const Report& report, const QJsonObject& fields);
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void failedLoad(const QString& address);
    void pageLost();

    void pump();
    void deliver(const Report& report);
    FrameRef frameFor(const QList<int>& path);
    void setDocument(const Report& report);
    void applySteps();

    QWebEngineProfile* m_profile = nullptr;
    BridgePage* m_page = nullptr;
    QString m_token;
    QString m_bridgeSource;

    QQueue<Report> m_events;
    bool m_waitingForCopy = false;
    // The top-level page's load has started and not yet ended; its document's report waits for the end,
    // which brings the page's HTTP status.
    bool m_topLoading = false;
    bool m_waitingForLoadEnd = false;
    QUrl m_topLoadUrl;
    int m_topHttpStatus = 0;
    bool m_delivering = false;
    // Raised by startOver; a copy or a failure that was under way before belongs to nothing.
    quint64 m_generation = 0;

    // Milliseconds since the epoch at the last Navigate; a top-level document made before it is not the one
    // that Navigate asked for.
    double m_navigatedAt = 0;
    QUrl m_requested;
    int m_reloads = 0;
    // The current top-level document, once it has reported after the last Navigate.
    bool m_awaitingTop = true;
    QString m_pageId;

    // The top-level window keeps its identity across loads; a frame's identity lasts as long as the top page
    // that holds it.
    quint64 m_nextFrameId = 2;
    QHash<QString, quint64> m_frames;
    // By window: the HTTP status its document last completed with, where known.
    QHash<quint64, int> m_httpStatuses;

    std::shared_ptr<PageDocument> m_document;
    std::shared_ptr<const std::function<void(const QJsonObject&)>> m_sink;
    QJsonArray m_steps;
};
