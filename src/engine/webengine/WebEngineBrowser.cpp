#include "WebEngineBrowser.h"

#include "SnapshotDocument.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <unistd.h>

namespace
{
    // The bridge runs in a world of its own: the sites' scripts share the page but not its variables.
    constexpr quint32 kBridgeWorld = QWebEngineScript::ApplicationWorld;
    constexpr double kClockMargin = 20.0;

    QString pathText(const QList<int>& path)
    {
        QStringList parts;
        for (int i : path)
            parts << QString::number(i);
        return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
    }

    // Chromium must be told before its first use: as root its own sandbox cannot run, and this program has
    // no business with the browser's background services.
    void prepareChromium()
    {
        static bool done = false;
        if (done)
            return;
        done = true;
        if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        flags += " --disable-background-networking --disable-component-update --disable-sync"
                 " --no-first-run --disable-quic --disable-breakpad";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
        // Without a display Chromium renders nothing, which is all this page needs; its report of the
        // graphics set-up would only alarm the user.
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
            QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
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
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override
    {
        m_browser->bridgeMessage(message);
    }
    bool javaScriptConfirm(const QUrl&, const QString&) override { return true; }
    void javaScriptAlert(const QUrl&, const QString&) override {}

private:
    WebEngineBrowser* m_browser;
};

WebEngineBrowser::WebEngineBrowser(QObject* parent)
    : QObject(parent)
{
    prepareChromium();
    m_token = QStringLiteral("\x01zelkora-%1:").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));

    // An off-the-record profile: cookies and cache live in memory and end with the program.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_page = new BridgePage(m_profile, this);
    QWebEngineSettings* settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);

    QFile source(QStringLiteral(":/zelkora-browser/bridge.js"));
    source.open(QIODevice::ReadOnly);
    QWebEngineScript bridge;
    bridge.setName(QStringLiteral("zelkora-bridge"));
    bridge.setSourceCode(QString::fromUtf8(source.readAll()).replace(QLatin1String("@TOKEN@"), m_token.mid(1)));
    bridge.setInjectionPoint(QWebEngineScript::DocumentCreation);
    bridge.setRunsOnSubFrames(true);
    bridge.setWorldId(kBridgeWorld);
    m_page->scripts().insert(bridge);
    m_token = m_token.mid(1);

    auto sink = [this](const QString& statement) { queueStatement(statement); };
    m_sink = std::make_shared<const std::function<void(const QString&)>>(sink);
}

WebEngineBrowser::~WebEngineBrowser()
{
    m_navigateComplete = nullptr;
    m_documentComplete = nullptr;
    // The page must go before its profile.
    delete m_page;
    m_page = nullptr;
}

void WebEngineBrowser::Navigate(const QString& address)
{
    static const bool trace = qEnvironmentVariableIsSet("ZELKORA_BROWSER_TRACE");
    if (trace)
        qInfo("browser: Navigate %s", qPrintable(address));
    m_navigatedAt = double(QDateTime::currentMSecsSinceEpoch());
    flushStatements();
    m_page->load(QUrl(address));
}

void WebEngineBrowser::Stop()
{
    flushStatements();
    m_page->triggerAction(QWebEnginePage::Stop);
}

std::shared_ptr<PageDocument> WebEngineBrowser::Document()
{
    return m_document;
}

