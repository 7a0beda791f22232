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
// the very nodes of the live page that the copy described, when the step has returned. Every frame tells
// its displayed text as the page's scripts change it; the page's dialogs are answered and told; a window the
// page opens is a real page of the same profile, whose reports come the same way.
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
    QString LoadError() const override { return m_topLoadError; }
    QString WindowText(FrameRef window) const override;
    bool Contains(FrameRef outer, FrameRef inner) const override;
    bool Waiting() const override;
    QWidget* pageView(QWidget* parent) override;

    // Called by a page for every console message of every frame; `page` is the engine's page or one it opened.
    void bridgeMessage(BridgePage* page, const QString& message);
    // A page put up an alert, a question or a prompt with this text.
    void dialogShown(BridgePage* page, const QString& text);
    // A page opens a window of its own: a new page of the same profile, never shown.
    BridgePage* openWindow();
    // A request of a page's script started (from the profile's interceptor).
    void requestStarted(const QString& url, bool frameLoad);

private:
    enum class ReportKind
    {
        Navigate,
        Document,
        Text, // the window's displayed text changed
        Dialog, // a dialog's text, of the window's page
        Opened, // a window was opened
    };
    struct Report
    {
        ReportKind kind = ReportKind::Navigate;
        // 0 for the engine's page, else the number of a window the page opened.
        int window = 0;
        QList<int> path;
        // Its displayed text (the window's own, for a load or a change; a dialog's), when it told one.
        QString text;
        bool hasText = false;
        QString address;
        QJsonObject copy;
        bool hasCopy = false;
        // The window holds no page of the site's (the browser's own error page, a load that failed): the
        // document-complete hands no document.
        bool noPage = false;
        // The HTTP status the document came with, as its own script could tell it; 0 when it could not.
        int httpStatus = 0;
    };

    // Where a window is: the page (0 for the engine's own, else an opened window's number) and the frame path.
    struct WindowPlace
    {
        int window = 0;
        QList<int> path;
    };
    // A window the page opened.
    struct OpenedWindow
    {
        BridgePage* page = nullptr;
        quint64 top = 0;
        int httpStatus = 0;
        bool loading = false;
    };

    BridgePage* makeBridgePage();
    void makePage();
    // A load or a script's request started or ended: the engine's activity handler hears of it.
    void notifyActivity();
    void closeOpenedWindows();
    int windowNumber(BridgePage* page) const;
    // A window's new document replaces the texts of the window and of every frame that was in it.
    void forgetTexts(int window, const QList<int>& path);
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
    FrameRef frameFor(const QList<int>& path, int window = 0);
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
    QString m_topLoadError; // of the last top-level load that failed without a page
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
    QHash<quint64, WindowPlace> m_places;
    // By window: its own displayed text, as it last told it.
    QHash<quint64, QString> m_texts;
    QHash<int, OpenedWindow> m_opened;
    int m_nextWindow = 1;
    // The scripts' requests under way, by address, and the frame loads asked for and not yet begun.
    QHash<QString, int> m_requests;
    int m_frameLoads = 0;

    std::shared_ptr<PageDocument> m_document;
    std::shared_ptr<const std::function<void(const QJsonObject&)>> m_sink;
    QJsonArray m_steps;
};
