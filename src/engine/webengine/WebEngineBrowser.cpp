#include "WebEngineBrowser.h"

#include "ChromiumSetup.h"
#include "SnapshotDocument.h"
#include "common/WebAddress.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <algorithm>

Q_LOGGING_CATEGORY(lcBrowser, "zelkora.browser", QtInfoMsg)

// Tells the browser of every request a page's script makes and of every frame load, as it starts; the
// bridge tells when the script's request ends, and the frame's report when its load has begun.
class RequestWatch : public QWebEngineUrlRequestInterceptor
{
public:
    explicit RequestWatch(WebEngineBrowser* browser)
        : QWebEngineUrlRequestInterceptor(browser)
        , m_browser(browser)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const auto type = info.resourceType();
        const bool frameLoad = type == QWebEngineUrlRequestInfo::ResourceTypeSubFrame;
        if ((type != QWebEngineUrlRequestInfo::ResourceTypeXhr && !frameLoad)
            || info.navigationType() == QWebEngineUrlRequestInfo::NavigationTypeRedirect)
            return;
        const QString url = info.requestUrl().adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
        const QPointer<WebEngineBrowser> browser(m_browser);
        QMetaObject::invokeMethod(
            m_browser,
            [browser, url, frameLoad] {
                if (browser)
                    browser->requestStarted(url, frameLoad);
            },
            Qt::QueuedConnection);
    }

private:
    WebEngineBrowser* m_browser;
};

namespace {
// The bridge runs in a world of its own: the sites' scripts share the page but not its variables.
constexpr quint32 kBridgeWorld = QWebEngineScript::ApplicationWorld;
// Both clocks are the system's wall clock; the margin covers the page's millisecond resolution.
constexpr double kClockMargin = 2.0;
// Where Chromium shows its own page for a load that failed.
const QLatin1String kErrorPageScheme("chrome-error:");
// Chromium's code for a load that a newer navigation or a stop replaced.
constexpr int kLoadAborted = -3;
// How often one Navigate asks again for its address when a load of the page it replaced wins.
constexpr int kMaxReloads = 3;
// How long a top-level document's report waits for the end of its page's load, which brings the HTTP status;
// the end comes first in practice, but the browser does not promise it.
constexpr int kLoadEndWaitMs = 2000;

QString pathText(const QList<int>& path)
{
    QStringList parts;
    for (int i : path)
        parts << QString::number(i);
    return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
}

QString traceAddress(const QString& address)
{
    return shownAddress(address);
}
QString traceAddress(const QUrl& address)
{
    return shownAddress(address.toString());
}

} // namespace

class BridgePage : public QWebEnginePage
{
public:
    BridgePage(QWebEngineProfile* profile, WebEngineBrowser* browser)
        : QWebEnginePage(profile, browser)
        , m_browser(browser)
    {
    }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int, const QString&) override
    {
        m_browser->bridgeMessage(this, message);
    }
    // Nobody sees the engine's pages: a site's note is dismissed, its question answered yes and its prompt
    // with the answer it proposes, as a person pressing OK would; their texts go to the engine. While a person
    // works in the page, they are theirs to read and answer.
    bool javaScriptConfirm(const QUrl& origin, const QString& text) override
    {
        if (shownToPerson)
            return QWebEnginePage::javaScriptConfirm(origin, text);
        m_browser->dialogShown(this, text);
        return true;
    }
    void javaScriptAlert(const QUrl& origin, const QString& text) override
    {
        if (shownToPerson)
            QWebEnginePage::javaScriptAlert(origin, text);
        else
            m_browser->dialogShown(this, text);
    }
    bool javaScriptPrompt(const QUrl& origin, const QString& text, const QString& proposed, QString* answer) override
    {
        if (shownToPerson)
            return QWebEnginePage::javaScriptPrompt(origin, text, proposed, answer);
        m_browser->dialogShown(this, text);
        *answer = proposed;
        return true;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return m_browser->openWindow(); }

public:
    bool shownToPerson = false;

private:
    WebEngineBrowser* m_browser;
};

