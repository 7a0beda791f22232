#include "SnapshotDocument.h"

#include <QJsonArray>

namespace {
// The handle by which the live page knows a node of the copy.
qint64 nodeOf(const QJsonObject& copy)
{
    return copy.value(QLatin1String("node")).toInteger();
}

QJsonObject step(const char* op, qint64 node, const QString& what, const QJsonValue& value = QJsonValue())
{
    QJsonObject s { { QStringLiteral("op"), QLatin1String(op) }, { QStringLiteral("node"), node },
        { QStringLiteral("what"), what } };
    if (!value.isUndefined() && !value.isNull())
        s.insert(QStringLiteral("value"), value);
    return s;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}
} // namespace

class SnapshotDocument::Option : public PageOption
{
public:
    Option(const QJsonObject& copy, const QString& owner, SinkPtr sink)
        : m_text(copy.value(QLatin1String("text")).toString())
        , m_node(nodeOf(copy))
        , m_what(QStringLiteral("option %1 of %2").arg(quoted(m_text), owner))
        , m_sink(std::move(sink))
    {
    }
    QString text() const override { return m_text; }
    void setSelected(bool selected) override { (*m_sink)(step("select", m_node, m_what, selected)); }

private:
    QString m_text;
    qint64 m_node;
    QString m_what;
    SinkPtr m_sink;
};

class SnapshotDocument::Element : public PageElement
{
public:
    Element(const QJsonObject& copy, const QString& form, const SinkPtr& sink)
        : m_name(copy.value(QLatin1String("name")).toString())
        , m_tag(copy.value(QLatin1String("tag")).toString().toUpper())
        , m_value(copy.value(QLatin1String("value")).toString())
        , m_node(nodeOf(copy))
        , m_what(QStringLiteral("control %1 of %2").arg(quoted(m_name), form))
        , m_sink(sink)
    {
        const QJsonArray options = copy.value(QLatin1String("options")).toArray();
        for (const auto& option : options)
            m_options.push_back(std::make_unique<Option>(option.toObject(), m_what, sink));
    }
    QString name() const override { return m_name; }
    QString tagName() const override { return m_tag; }
    QString value() const override { return m_value; }
    void setValue(const QString& value) override
    {
        m_value = value;
        (*m_sink)(step("value", m_node, m_what, value));
    }
    void click() override { (*m_sink)(step("click", m_node, m_what)); }
    int optionCount() const override { return static_cast<int>(m_options.size()); }
    PageOption* option(int index) const override
    {
        return index >= 0 && index < optionCount() ? m_options[static_cast<size_t>(index)].get() : nullptr;
    }

private:
    QString m_name;
    QString m_tag;
    QString m_value;
    qint64 m_node;
    QString m_what;
    SinkPtr m_sink;
    std::vector<std::unique_ptr<Option>> m_options;
};

class SnapshotDocument::Form : public PageForm
{
public:
    Form(const QJsonObject& copy, int index, const SinkPtr& sink)
        : m_name(copy.value(QLatin1String("name")).toString())
        , m_target(copy.value(QLatin1String("target")).toString())
        , m_node(nodeOf(copy))
        , m_what(m_name.isEmpty() ? QStringLiteral("form %1").arg(index) : QStringLiteral("form ") + quoted(m_name))
        , m_sink(sink)
    {
        const QJsonArray elements = copy.value(QLatin1String("elements")).toArray();
        for (const auto& element : elements)
            m_elements.push_back(std::make_unique<Element>(element.toObject(), m_what, sink));
    }
    QString name() const override { return m_name; }
    int elementCount() const override { return static_cast<int>(m_elements.size()); }
    PageElement* element(int index) const override
    {
        return index >= 0 && index < elementCount() ? m_elements[static_cast<size_t>(index)].get() : nullptr;
    }
    void submit() override { (*m_sink)(step("submit", m_node, m_what)); }
    QString target() const override { return m_target; }

private:
    QString m_name;
    QString m_target;
    qint64 m_node;
    QString m_what;
    SinkPtr m_sink;
    std::vector<std::unique_ptr<Element>> m_elements;
};

