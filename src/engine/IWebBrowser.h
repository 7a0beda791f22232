#pragma once

#include "PageDocument.h"

#include <QList>
#include <QString>
#include <QtPlugin>
#include <functional>
#include <memory>

class QObject;
class QVariant;
class QWidget;

// The identity of one browser window (the top-level window or a frame). The same window gives the same
// reference in the navigate-complete and document-complete events and throughout one load; a frame of a
// page that has been replaced never matches a later one. An empty reference matches nothing.
class FrameRef
{
public:
    FrameRef() = default;
    explicit FrameRef(quint64 id)
        : m_id(id)
    {
    }
    bool isEmpty() const { return m_id == 0; }
    quint64 id() const { return m_id; }
    void clear() { m_id = 0; }
    bool operator==(const FrameRef& other) const { return m_id == other.m_id; }
    bool operator!=(const FrameRef& other) const { return m_id != other.m_id; }

private:
    quint64 m_id = 0;
};

// The embedded browser as the engine sees it. Events arrive on the user-interface thread through the event
// loop, never from inside Navigate or Stop.
class IWebBrowser
{
public:
    using FrameEvent = std::function<void(FrameRef frame, const QString& address)>;

    virtual ~IWebBrowser() = default;

    // Starts loading the address in the top-level window and returns at once.
    virtual void Navigate(const QString& address) = 0;
    // Ends any loading in progress.
    virtual void Stop() = 0;
    // The top-level window's current document, or null when there is none.
    virtual std::shared_ptr<PageDocument> Document() = 0;
    // The window at `path` of the current page: frame numbers from the top-level window down, none for the
    // top-level window itself. Its events carry this reference from now until the page is replaced.
    virtual FrameRef Window(const QList<int>& path) = 0;
    // The HTTP status with which the window's document last completed: 0 when the browser cannot tell (a
    // frame, on a browser that reports statuses only for the top-level page).
    virtual int HttpStatus(FrameRef window) const
    {
        Q_UNUSED(window)
        return 0;
    }

    // Why the top-level window's last load brought no page of the site's (the network's error, as "connection
    // refused"); empty when it brought one, or when the browser cannot tell.
    virtual QString LoadError() const { return QString(); }

    // The displayed text of the window and of every frame inside it, at any depth and of any origin, as
    // their documents last showed it (script changes included), in document order; empty when none.
    virtual QString WindowText(FrameRef window) const
    {
        Q_UNUSED(window)
        return QString();
    }
    // Whether `inner` is `outer` itself or a frame inside it, at any depth.
    virtual bool Contains(FrameRef outer, FrameRef inner) const { return outer == inner; }
    // Whether the pages still wait for something their site may answer: a load of a window or a request of
    // their scripts (fetch, XMLHttpRequest) that has started and not yet ended.
    virtual bool Waiting() const { return false; }

    // A widget of `parent`'s that shows this browser's own page (the same page, the same cookies) to a person,
    // who reads, types and clicks in it while the events go on as before. The page stays the browser's and
    // goes on when the widget is deleted. Null when this browser cannot show its page.
    virtual QWidget* pageView(QWidget* parent)
    {
        Q_UNUSED(parent)
        return nullptr;
    }

    // Raised when a navigation of the top-level window or of one of its frames has completed.
    void setNavigateComplete(FrameEvent handler) { m_navigateComplete = std::move(handler); }
    // Raised once for each window whose document has finished loading, last for the window whose navigation
    // started the load. One handler at a time; an empty handler drops the event.
    void setDocumentComplete(FrameEvent handler) { m_documentComplete = std::move(handler); }
    FrameEvent documentComplete() const { return m_documentComplete; }
    // Raised when a window's displayed text changed without a load of its own: its scripts wrote it.
    void setTextChanged(FrameEvent handler) { m_textChanged = std::move(handler); }
    // Raised when a page put up an alert, a question or a prompt, with its text. Nobody sees the engine's
    // pages: the browser has answered it as a person pressing OK would (the question yes, the prompt with
    // its proposed answer).
    void setDialogShown(FrameEvent handler) { m_dialogShown = std::move(handler); }
    // Raised when a page opened a window of its own (a form or link sent into "_blank" or into a window name
    // that no window has, window.open): `window` is its top-level window, a real one of the same session
    // (the same cookies), never shown, whose events follow from then on. It closes at the next Navigate.
    void setWindowOpened(FrameEvent handler) { m_windowOpened = std::move(handler); }
    // Raised when a load or a script's request started or ended (Waiting() may have changed).
    void setActivity(std::function<void()> handler) { m_activity = std::move(handler); }
    // Raised when the page itself is lost (its renderer process crashed or was killed): no load in progress
    // will complete. The next Navigate runs on a fresh page.
    void setPageLost(std::function<void()> handler) { m_pageLost = std::move(handler); }

protected:
    FrameEvent m_navigateComplete;
    FrameEvent m_documentComplete;
    FrameEvent m_textChanged;
    FrameEvent m_dialogShown;
    FrameEvent m_windowOpened;
    std::function<void()> m_activity;
    std::function<void()> m_pageLost;
};

// A browser the user sees and works in, with a script of the caller's in every frame of every page it shows.
// Its cookies and cache live in memory and end with it.
class IBrowserView
{
public:
    using Handler = std::function<void(const QString& text)>;

    virtual ~IBrowserView() = default;

    // The widget that shows the page; its parent owns it, and this object ends with it.
    virtual QWidget* widget() = 0;

    // Runs `source` in a world of its own, in every frame, from each document's creation. In the source,
    // @TOKEN@ stands for a secret of this view's: what the script writes to its console after the token
    // reaches the message handler, and nothing else does. Set before the first load.
    virtual void setPageScript(const QString& source) = 0;
    // Runs `source` in the page script's world of the top-level document; `done` receives its value.
    virtual void runScript(const QString& source, std::function<void(const QVariant&)> done) = 0;

    virtual void load(const QString& address) = 0;
    virtual void back() = 0;
    virtual void reload() = 0;
    // The top-level document's address.
    virtual QString address() const = 0;

    void setMessageHandler(Handler handler) { m_message = std::move(handler); }
    // The address shown changed (a load, a link, a form).
    void setAddressChanged(Handler handler) { m_addressChanged = std::move(handler); }
    // A load of the top-level page started (0) or went on (up to 100).
    void setLoadProgress(std::function<void(int percent)> handler) { m_loadProgress = std::move(handler); }

protected:
    Handler m_message;
    Handler m_addressChanged;
    std::function<void(int)> m_loadProgress;
};

// What the browser library exports.
class BrowserFactory
{
public:
    virtual ~BrowserFactory() = default;
    // A browser whose page lives until the object is deleted; no window is ever shown for it.
    virtual IWebBrowser* createBrowser(QObject* parent) = 0;
    // A browser shown in a widget of `parent`'s.
    virtual IBrowserView* createView(QWidget* parent) = 0;
};

#define ZelkoraBrowserFactory_iid "org.zelkora.BrowserFactory/4"
Q_DECLARE_INTERFACE(BrowserFactory, ZelkoraBrowserFactory_iid)
