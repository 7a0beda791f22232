#pragma once

#include "PageDocument.h"

#include <QString>

// The operations the engine performs on a loaded page. Each walks the page's collections in document
// order, acts on the first match and stops; a missing form, field, option, link or control means nothing
// is done. Errors the browser raises (BrowserError) pass through to the caller.
namespace PageOperations {
// A form designator read as an integer the way the original conversion reads it (decimal, or hexadecimal
// after "$" or "0x"; leading blanks and a sign allowed); -1 when it is not one.
int designatorIndex(const QString& designator);

// The first form whose name equals the designator or whose position equals its number; null when none.
PageForm* FindForm(const PageDocument& document, const QString& designator);
// The first control of the form with that name; only this form is searched. Null when none.
PageElement* FindFormElement(PageForm* form, const QString& name);
// The first link whose address equals `address`; null when none.
PageLink* FindLink(const PageDocument& document, const QString& address);
// The control named SUBMIT in any letter case that SubmitForm gives its value to; null when none.
PageElement* FindSubmitControl(PageForm* form);

void SetFormField(
    const PageDocument& document, const QString& designator, const QString& fieldName, const QString& value);
void ClickLink(const PageDocument& document, const QString& address);
void ClickFormElement(const PageDocument& document, const QString& designator, const QString& elementName);
void SubmitForm(const PageDocument& document, const QString& designator, const QString& value);

enum class ResultOutcome
{
    Accepted,
    Rejected
};
// Searches the body's displayed text for the accepted text, then the rejected one. A body that cannot
// make a text range counts as acceptance.
ResultOutcome FindResultText(const PageDocument& document, const QString& accepted, const QString& rejected);
} // namespace PageOperations
