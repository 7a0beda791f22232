#include "WebEngineBrowserPlugin.h"

#include "WebEngineBrowser.h"
#include "WebEngineView.h"

IWebBrowser* WebEngineBrowserPlugin::createBrowser(QObject* parent)
{
    return new WebEngineBrowser(parent);
}

IBrowserView* WebEngineBrowserPlugin::createView(QWidget* parent)
{
    return new WebEngineView(parent);
}
