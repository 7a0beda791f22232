#include "PageOperations.h"

#include "common/TextRules.h"
#include "service/TProvider.h"

#include <limits>

namespace {
// Upper-cases the letters a to z only: names are compared without regard to the case of ASCII letters.
QString asciiUpper(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

} // namespace

int PageOperations::designatorIndex(const QString& designator)
{
    int i = 0;
    const int n = designator.size();
    while (i < n && designator[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (designator[i] == QLatin1Char('+') || designator[i] == QLatin1Char('-'))) {
        negative = designator[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && designator[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && designator[i] == QLatin1Char('0')
        && (designator[i + 1] == QLatin1Char('x') || designator[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return -1;
    qint64 value = 0;
    for (; i < n; ++i) {
        const int digit = TextRules::hexDigitValue(designator[i]);
        if (digit < 0 || digit >= base)
            return -1;
        value = value * base + digit;
        if (value > std::numeric_limits<quint32>::max())
            return -1;
    }
    if (base == 10 && value > (negative ? qint64(1) << 31 : std::numeric_limits<qint32>::max()))
        return -1;
    // A hexadecimal designator covers the whole 32-bit range and wraps into the signed range.
    const qint64 signedValue = negative ? -value : value;
    return static_cast<qint32>(static_cast<quint32>(static_cast<quint64>(signedValue) & 0xFFFFFFFFu));
}

PageForm* PageOperations::FindForm(const PageDocument& document, const QString& designator)
{
    const int index = designatorIndex(designator);
    const int count = document.formCount();
    for (int i = 0; i < count; ++i) {
        PageForm* form = document.form(i);
        if (!form)
            continue;
        if (form->name() == designator || (index > -1 && i == index))
            return form;
    }
    return nullptr;
}

PageElement* PageOperations::FindFormElement(PageForm* form, const QString& name)
{
    if (!form)
        return nullptr;
    const int count = form->elementCount();
    for (int j = 0; j < count; ++j) {
        PageElement* element = form->element(j);
        if (element && element->name() == name)
            return element;
    }
    return nullptr;
}

PageLink* PageOperations::FindLink(const PageDocument& document, const QString& address)
{
    const int count = document.linkCount();
    for (int i = 0; i < count; ++i) {
        PageLink* link = document.link(i);
        if (link && link->href() == address)
            return link;
    }
    return nullptr;
}

PageElement* PageOperations::FindSubmitControl(PageForm* form)
{
    if (!form)
        return nullptr;
    const int count = form->elementCount();
    for (int j = 0; j < count; ++j) {
        PageElement* element = form->element(j);
        if (element && asciiUpper(element->name()) == QLatin1String("SUBMIT"))
            return element;
    }
    return nullptr;
}

void PageOperations::SetFormField(
    const PageDocument& document, const QString& designator, const QString& fieldName, const QString& value)
{
    PageElement* element = PageOperations::FindFormElement(FindForm(document, designator), fieldName);
    if (!element)
        return;
    if (element->tagName() == QLatin1String("SELECT")) {
        const int options = element->optionCount();
        for (int k = 0; k < options; ++k) {
            PageOption* option = element->option(k);
            if (option && option->text() == value) {
                option->setSelected(true);
                return;
            }
        }
        return;
    }
    element->setValue(value);
}

void PageOperations::ClickLink(const PageDocument& document, const QString& address)
{
    if (PageLink* link = FindLink(document, address))
        link->click();
}

void PageOperations::ClickFormElement(
    const PageDocument& document, const QString& designator, const QString& elementName)
{
    if (PageElement* element = PageOperations::FindFormElement(FindForm(document, designator), elementName))
        element->click();
}

void PageOperations::SubmitForm(const PageDocument& document, const QString& designator, const QString& value)
{
    PageForm* form = FindForm(document, designator);
    if (!form)
        return;
    if (value.isEmpty()) {
        form->submit();
        return;
    }
    if (PageElement* element = FindSubmitControl(form)) {
        element->setValue(value);
        element->click();
    }
}

PageOperations::ResultOutcome PageOperations::FindResultText(
    const PageDocument& document, const QString& accepted, const QString& rejected)
{
    std::unique_ptr<PageTextRange> range;
    try {
        range = document.createBodyTextRange();
    } catch (const BrowserError&) {
        // A frameset or a page without a body cannot be searched.
    }
    if (!range)
        return ResultOutcome::NotSearchable;
    if (range->findText(accepted))
        return ResultOutcome::Accepted;
    if (range->findText(rejected))
        return ResultOutcome::Rejected;
    return ResultOutcome::NeitherFound;
}

bool PageOperations::SubmissionFound(
    const PageDocument& document, quint8 kind, const QString& designator, const QString& lookup, const QString& value)
{
    switch (kind) {
    case 1:
        return FindLink(document, lookup) != nullptr;
    case 2:
        return FindFormElement(FindForm(document, designator), lookup) != nullptr;
    case 3: {
        PageForm* form = FindForm(document, designator);
        return form && (value.isEmpty() || FindSubmitControl(form));
    }
    default:
        return false;
    }
}

bool PageOperations::HoldsLoginForm(const PageDocument& document, const TProvider& provider)
{
    PageForm* form = FindForm(document, provider.LoginForm);
    return FindFormElement(form, provider.UserField) && FindFormElement(form, provider.PassField);
}

QString PageOperations::SubmissionTarget(
    const PageDocument& document, quint8 kind, const QString& designator, const QString& lookup)
{
    if (kind == 1) {
        const PageLink* link = FindLink(document, lookup);
        return link ? link->target() : QString();
    }
    if (kind == 2 || kind == 3) {
        const PageForm* form = FindForm(document, designator);
        return form ? form->target() : QString();
    }
    return QString();
}

namespace {
bool findNamedFrame(const PageDocument& document, const QString& name, QList<int>& path)
{
    const int count = document.frameCount();
    for (int i = 0; i < count; ++i) {
        path.append(i);
        if (document.frameName(i) == name)
            return true;
        const PageDocument* child = nullptr;
        try {
            child = document.frameDocument(i);
        } catch (const BrowserError&) {
            // A frame of another site: its own frames cannot be seen from here.
        }
        if (child && findNamedFrame(*child, name, path))
            return true;
        path.removeLast();
    }
    return false;
}
} // namespace

std::optional<QList<int>> PageOperations::TargetWindow(
    const PageDocument& top, const QList<int>& from, const QString& target)
{
    // The keywords are matched without regard to ASCII letter case, window names exactly.
    const QString keyword = target.toLower();
    if (target.isEmpty() || keyword == QLatin1String("_self"))
        return from;
    if (keyword == QLatin1String("_top"))
        return QList<int>();
    if (keyword == QLatin1String("_parent"))
        return from.isEmpty() ? from : from.mid(0, from.size() - 1);
    if (keyword == QLatin1String("_blank"))
        return std::nullopt;
    QList<int> path;
    if (findNamedFrame(top, target, path))
        return path;
    return std::nullopt;
}

const PageDocument* PageOperations::WindowDocument(const PageDocument& top, const QList<int>& path)
{
    const PageDocument* document = &top;
    for (int index : path) {
        document = document->frameDocument(index);
        if (!document)
            return nullptr;
    }
    return document;
}
