#pragma once

#include "engine/IWebBrowser.h"

#include <QStringList>

// A browser whose events the test raises by hand.
class FakeBrowser : public IWebBrowser
{
public:
    void Navigate(const QString& address) override { navigations << address; }
    void Stop() override { ++stops; }
    std::shared_ptr<PageDocument> Document() override { return document; }

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
    int stops = 0;
    std::shared_ptr<PageDocument> document;
};
