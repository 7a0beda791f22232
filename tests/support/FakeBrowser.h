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
    // A window holds the windows whose numbers begin with its own: 1 holds 10, 10 holds 100.
    bool Contains(FrameRef outer, FrameRef inner) const override
    {
        return !outer.isEmpty() && QString::number(inner.id()).startsWith(QString::number(outer.id()));
    }
    QString WindowText(FrameRef window) const override
    {
        QStringList parts;
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            if (Contains(window, FrameRef(it.key())))
                parts << it.value();
        }
        return parts.join(QLatin1Char('\n'));
    }
    bool Waiting() const override { return waiting; }

    void navigated(quint64 frame, const QString& address) { m_navigateComplete(FrameRef(frame), address); }
    void loaded(quint64 frame, const QString& address)
    {
        if (m_documentComplete)
            m_documentComplete(FrameRef(frame), address);
    }
    void textChanged(quint64 frame, const QString& text)
    {
        texts.insert(frame, text);
        m_textChanged(FrameRef(frame), QString());
    }
    void dialog(const QString& text) { m_dialogShown(FrameRef(1), text); }
    void opened(quint64 window) { m_windowOpened(FrameRef(window), QString()); }
    void lost()
    {
        if (m_pageLost)
            m_pageLost();
    }

    QStringList navigations;
    QHash<quint64, int> httpStatuses;
    // By window, its own displayed text.
    QHash<quint64, QString> texts;
    bool waiting = false;
    int stops = 0;
    std::shared_ptr<PageDocument> document;
};