void WebEngineBrowser::bridgeMessage(const QString& message)
{
    if (!message.startsWith(m_token))
        return;
    const QJsonObject report = QJsonDocument::fromJson(message.mid(m_token.size()).toUtf8()).object();
    static const bool trace = qEnvironmentVariableIsSet("ZELKORA_BROWSER_TRACE");
    const double started = report.value(QLatin1String("t")).toDouble();
    if (trace)
        qInfo("browser: %s %s %s (%+.1f ms)", qPrintable(report.value(QLatin1String("k")).toString()),
              QJsonDocument(report.value(QLatin1String("p")).toArray()).toJson(QJsonDocument::Compact).constData(),
              qPrintable(report.value(QLatin1String("u")).toString()), started - m_navigatedAt);
    // A document whose navigation began before the last Navigate belongs to a load that Navigate replaced
    // (a frame of a cancelled attempt, the blank page that ended it); its late reports must not reach the
    // new attempt. The two clocks are read in different processes, hence the margin.
    if (started > 0 && started + kClockMargin < m_navigatedAt)
        return;
    Event event;
    event.document = report.value(QLatin1String("k")).toString() == QLatin1String("doc");
    for (const QJsonValue& step : report.value(QLatin1String("p")).toArray())
        event.path << step.toInt();
    event.address = report.value(QLatin1String("u")).toString();
    const QJsonValue copy = report.value(QLatin1String("s"));
    event.hasCopy = copy.isObject();
    event.copy = copy.toObject();
    m_events.enqueue(event);
    pump();
}

void WebEngineBrowser::pump()
{
    // Events are handed over one at a time and in order; a load whose copy must be fetched first holds back
    // the events behind it.
    if (m_delivering || m_waitingForCopy)
        return;
    m_delivering = true;
    while (!m_events.isEmpty() && !m_waitingForCopy) {
        Event& next = m_events.head();
        if (next.document && !next.hasCopy) {
            m_waitingForCopy = true;
            m_page->runJavaScript(
                QStringLiteral("window.__zelkoraSnapshot ? window.__zelkoraSnapshot() : null"), kBridgeWorld,
                [this](const QVariant& result) {
                    if (!m_events.isEmpty()) {
                        m_events.head().copy = QJsonDocument::fromJson(result.toString().toUtf8()).object();
                        m_events.head().hasCopy = true;
                    }
                    m_waitingForCopy = false;
                    pump();
                });
            break;
        }
        const Event event = m_events.dequeue();
        deliver(event);
        flushStatements();
    }
    m_delivering = false;
}

void WebEngineBrowser::deliver(const Event& event)
{
    if (!event.document && event.path.isEmpty()) {
        // A new top-level page: the frames of the old one are gone.
        m_frames.clear();
    }
    const FrameRef frame = frameFor(event.path);
    if (event.document) {
        setDocument(event.copy);
        // Copied, so that a handler may rebind the event while it runs.
        const FrameEvent handler = m_documentComplete;
        if (handler)
            handler(frame, event.address);
    } else {
        const FrameEvent handler = m_navigateComplete;
        if (handler)
            handler(frame, event.address);
    }
}

FrameRef WebEngineBrowser::frameFor(const QList<int>& path)
{
    if (path.isEmpty())
        return FrameRef(1);
    const QString key = pathText(path);
    auto it = m_frames.find(key);
    if (it == m_frames.end())
        it = m_frames.insert(key, m_nextFrameId++);
    return FrameRef(it.value());
}

void WebEngineBrowser::setDocument(const QJsonObject& copy)
{
    if (copy.isEmpty())
        return;
    m_document = std::make_shared<SnapshotDocument>(copy, QStringLiteral("[]"), m_sink);
}

void WebEngineBrowser::queueStatement(const QString& statement)
{
    m_statements << statement;
}

void WebEngineBrowser::flushStatements()
{
    if (m_statements.isEmpty())
        return;
    // Each statement stands alone: one that fails (a control the page has removed since its copy was taken)
    // does not keep the later ones from running.
    QString script = QStringLiteral("(function(){function zkDoc(p){let w=window;for(const i of p)w=w.frames[i];"
                                    "return w.document;}\n");
    for (const QString& statement : std::as_const(m_statements))
        script += QStringLiteral("try{") + statement + QStringLiteral(";}catch(e){}\n");
    script += QStringLiteral("})();");
    m_statements.clear();
    m_page->runJavaScript(script, kBridgeWorld);
}
