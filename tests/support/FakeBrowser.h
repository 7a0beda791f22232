#pragma once

#include "engine/IWebBrowser.h"

#include <QHash>
#include <QStringList>

// A browser whose events the test raises by hand: none of its pages completes by itself, so an attempt stays
// where it was put until the test moves it on.
class FakeBrowser : public IWebBrowser
{
public:
    void Navigate(const QString& address) override { navigations << address; }
    void Stop() override { ++stops; }
    std::shared_ptr<PageDocument> Document() override { return document; }
    // The top-level window is 1; frame i of the top page 10 + i, frame j of that 100 + 10 * i + j.
    FrameRef Window(const QList<int>& path) override
    {
        quint64 id = 1;
        for (int i : path)
            id = id * 10 + quint64(i);
        return FrameRef(id);
    }
    int HttpStatus(FrameRef window) const override { return httpStatuses.value(window.id()); }

    void navigated(quint64 frame, const QString& address) { m_navigateComplete(FrameRef(frame), address); }
    void loaded(quint64 frame, const QString& address)
    {
        if (m_documentComplete)
            m_documentComplete(FrameRef(frame), address);
    }
    void lost()
    {
        if (m_pageLost)
            m_pageLost();
    }

    QStringList navigations;
    QHash<quint64, int> httpStatuses;
    int stops = 0;
    std::shared_ptr<PageDocument> document;
};