WebEngineBrowser::WebEngineBrowser(QObject* parent)
    : QObject(parent)
{
    ChromiumSetup::prepare();
    m_token = QStringLiteral("zelkora-%1:").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    QFile source(QStringLiteral(":/zelkora-browser/bridge.js"));
    source.open(QIODevice::ReadOnly);
    QFile framePath(QStringLiteral(":/zelkora-browser/framepath.js"));
    framePath.open(QIODevice::ReadOnly);
    m_bridgeSource = QString::fromUtf8(source.readAll())
                         .replace(QLatin1String("@TOKEN@"), m_token)
                         .replace(QLatin1String("    @FRAME_PATH@\n"), QString::fromUtf8(framePath.readAll()));

    // An off-the-record profile: cookies and cache live in memory and end with the program.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setUrlRequestInterceptor(new RequestWatch(this));
    makePage();

    auto sink = [this](const QJsonObject& step) { m_steps.append(step); };
    m_sink = std::make_shared<const std::function<void(const QJsonObject&)>>(sink);
}

WebEngineBrowser::~WebEngineBrowser()
{
    m_navigateComplete = nullptr;
    m_documentComplete = nullptr;
    m_pageLost = nullptr;
    m_activity = nullptr;
    // The pages must go before their profile.
    closeOpenedWindows();
    delete m_page;
    m_page = nullptr;
    qDeleteAll(findChildren<BridgePage*>(QString(), Qt::FindDirectChildrenOnly));
}

BridgePage* WebEngineBrowser::makeBridgePage()
{
    auto* page = new BridgePage(m_profile, this);
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);

    QWebEngineScript bridge;
    bridge.setName(QStringLiteral("zelkora-bridge"));
    bridge.setSourceCode(m_bridgeSource);
    bridge.setInjectionPoint(QWebEngineScript::DocumentCreation);
    bridge.setRunsOnSubFrames(true);
    bridge.setWorldId(kBridgeWorld);
    page->scripts().insert(bridge);
    return page;
}

void WebEngineBrowser::makePage()
{
    m_page = makeBridgePage();
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::loadingChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
        [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
            qCWarning(lcBrowser, "the page's renderer process ended (status %d, code %d)", int(status), code);
            // Queued: the page that lost its renderer is still emitting.
            QMetaObject::invokeMethod(this, &WebEngineBrowser::pageLost, Qt::QueuedConnection);
        });
}

BridgePage* WebEngineBrowser::openWindow()
{
    const int number = m_nextWindow++;
    OpenedWindow opened;
    opened.page = makeBridgePage();
    opened.top = m_nextFrameId++;
    m_places.insert(opened.top, WindowPlace { number, {} });
    BridgePage* page = opened.page;
    connect(page, &QWebEnginePage::loadingChanged, this, [this, number](const QWebEngineLoadingInfo& info) {
        auto it = m_opened.find(number);
        if (it == m_opened.end())
            return;
        it->loading = info.status() == QWebEngineLoadingInfo::LoadStartedStatus;
        if (!it->loading)
            it->httpStatus = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain ? info.errorCode() : 0;
        notifyActivity();
    });
    // A window the site closes itself stays until the next Navigate: its text may be the answer.
    m_opened.insert(number, opened);
    qCDebug(lcBrowser, "the page opens window %d", number);
    Report report;
    report.kind = ReportKind::Opened;
    report.window = number;
    report.hasCopy = true;
    m_events.enqueue(report);
    // Not from inside the browser's call.
    QMetaObject::invokeMethod(this, &WebEngineBrowser::pump, Qt::QueuedConnection);
    return page;
}

