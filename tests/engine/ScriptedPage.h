#pragma once

#include "engine/PageDocument.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// A page model written by hand for tests of the page operations: every action is written to a journal,
// so a test can check exactly what was done to the page and in which order.
struct ScriptedPage
{
    QStringList journal;
};

class ScriptedOption : public PageOption
{
public:
    ScriptedOption(ScriptedPage* page, QString owner, QString text)
        : m_page(page)
        , m_owner(std::move(owner))
        , m_text(std::move(text))
    {
    }
    QString text() const override { return m_text; }
    void setSelected(bool selected) override
    {
        if (selected)
            m_page->journal << m_owner + QStringLiteral(" select ") + m_text;
    }

private:
    ScriptedPage* m_page;
    QString m_owner;
    QString m_text;
};

class ScriptedElement : public PageElement
{
public:
    ScriptedElement(ScriptedPage* page, QString id, QString name, QString tag, const QStringList& options = {})
        : m_page(page)
        , m_id(std::move(id))
        , m_name(std::move(name))
        , m_tag(std::move(tag))
    {
        for (const QString& text : options)
            m_options.push_back(std::make_unique<ScriptedOption>(page, m_id, text));
    }
    QString name() const override { return m_name; }
    QString tagName() const override { return m_tag; }
    QString value() const override { return m_value; }
    void setValue(const QString& value) override
    {
        m_value = value;
        m_page->journal << m_id + QStringLiteral(" = ") + value;
    }
    void click() override { m_page->journal << m_id + QStringLiteral(" click"); }
    int optionCount() const override { return int(m_options.size()); }
    PageOption* option(int index) const override { return m_options.at(size_t(index)).get(); }

private:
    ScriptedPage* m_page;
    QString m_id;
    QString m_name;
    QString m_tag;
    QString m_value;
    std::vector<std::unique_ptr<ScriptedOption>> m_options;
};

class ScriptedForm : public PageForm
{
public:
    ScriptedForm(ScriptedPage* page, QString id, QString name)
        : m_page(page)
        , m_id(std::move(id))
        , m_name(std::move(name))
    {
    }
    ScriptedForm& input(
        const QString& name, const QString& tag = QStringLiteral("INPUT"), const QStringList& options = {})
    {
        const QString id = m_id + QLatin1Char('.') + (name.isEmpty() ? QString::number(m_elements.size()) : name);
        m_elements.push_back(std::make_unique<ScriptedElement>(m_page, id, name, tag, options));
        return *this;
    }
    ScriptedForm& target(const QString& target)
    {
        m_target = target;
        return *this;
    }
    QString name() const override { return m_name; }
    int elementCount() const override { return int(m_elements.size()); }
    PageElement* element(int index) const override { return m_elements.at(size_t(index)).get(); }
    void submit() override { m_page->journal << m_id + QStringLiteral(" submit"); }
    QString target() const override { return m_target; }

private:
    ScriptedPage* m_page;
    QString m_id;
    QString m_name;
    QString m_target;
    std::vector<std::unique_ptr<ScriptedElement>> m_elements;
};

class ScriptedLink : public PageLink
{
public:
    ScriptedLink(ScriptedPage* page, QString href)
        : m_page(page)
        , m_href(std::move(href))
    {
    }
    QString href() const override { return m_href; }
    void click() override { m_page->journal << QStringLiteral("link ") + m_href + QStringLiteral(" click"); }

private:
    ScriptedPage* m_page;
    QString m_href;
};

class ScriptedRange : public PageTextRange
{
public:
    explicit ScriptedRange(QString text)
        : m_text(std::move(text))
    {
    }
    bool findText(const QString& text) const override { return m_text.contains(text, Qt::CaseInsensitive); }

private:
    QString m_text;
};

class ScriptedDocument : public PageDocument
{
public:
    explicit ScriptedDocument(ScriptedPage* page)
        : m_page(page)
    {
    }
    // Forms are named f0, f1, ... in the journal by their position.
    ScriptedForm& addForm(const QString& name)
    {
        m_forms.push_back(std::make_unique<ScriptedForm>(m_page, QStringLiteral("f%1").arg(m_forms.size()), name));
        return *m_forms.back();
    }
    void addLink(const QString& href) { m_links.push_back(std::make_unique<ScriptedLink>(m_page, href)); }
    ScriptedDocument& addFrame(const QString& name = QString())
    {
        m_frames.push_back(std::make_unique<ScriptedDocument>(m_page));
        m_frameNames << name;
        return *m_frames.back();
    }
    void addDeniedFrame(const QString& name = QString())
    {
        m_frames.push_back(nullptr);
        m_frameNames << name;
    }
    void setBody(const QString& text)
    {
        m_body = text;
        m_hasBody = true;
    }

    int formCount() const override { return int(m_forms.size()); }
    PageForm* form(int index) const override { return m_forms.at(size_t(index)).get(); }
    int linkCount() const override { return int(m_links.size()); }
    PageLink* link(int index) const override { return m_links.at(size_t(index)).get(); }
    int frameCount() const override { return int(m_frames.size()); }
    PageDocument* frameDocument(int index) const override
    {
        if (index < 0 || index >= frameCount())
            return nullptr;
        if (!m_frames[size_t(index)])
            throw BrowserError(QStringLiteral("Access is denied"));
        return m_frames[size_t(index)].get();
    }
    QString frameName(int index) const override { return m_frameNames.value(index); }
    std::unique_ptr<PageTextRange> createBodyTextRange() const override
    {
        if (!m_hasBody)
            throw BrowserError(QStringLiteral("no body"));
        return std::make_unique<ScriptedRange>(m_body);
    }

private:
    ScriptedPage* m_page;
    std::vector<std::unique_ptr<ScriptedForm>> m_forms;
    std::vector<std::unique_ptr<ScriptedLink>> m_links;
    std::vector<std::unique_ptr<ScriptedDocument>> m_frames;
    QStringList m_frameNames;
    QString m_body;
    bool m_hasBody = false;
};