class SnapshotDocument::Link : public PageLink
{
public:
    Link(const QJsonObject& copy, SinkPtr sink)
        : m_href(copy.value(QLatin1String("href")).toString())
        , m_target(copy.value(QLatin1String("target")).toString())
        , m_node(nodeOf(copy))
        , m_sink(std::move(sink))
    {
    }
    QString href() const override { return m_href; }
    void click() override { (*m_sink)(step("click", m_node, QStringLiteral("link ") + m_href)); }
    QString target() const override { return m_target; }

private:
    QString m_href;
    QString m_target;
    qint64 m_node;
    SinkPtr m_sink;
};

struct SnapshotDocument::Frame
{
    QString name;
    bool denied = false;
    std::unique_ptr<SnapshotDocument> document;
};

namespace {
class BodyRange : public PageTextRange
{
public:
    explicit BodyRange(QString text)
        : m_text(std::move(text))
    {
    }
    bool findText(const QString& text) const override { return m_text.contains(text, Qt::CaseInsensitive); }

private:
    QString m_text;
};
} // namespace

SnapshotDocument::SnapshotDocument(const QJsonObject& copy, const SinkPtr& sink)
    : m_address(copy.value(QLatin1String("url")).toString())
{
    const QJsonArray forms = copy.value(QLatin1String("forms")).toArray();
    for (int i = 0; i < forms.size(); ++i)
        m_forms.push_back(std::make_unique<Form>(forms[i].toObject(), i, sink));
    const QJsonArray links = copy.value(QLatin1String("links")).toArray();
    for (const auto& link : links)
        m_links.push_back(std::make_unique<Link>(link.toObject(), sink));
    const QJsonArray frames = copy.value(QLatin1String("frames")).toArray();
    for (const auto& frameCopy : frames) {
        auto frame = std::make_unique<Frame>();
        const QJsonObject child = frameCopy.toObject();
        frame->name = child.value(QLatin1String("frameName")).toString();
        if (child.value(QLatin1String("denied")).toBool())
            frame->denied = true;
        else if (frameCopy.isObject() && !child.value(QLatin1String("missing")).toBool())
            frame->document = std::make_unique<SnapshotDocument>(child, sink);
        m_frames.push_back(std::move(frame));
    }
    const QJsonValue body = copy.value(QLatin1String("body"));
    m_hasBody = body.isString();
    m_bodyText = body.toString();
}

SnapshotDocument::~SnapshotDocument() = default;

int SnapshotDocument::formCount() const
{
    return static_cast<int>(m_forms.size());
}

PageForm* SnapshotDocument::form(int index) const
{
    return index >= 0 && index < formCount() ? m_forms[static_cast<size_t>(index)].get() : nullptr;
}

int SnapshotDocument::linkCount() const
{
    return static_cast<int>(m_links.size());
}

PageLink* SnapshotDocument::link(int index) const
{
    return index >= 0 && index < linkCount() ? m_links[static_cast<size_t>(index)].get() : nullptr;
}

int SnapshotDocument::frameCount() const
{
    return static_cast<int>(m_frames.size());
}

PageDocument* SnapshotDocument::frameDocument(int index) const
{
    if (index < 0 || index >= frameCount())
        return nullptr;
    const Frame& frame = *m_frames[static_cast<size_t>(index)];
    if (frame.denied)
        throw BrowserError(QStringLiteral("Access is denied: frame %1 holds a page of another site").arg(index));
    return frame.document.get();
}

QString SnapshotDocument::frameName(int index) const
{
    return index >= 0 && index < frameCount() ? m_frames[static_cast<size_t>(index)]->name : QString();
}

std::unique_ptr<PageTextRange> SnapshotDocument::createBodyTextRange() const
{
    if (!m_hasBody)
        throw BrowserError(QStringLiteral("The page has no body to search"));
    return std::make_unique<BodyRange>(m_bodyText);
}
