// A browser library that claims an old Chromium, so that the start-up check can be seen refusing it.
#include "engine/IWebBrowser.h"

#include <QObject>

class OldBrowserPlugin : public QObject, public BrowserFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZelkoraBrowserFactory_iid FILE "oldbrowser.json")
    Q_INTERFACES(BrowserFactory)
public:
    IWebBrowser* createBrowser(QObject*) override { return nullptr; }
    IBrowserView* createView(QWidget*) override { return nullptr; }
};

#include "OldBrowserPlugin.moc"
