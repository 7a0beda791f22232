#pragma once

#include "engine/PageDocument.h"

#include <QJsonObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// One write the engine makes to the live page: `op` ("value", "select", "click" or "submit") on the node whose
// handle the copy gave, with `value` for the first two and `what` naming the node for a diagnostic that never
// carries the value (it may be a password).
using StepSink = std::function<void(const QJsonObject& step)>;
using SinkPtr = std::shared_ptr<const StepSink>;

// The page-document model over a copy of a page taken by the bridge script. Reads come from the copy;
// writes and clicks are kept in the copy and handed to the sink, which plays them back into the very nodes
// the copy described once the engine's step has returned.
class SnapshotDocument : public PageDocument
{
public:
    SnapshotDocument(const QJsonObject& copy, const SinkPtr& sink);
    ~SnapshotDocument() override;

    int formCount() const override;
    PageForm* form(int index) const override;
    int linkCount() const override;
    PageLink* link(int index) const override;
    int frameCount() const override;
    PageDocument* frameDocument(int index) const override;
    QString frameName(int index) const override;
    std::unique_ptr<PageTextRange> createBodyTextRange() const override;

    QString address() const { return m_address; }

private:
    class Form;
    class Element;
    class Option;
    class Link;
    struct Frame;

    QString m_address;
    bool m_hasBody = false;
    QString m_bodyText;
    std::vector<std::unique_ptr<Form>> m_forms;
    std::vector<std::unique_ptr<Link>> m_links;
    std::vector<std::unique_ptr<Frame>> m_frames;
};
