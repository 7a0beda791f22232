#pragma once

// What the main window's tests share: a browser that loads nothing, a prompt that answers as told, and
// a main window made offscreen without the browser library.

#include "FakeBrowser.h"
#include "ScriptedPrompt.h"
#include "app/TMsgForm.h"
#include "common/ErrorReport.h"
#include "common/UserPrompt.h"
#include "engine/IWebBrowser.h"
#include "sending/SendWorkflow.h"
#include "session/ServiceConnection.h"

#include <QStringList>

#include <memory>

namespace AppWindowTest {
inline TSMSBaseForm::BrowserMaker fakeBrowserMaker()
{
    return [](QObject*) { return std::make_unique<FakeBrowser>(); };
}

// Keeps the texts that reached the general error report.
class ErrorCollector
{
public:
    ErrorCollector()
    {
        m_previous = ErrorReport::setHandler([this](const QString& text) { errors.append(text); });
    }
    ~ErrorCollector() { ErrorReport::setHandler(m_previous); }
    QStringList errors;

private:
    ErrorReport::Handler m_previous;
};

inline std::unique_ptr<TMsgForm> makeForm(THiddenForm* hiddenForm = nullptr)
{
    return std::make_unique<TMsgForm>(TMsgForm::Options { hiddenForm, fakeBrowserMaker() });
}
} // namespace AppWindowTest
