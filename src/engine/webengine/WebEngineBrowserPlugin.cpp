#include "WebEngineBrowserPlugin.h"

#include "WebEngineBrowser.h"

IWebBrowser* WebEngineBrowserPlugin::createBrowser(QObject* parent)
{
    return new WebEngineBrowser(parent);
}
