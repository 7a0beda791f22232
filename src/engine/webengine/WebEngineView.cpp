#include "WebEngineView.h"

#include "ChromiumSetup.h"

#include <QRandomGenerator>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {
// The caller's script runs beside the sites' scripts but apart from them, and apart from the engine's.
constexpr quint32 kScriptWorld = QWebEngineScript::UserWorld + 1;
} // namespace

class ViewPage : public QWebEnginePage
{
public:
    ViewPage(QWebEngineProfile* profile, WebEngineView* view)
        : QWebEnginePage(profile, view)
        , m_view(view)
    {
    }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int, const QString&) override
    {
        m_view->consoleMessage(message);
    }
    // A link or a form aimed at a new window opens here: everything the user does stays in view.
    QWebEnginePage* createWindow(WebWindowType) override { return this; }

private:
    WebEngineView* m_view;
};

WebEngineView::WebEngineView(QWidget* parent)
    : QWebEngineView(parent)
{
    ChromiumSetup::prepare();
    m_token
        = QStringLiteral("zelkora-view-%1:").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_page = new ViewPage(m_profile, this);
    setPage(m_page);

    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (m_addressChanged)
            m_addressChanged(url.toString());
    });
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        if (m_loadProgress)
            m_loadProgress(0);
    });
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int percent) {
        if (m_loadProgress)
            m_loadProgress(percent);
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        if (m_loadProgress)
            m_loadProgress(100);
    });
}

WebEngineView::~WebEngineView()
{
    m_message = nullptr;
    m_addressChanged = nullptr;
    m_loadProgress = nullptr;
    // The page must go before its profile.
    setPage(nullptr);
    delete m_page;
    m_page = nullptr;
}

void WebEngineView::setPageScript(const QString& source)
{
    QWebEngineScript script;
    script.setName(QStringLiteral("zelkora-view-script"));
    script.setSourceCode(QString(source).replace(QLatin1String("@TOKEN@"), m_token));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(true);
    script.setWorldId(kScriptWorld);
    QWebEngineScriptCollection& scripts = m_page->scripts();
    for (const QWebEngineScript& old : scripts.find(script.name()))
        scripts.remove(old);
    scripts.insert(script);
}

void WebEngineView::runScript(const QString& source, std::function<void(const QVariant&)> done)
{
    m_page->runJavaScript(source, kScriptWorld, [done = std::move(done)](const QVariant& result) {
        if (done)
            done(result);
    });
}

void WebEngineView::load(const QString& address)
{
    QWebEngineView::load(QUrl::fromUserInput(address));
}

void WebEngineView::back()
{
    QWebEngineView::back();
}

void WebEngineView::reload()
{
    QWebEngineView::reload();
}

QString WebEngineView::address() const
{
    return m_page->url().toString();
}

void WebEngineView::consoleMessage(const QString& message)
{
    if (!message.startsWith(m_token) || !m_message)
        return;
    const Handler handler = m_message;
    handler(message.mid(m_token.size()));
}