void WebEngineBrowser::closeOpenedWindows()
{
    for (const OpenedWindow& opened : std::as_const(m_opened)) {
        opened.page->disconnect(this);
        opened.page->triggerAction(QWebEnginePage::Stop);
        opened.page->deleteLater();
    }
    m_opened.clear();
    for (auto it = m_places.begin(); it != m_places.end();) {
        if (it->window != 0) {
            m_texts.remove(it.key());
            m_httpStatuses.remove(it.key());
            it = m_places.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = m_frames.begin(); it != m_frames.end();) {
        if (!it.key().startsWith(QLatin1String("0:")))
            it = m_frames.erase(it);
        else
            ++it;
    }
}

int WebEngineBrowser::windowNumber(BridgePage* page) const
{
    if (page == m_page)
        return 0;
    for (auto it = m_opened.cbegin(); it != m_opened.cend(); ++it) {
        if (it->page == page)
            return it.key();
    }
    return -1;
}

void WebEngineBrowser::dialogShown(BridgePage* page, const QString& text)
{
    const int window = windowNumber(page);
    if (window < 0)
        return;
    qCDebug(lcBrowser, "window %d shows a dialog: %s", window, qPrintable(text));
    Report report;
    report.kind = ReportKind::Dialog;
    report.window = window;
    report.text = text;
    report.hasCopy = true;
    m_events.enqueue(report);
    // The page waits for the dialog's answer meanwhile; the engine hears of it once the answer is given.
    QMetaObject::invokeMethod(this, &WebEngineBrowser::pump, Qt::QueuedConnection);
}

void WebEngineBrowser::requestStarted(const QString& url, bool frameLoad)
{
    if (frameLoad)
        ++m_frameLoads;
    else
        ++m_requests[url];
    notifyActivity();
}

void WebEngineBrowser::notifyActivity()
{
    // Copied, so that the handler may be replaced while it runs.
    const auto handler = m_activity;
    if (handler)
        handler();
}

void WebEngineBrowser::startOver()
{
    m_events.clear();
    m_waitingForCopy = false;
    m_waitingForLoadEnd = false;
    ++m_generation;
    m_awaitingTop = true;
    m_pageId.clear();
}

void WebEngineBrowser::Navigate(const QString& address)
{
    qCDebug(lcBrowser, "Navigate %s", qPrintable(traceAddress(address)));
    applySteps();
    startOver();
    closeOpenedWindows();
    m_requests.clear();
    m_frameLoads = 0;
    m_document.reset();
    m_navigatedAt = double(QDateTime::currentMSecsSinceEpoch());
    m_requested = QUrl(address);
    m_reloads = 0;
    if (m_requested.isValid() && !m_requested.isRelative()) {
        // A page the engine leaves may still be moving on by itself (a history.back() after its alert, a
        // refresh): its navigations stop here, and with no history left none can come back over this load.
        m_page->triggerAction(QWebEnginePage::Stop);
        m_page->history()->clear();
        m_page->load(m_requested);
        return;
    }
    // Nothing can be loaded from that address; like every failed load it completes without a document.
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, address] {
        if (generation == m_generation)
            failedLoad(address);
    });
}

void WebEngineBrowser::Stop()
{
    applySteps();
    startOver();
    m_page->triggerAction(QWebEnginePage::Stop);
}

std::shared_ptr<PageDocument> WebEngineBrowser::Document()
{
    return m_document;
}

FrameRef WebEngineBrowser::Window(const QList<int>& path)
{
    return frameFor(path);
}

int WebEngineBrowser::HttpStatus(FrameRef window) const
{
    return m_httpStatuses.value(window.id());
}

namespace {
bool startsWith(const QList<int>& path, const QList<int>& prefix)
{
    return path.size() >= prefix.size() && path.mid(0, prefix.size()) == prefix;
}
} // namespace

QString WebEngineBrowser::WindowText(FrameRef window) const
{
    const auto outer = m_places.constFind(window.id());
    if (outer == m_places.cend())
        return QString();
    QList<std::pair<QList<int>, QString>> parts;
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it) {
        const WindowPlace place = m_places.value(it.key());
        if (place.window == outer->window && startsWith(place.path, outer->path))
            parts.append({ place.path, it.value() });
    }
    std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList texts;
    for (const auto& part : std::as_const(parts))
        texts << part.second;
    return texts.join(QLatin1Char('\n'));
}

bool WebEngineBrowser::Contains(FrameRef outer, FrameRef inner) const
{
    if (outer == inner)
        return !outer.isEmpty();
    const auto a = m_places.constFind(outer.id());
    const auto b = m_places.constFind(inner.id());
    return a != m_places.cend() && b != m_places.cend() && a->window == b->window && startsWith(b->path, a->path);
}

bool WebEngineBrowser::Waiting() const
{
    if (m_topLoading || m_frameLoads > 0 || !m_requests.isEmpty())
        return true;
    for (const OpenedWindow& opened : m_opened) {
        if (opened.loading)
            return true;
    }
    return false;
}

void WebEngineBrowser::forgetTexts(int window, const QList<int>& path)
{
    for (auto it = m_texts.begin(); it != m_texts.end();) {
        const WindowPlace place = m_places.value(it.key());
        if (place.window == window && startsWith(place.path, path))
            it = m_texts.erase(it);
        else
            ++it;
    }
}

