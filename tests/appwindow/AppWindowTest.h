#pragma once

// What the main window's tests share: a browser that loads nothing, a prompt that answers as told, and
// a main window made offscreen without the browser library.

#include "app/TMsgForm.h"
#include "common/ErrorReport.h"
#include "common/UserPrompt.h"
#include "engine/IWebBrowser.h"
#include "sending/SendWorkflow.h"
#include "session/ServiceConnection.h"

#include <QStringList>

#include <memory>

namespace AppWindowTest {
// Records navigations; no page ever completes, so an attempt stays where it was put.
class FakeBrowser : public IWebBrowser
{
public:
    void Navigate(const QString& address) override { navigations.append(address); }
    void Stop() override { ++stops; }
    std::shared_ptr<PageDocument> Document() override { return nullptr; }
    FrameRef Window(const QList<int>&) override { return FrameRef(1); }

    QStringList navigations;
    int stops = 0;
};

inline TSMSBaseForm::BrowserMaker fakeBrowserMaker()
{
    return [](QObject*) { return std::make_unique<FakeBrowser>(); };
}

// Answers every question with `answer` and keeps what was asked and told.
class ScriptedPrompt : public UserPrompt
{
public:
    ScriptedPrompt() { UserPrompt::install(this); }
    ~ScriptedPrompt() override { UserPrompt::install(nullptr); }
    void information(const QString& text) override { told.append(text); }
    bool question(const QString& text) override
    {
        asked.append(text);
        return answer;
    }

    bool answer = true;
    QStringList asked;
    QStringList told;
};

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
