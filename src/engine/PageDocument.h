#pragma once

#include <QString>
#include <memory>
#include <stdexcept>

// The page-document model the page operations work on. Every collection is in document order and
// numbered from zero. Objects handed out by a document live as long as the document.
//
// Header-only: the browser library implements these interfaces without linking the engine.

// An error raised by the browser while a page object is used (a frame that refuses access, say).
class BrowserError : public std::runtime_error
{
public:
    explicit BrowserError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

class PageOption
{
public:
    virtual ~PageOption() = default;
    virtual QString text() const = 0;
    virtual void setSelected(bool selected) = 0;
};

class PageElement
{
public:
    virtual ~PageElement() = default;
    virtual QString name() const = 0;
    // Upper case, as "SELECT" or "INPUT".
    virtual QString tagName() const = 0;
    virtual QString value() const = 0;
    virtual void setValue(const QString& value) = 0;
    virtual void click() = 0;
    virtual int optionCount() const = 0;
    virtual PageOption* option(int index) const = 0;
};

class PageForm
{
public:
    virtual ~PageForm() = default;
    virtual QString name() const = 0;
    virtual int elementCount() const = 0;
    virtual PageElement* element(int index) const = 0;
    virtual void submit() = 0;
    // The window its submission goes to, as the page names it (the form's target, else the page's base
    // target): empty or "_self" for its own window, "_top", "_parent", "_blank" or a window's name.
    virtual QString target() const { return QString(); }
};

class PageLink
{
public:
    virtual ~PageLink() = default;
    // The absolute address, as the browser holds it.
    virtual QString href() const = 0;
    virtual void click() = 0;
    // The window it opens in, as for a form.
    virtual QString target() const { return QString(); }
};

class PageTextRange
{
public:
    virtual ~PageTextRange() = default;
    // True when the text occurs in the range's displayed text, ignoring letter case.
    virtual bool findText(const QString& text) const = 0;
};

class PageDocument
{
public:
    virtual ~PageDocument() = default;
    virtual int formCount() const = 0;
    virtual PageForm* form(int index) const = 0;
    virtual int linkCount() const = 0;
    virtual PageLink* link(int index) const = 0;
    virtual int frameCount() const = 0;
    // The document loaded in frame `index`; null when the frame holds none or does not exist.
    // Throws BrowserError when the frame refuses access.
    virtual PageDocument* frameDocument(int index) const = 0;
    // The name of frame `index`, by which a form or a link may name it as its target; empty when it has none.
    virtual QString frameName(int index) const
    {
        Q_UNUSED(index)
        return QString();
    }
    // A range over the body's displayed text. Throws BrowserError when the document has no body that can
    // make one (a frameset, say).
    virtual std::unique_ptr<PageTextRange> createBodyTextRange() const = 0;
};