QWidget* WebEngineBrowser::pageView(QWidget* parent)
{
    // The engine never needs pictures; a person may (a word to type is often one). Those of the page shown
    // are asked for again, in every frame the top page can reach.
    setShownToPerson(true);
    m_page->runJavaScript(
        QStringLiteral("(function reload(w) {"
                       "  try {"
                       "    for (const img of w.document.images) { const a = img.src; img.src = ''; img.src = a; }"
                       "    for (let i = 0; i < w.frames.length; ++i) reload(w.frames[i]);"
                       "  } catch (e) {}"
                       "})(window)"),
        kBridgeWorld);
    auto* view = new QWebEngineView(parent);
    view->setPage(m_page);
    // The page goes on without the view, as the engine's again.
    connect(view, &QObject::destroyed, this, [this] { setShownToPerson(false); });
    return view;
}

void WebEngineBrowser::setShownToPerson(bool shown)
{
    if (!m_page)
        return;
    m_page->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, shown);
    m_page->shownToPerson = shown;
}

void WebEngineBrowser::loadingChanged(const QWebEngineLoadingInfo& info)
{
    qCDebug(lcBrowser, "top-level load of %s: status %d, domain %d, code %d", qPrintable(traceAddress(info.url())),
        int(info.status()), int(info.errorDomain()), info.errorCode());
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_topLoading = true;
        m_topHttpStatus = 0;
        m_topLoadError.clear();
    } else {
        m_topLoading = false;
        m_topLoadUrl = info.url();
        m_topHttpStatus = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain ? info.errorCode() : 0;
        if (m_waitingForLoadEnd) {
            m_waitingForLoadEnd = false;
            pump();
        }
    }
    notifyActivity();
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus
        && info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() < 0
        && info.errorCode() != kLoadAborted)
        m_topLoadError = info.errorString().isEmpty() ? QStringLiteral("error %1").arg(info.errorCode())
                                                      : info.errorString();
    // An HTTP error page (404, 500) is a page of the site's like any other; a load replaced by a newer one
    // or stopped (no network error code, or "aborted") is no failure; and where the browser shows its error
    // page, that page's own reports say that the load completed without a page of the site's.
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || info.isErrorPage()
        || info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain || info.errorCode() >= 0
        || info.errorCode() == kLoadAborted)
        return;
    qCDebug(lcBrowser, "load of %s failed: %s (domain %d, code %d)", qPrintable(traceAddress(info.url())),
        qPrintable(info.errorString()), int(info.errorDomain()), info.errorCode());
    // Queued, since the page may say so from inside load().
    const quint64 generation = m_generation;
    const QString address = info.url().toString();
    QTimer::singleShot(0, this, [this, generation, address] {
        if (generation == m_generation)
            failedLoad(address);
    });
}

void WebEngineBrowser::failedLoad(const QString& address)
{
    // The top-level window navigated and completed, at an address that is not the one asked for, with no
    // page of the site's to work on.
    m_awaitingTop = false;
    m_pageId.clear();
    Report navigated;
    navigated.address = kErrorPageScheme + QStringLiteral("//") + address;
    Report completed = navigated;
    completed.kind = ReportKind::Document;
    completed.hasCopy = true;
    completed.noPage = true;
    m_events.enqueue(navigated);
    m_events.enqueue(completed);
    pump();
}

void WebEngineBrowser::pageLost()
{
    // The next Navigate runs on a fresh page, in a fresh renderer; the cookies of the profile stay.
    m_page->disconnect(this);
    m_page->deleteLater();
    makePage();
    m_steps = QJsonArray();
    startOver();
    closeOpenedWindows();
    m_frames.clear();
    m_places.clear();
    m_texts.clear();
    m_document.reset();
    if (m_pageLost) {
        const auto handler = m_pageLost;
        handler();
    }
}

