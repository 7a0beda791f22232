#pragma once

#include "engine/PageDocument.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// The page-document model over a copy of a page taken by the bridge script. Reads come from the copy;
// writes and clicks are kept in the copy and handed to `CommandSink` as script statements, which the browser
// runs in the page, in order, once the engine's step has returned.
using CommandSink = std::function<void(const QString& statement)>;
using SinkPtr = std::shared_ptr<const CommandSink>;

class SnapshotDocument : public PageDocument
{
public:
    // `path` is the frame path from the top-level window ("[]" for the top, "[0,1]" for frame 1 of frame 0).
    SnapshotDocument(const QJsonObject& copy, const QString& path, SinkPtr sink);
    ~SnapshotDocument() override;

    int formCount() const override;
    PageForm* form(int index) const override;
    int linkCount() const override;
    PageLink* link(int index) const override;
    int frameCount() const override;
    PageDocument* frameDocument(int index) const override;
    std::unique_ptr<PageTextRange> createBodyTextRange() const override;

    QString address() const { return m_address; }

private:
    class Form;
    class Element;
    class Option;
    class Link;
    struct Frame;

    QString m_address;
    QString m_path;
    bool m_hasBody = false;
    QString m_bodyText;
    std::vector<std::unique_ptr<Form>> m_forms;
    std::vector<std::unique_ptr<Link>> m_links;
    std::vector<std::unique_ptr<Frame>> m_frames;
};
