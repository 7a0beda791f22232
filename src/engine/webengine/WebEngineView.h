#pragma once

#include "engine/IWebBrowser.h"

#include <QWebEngineView>

class QWebEngineProfile;
class ViewPage;

// The browser the user sees: a Qt WebEngine view on a page of its own, in an off-the-record profile of its
// own, with the caller's script in every frame.
class WebEngineView : public QWebEngineView, public IBrowserView
{
    Q_OBJECT
public:
    explicit WebEngineView(QWidget* parent);
    ~WebEngineView() override;

    QWidget* widget() override { return this; }
    void setPageScript(const QString& source) override;
    void runScript(const QString& source, std::function<void(const QVariant&)> done) override;
    void load(const QString& address) override;
    void back() override;
    void reload() override;
    QString address() const override;

    // Called by the page for every console message of every frame.
    void consoleMessage(const QString& message);

private:
    QWebEngineProfile* m_profile = nullptr;
    ViewPage* m_page = nullptr;
    QString m_token;
};