bool WebEngineBrowser::accepts(const Report& report, const QJsonObject& fields)
{
    const QString pageId = fields.value(QLatin1String("page")).toString();
    if (!report.path.isEmpty() || report.kind != ReportKind::Navigate) {
        // Until the new top-level document reports, every report comes from a page the engine has left;
        // after, only those of its own frames count (a frame of another origin cannot say which page holds it).
        if (m_awaitingTop)
            return false;
        return pageId.isEmpty() || pageId == m_pageId;
    }
    // A new top-level document: the one Navigate asked for, unless it was made before Navigate, or is the
    // blank page that ended the previous attempt. Once that one has reported, the page may go on to others
    // of its own (a form it submits, a redirect by script).
    if (fields.value(QLatin1String("created")).toDouble() + kClockMargin < m_navigatedAt)
        return false;
    if (m_awaitingTop && report.address == QLatin1String("about:blank") && m_requested != QUrl(report.address))
        return false;
    if (m_awaitingTop && !fields.value(QLatin1String("referrer")).toString().isEmpty()) {
        // A navigation that the page the engine has left started (a form its last step submitted, whose
        // request reached the browser after Navigate's) has replaced the one asked for: ask again.
        if (m_reloads++ < kMaxReloads) {
            qCDebug(lcBrowser, "%s replaced the load of %s", qPrintable(traceAddress(report.address)),
                qPrintable(traceAddress(m_requested)));
            const quint64 generation = m_generation;
            QTimer::singleShot(0, this, [this, generation] {
                if (generation == m_generation)
                    m_page->load(m_requested);
            });
        }
        return false;
    }
    m_awaitingTop = false;
    m_pageId = pageId;
    return true;
}

void WebEngineBrowser::bridgeMessage(BridgePage* page, const QString& message)
{
    if (!message.startsWith(m_token))
        return;
    const int window = windowNumber(page);
    if (window < 0)
        return;
    const QJsonObject fields = QJsonDocument::fromJson(message.mid(m_token.size()).toUtf8()).object();
    const QString kind = fields.value(QLatin1String("kind")).toString();
    if (kind == QLatin1String("request")) {
        const QString url = QUrl(fields.value(QLatin1String("request")).toString())
                                .adjusted(QUrl::RemoveFragment)
                                .toString(QUrl::FullyEncoded);
        auto it = m_requests.find(url);
        if (it != m_requests.end() && --it.value() <= 0)
            m_requests.erase(it);
        notifyActivity();
        return;
    }
    Report report;
    report.kind = kind == QLatin1String("document") ? ReportKind::Document
        : kind == QLatin1String("text")             ? ReportKind::Text
                                                    : ReportKind::Navigate;
    report.window = window;
    for (const auto& step : fields.value(QLatin1String("frame")).toArray())
        report.path << step.toInt();
    report.address = fields.value(QLatin1String("url")).toString();
    report.httpStatus = fields.value(QLatin1String("status")).toInt();
    const QJsonValue text = fields.value(QLatin1String("text"));
    report.hasText = text.isString();
    report.text = text.toString();
    qCDebug(lcBrowser, "window %d: %s %s %s", window, qPrintable(kind), qPrintable(pathText(report.path)),
        qPrintable(traceAddress(report.address)));

    // A window that shows the browser's own page for a failed load holds no page of the site's.
    const bool errorPage = report.address.startsWith(kErrorPageScheme);
    if (window != 0) {
        // A window the page opened holds no copy: the engine reads only its text.
        report.noPage = errorPage;
        report.hasCopy = true;
        m_events.enqueue(report);
        pump();
        return;
    }
    if (!accepts(report, fields))
        return;
    const QJsonValue copy = fields.value(QLatin1String("copy"));
    report.noPage = errorPage;
    report.hasCopy = copy.isObject() || errorPage;
    report.copy = copy.toObject();
    m_events.enqueue(report);
    pump();
}

void WebEngineBrowser::pump()
{
    // Events are handed over one at a time and in order; a load whose copy must be fetched first holds back
    // the events behind it.
    if (m_delivering || m_waitingForCopy || m_waitingForLoadEnd)
        return;
    m_delivering = true;
    while (!m_events.isEmpty() && !m_waitingForCopy && !m_waitingForLoadEnd) {
        Report& next = m_events.head();
        const bool document = next.kind == ReportKind::Document && next.window == 0;
        if (document && next.path.isEmpty() && !next.noPage && m_topLoading) {
            m_waitingForLoadEnd = true;
            const quint64 generation = m_generation;
            QTimer::singleShot(kLoadEndWaitMs, this, [this, generation] {
                if (generation != m_generation || !m_waitingForLoadEnd)
                    return;
                qCDebug(lcBrowser, "the page's load did not end; its document is handed over without a status");
                m_topLoading = false;
                m_waitingForLoadEnd = false;
                pump();
            });
            break;
        }
        if (document && !next.hasCopy) {
            // A frame of another origin than the top page's: the top page gives the copy.
            m_waitingForCopy = true;
            const quint64 generation = m_generation;
            m_page->runJavaScript(QStringLiteral("window.__zelkoraSnapshot ? window.__zelkoraSnapshot() : null"),
                kBridgeWorld, [this, generation](const QVariant& result) {
                    if (generation != m_generation)
                        return;
                    // A copy that cannot be made leaves the load without a document.
                    m_events.head().copy = QJsonDocument::fromJson(result.toString().toUtf8()).object();
                    m_events.head().hasCopy = true;
                    m_waitingForCopy = false;
                    pump();
                });
            break;
        }
        const Report report = m_events.dequeue();
        deliver(report);
        applySteps();
    }
    m_delivering = false;
}

