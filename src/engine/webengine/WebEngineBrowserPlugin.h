#pragma once

#include "engine/IWebBrowser.h"

#include <QObject>

class WebEngineBrowserPlugin : public QObject, public BrowserFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZelkoraBrowserFactory_iid FILE "browser.json")
    Q_INTERFACES(BrowserFactory)
public:
    IWebBrowser* createBrowser(QObject* parent) override;
    IBrowserView* createView(QWidget* parent) override;
};
