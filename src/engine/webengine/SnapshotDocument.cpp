#include "SnapshotDocument.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace
{
    // A JavaScript string literal for any text.
    QString literal(const QString& text)
    {
        const QJsonArray wrapper{text};
        const QByteArray json = QJsonDocument(wrapper).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(json.mid(1, json.size() - 2));
    }
} // namespace

class SnapshotDocument::Option : public PageOption
{
public:
    Option(QString text, QString statementPrefix, SinkPtr sink)
        : m_text(std::move(text))
        , m_prefix(std::move(statementPrefix))
        , m_sink(sink)
    {
    }
    QString text() const override { return m_text; }
    void setSelected(bool selected) override
    {
        (*m_sink)(m_prefix + QStringLiteral(".selected = ") + (selected ? QStringLiteral("true") : QStringLiteral("false")));
    }

private:
    QString m_text;
    QString m_prefix;
    SinkPtr m_sink;
};

class SnapshotDocument::Element : public PageElement
{
public:
    Element(const QJsonObject& copy, QString expression, SinkPtr sink)
        : m_name(copy.value(QLatin1String("n")).toString())
        , m_tag(copy.value(QLatin1String("t")).toString().toUpper())
        , m_value(copy.value(QLatin1String("v")).toString())
        , m_expression(std::move(expression))
        , m_sink(sink)
    {
        const QJsonArray options = copy.value(QLatin1String("o")).toArray();
        for (int k = 0; k < options.size(); ++k)
            m_options.push_back(std::make_unique<Option>(
                options[k].toString(), m_expression + QStringLiteral(".options[%1]").arg(k), sink));
    }
    QString name() const override { return m_name; }
    QString tagName() const override { return m_tag; }
    QString value() const override { return m_value; }
    void setValue(const QString& value) override
    {
        m_value = value;
        (*m_sink)(m_expression + QStringLiteral(".value = ") + literal(value));
    }
    void click() override { (*m_sink)(m_expression + QStringLiteral(".click()")); }
    int optionCount() const override { return static_cast<int>(m_options.size()); }
    PageOption* option(int index) const override
    {
        return index >= 0 && index < optionCount() ? m_options[static_cast<size_t>(index)].get() : nullptr;
    }

private:
    QString m_name;
    QString m_tag;
    QString m_value;
    QString m_expression;
    SinkPtr m_sink;
    std::vector<std::unique_ptr<Option>> m_options;
};

class SnapshotDocument::Form : public PageForm
{
public:
    Form(const QJsonObject& copy, QString expression, SinkPtr sink)
        : m_name(copy.value(QLatin1String("n")).toString())
        , m_expression(std::move(expression))
        , m_sink(sink)
    {
        const QJsonArray elements = copy.value(QLatin1String("e")).toArray();
        for (int j = 0; j < elements.size(); ++j)
            m_elements.push_back(std::make_unique<Element>(
                elements[j].toObject(), m_expression + QStringLiteral(".elements[%1]").arg(j), sink));
    }
    QString name() const override { return m_name; }
    int elementCount() const override { return static_cast<int>(m_elements.size()); }
    PageElement* element(int index) const override
    {
        return index >= 0 && index < elementCount() ? m_elements[static_cast<size_t>(index)].get() : nullptr;
    }
    // HTMLFormElement.prototype.submit, so that a control named "submit" cannot hide the method.
    void submit() override { (*m_sink)(QStringLiteral("HTMLFormElement.prototype.submit.call(") + m_expression + QLatin1Char(')')); }

private:
    QString m_name;
    QString m_expression;
    SinkPtr m_sink;
    std::vector<std::unique_ptr<Element>> m_elements;
};

class SnapshotDocument::Link : public PageLink
{
public:
    Link(QString href, QString expression, SinkPtr sink)
        : m_href(std::move(href))
        , m_expression(std::move(expression))
        , m_sink(sink)
    {
    }
    QString href() const override { return m_href; }
    void click() override { (*m_sink)(m_expression + QStringLiteral(".click()")); }

private:
    QString m_href;
    QString m_expression;
    SinkPtr m_sink;
};

struct SnapshotDocument::Frame
{
    bool denied = false;
    std::unique_ptr<SnapshotDocument> document;
};

namespace
{
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

SnapshotDocument::SnapshotDocument(const QJsonObject& copy, const QString& path, SinkPtr sink)
    : m_address(copy.value(QLatin1String("u")).toString())
    , m_path(path)
{
    const QString doc = QStringLiteral("zkDoc(") + path + QLatin1Char(')');
    const QJsonArray forms = copy.value(QLatin1String("f")).toArray();
    for (int i = 0; i < forms.size(); ++i)
        m_forms.push_back(std::make_unique<Form>(forms[i].toObject(), doc + QStringLiteral(".forms[%1]").arg(i), sink));
    const QJsonArray links = copy.value(QLatin1String("l")).toArray();
    for (int i = 0; i < links.size(); ++i)
        m_links.push_back(std::make_unique<Link>(links[i].toString(), doc + QStringLiteral(".links[%1]").arg(i), sink));
    const QJsonArray frames = copy.value(QLatin1String("fr")).toArray();
    for (int i = 0; i < frames.size(); ++i) {
        auto frame = std::make_unique<Frame>();
        const QJsonObject child = frames[i].toObject();
        if (child.value(QLatin1String("denied")).toBool()) {
            frame->denied = true;
        } else if (frames[i].isObject()) {
            QString childPath = path;
            childPath.chop(1);
            childPath += (childPath.size() > 1 ? QStringLiteral(",") : QString()) + QString::number(i) + QLatin1Char(']');
            frame->document = std::make_unique<SnapshotDocument>(child, childPath, sink);
        }
        m_frames.push_back(std::move(frame));
    }
    const QJsonValue body = copy.value(QLatin1String("b"));
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

std::unique_ptr<PageTextRange> SnapshotDocument::createBodyTextRange() const
{
    if (!m_hasBody)
        throw BrowserError(QStringLiteral("The page has no body to search"));
    return std::make_unique<BodyRange>(m_bodyText);
}