void WebEngineBrowser::deliver(const Report& report)
{
    if (report.kind == ReportKind::Navigate && report.path.isEmpty() && report.window == 0) {
        // A new top-level page: the frames of the old one are gone.
        for (auto it = m_frames.begin(); it != m_frames.end();) {
            if (it.key().startsWith(QLatin1String("0:"))) {
                m_places.remove(it.value());
                m_texts.remove(it.value());
                m_httpStatuses.remove(it.value());
                it = m_frames.erase(it);
            } else {
                ++it;
            }
        }
        m_httpStatuses.remove(frameFor({}).id());
    }
    const FrameRef frame = frameFor(report.path, report.window);
    // Copied, so that a handler may rebind the event while it runs.
    FrameEvent handler;
    QString argument = report.address;
    switch (report.kind) {
    case ReportKind::Navigate:
        forgetTexts(report.window, report.path);
        if (!report.path.isEmpty() && m_frameLoads > 0)
            --m_frameLoads;
        handler = m_navigateComplete;
        break;
    case ReportKind::Document: {
        int status = report.httpStatus;
        if (status == 0 && report.window != 0 && report.path.isEmpty())
            status = m_opened.value(report.window).httpStatus;
        if (status == 0 && report.window == 0 && report.path.isEmpty()
            && m_topLoadUrl.adjusted(QUrl::RemoveFragment) == QUrl(report.address).adjusted(QUrl::RemoveFragment))
            status = m_topHttpStatus;
        m_httpStatuses.insert(frame.id(), status);
        if (report.hasText)
            m_texts.insert(frame.id(), report.text);
        else
            m_texts.remove(frame.id());
        if (report.window == 0)
            setDocument(report);
        handler = m_documentComplete;
        break;
    }
    case ReportKind::Text:
        m_texts.insert(frame.id(), report.text);
        handler = m_textChanged;
        break;
    case ReportKind::Dialog:
        handler = m_dialogShown;
        argument = report.text;
        break;
    case ReportKind::Opened:
        handler = m_windowOpened;
        break;
    }
    if (handler)
        handler(frame, argument);
}

FrameRef WebEngineBrowser::frameFor(const QList<int>& path, int window)
{
    if (path.isEmpty()) {
        if (window != 0)
            return FrameRef(m_opened.value(window).top);
        m_places.insert(1, WindowPlace { 0, {} });
        return FrameRef(1);
    }
    const QString key = QString::number(window) + QLatin1Char(':') + pathText(path);
    auto it = m_frames.find(key);
    if (it == m_frames.end()) {
        it = m_frames.insert(key, m_nextFrameId++);
        m_places.insert(it.value(), WindowPlace { window, path });
    }
    return FrameRef(it.value());
}

void WebEngineBrowser::setDocument(const Report& report)
{
    // Never the previous page's document: a load without a copy has none.
    if (report.noPage || report.copy.isEmpty())
        m_document.reset();
    else
        m_document = std::make_shared<SnapshotDocument>(report.copy, m_sink);
}

void WebEngineBrowser::applySteps()
{
    if (m_steps.isEmpty())
        return;
    const QString steps = QString::fromUtf8(QJsonDocument(m_steps).toJson(QJsonDocument::Compact));
    const int count = m_steps.size();
    m_steps = QJsonArray();
    m_page->runJavaScript(QStringLiteral("window.__zelkoraApply ? window.__zelkoraApply(%1) : null").arg(steps),
        kBridgeWorld, [count](const QVariant& result) {
            if (!result.isValid() || result.isNull()) {
                qCWarning(lcBrowser, "%d change(s) to the page were not made: the page has gone", count);
                return;
            }
            for (const QVariant& failure : result.toList())
                qCWarning(lcBrowser, "a change to the page was not made: %s", qPrintable(failure.toString()));
        });
}
