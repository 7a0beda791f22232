#pragma once

#include "PageDocument.h"

#include <QList>
#include <QString>
#include <optional>

struct TProvider;

// The operations the engine performs on a loaded page. Each walks the page's collections in document
// order, acts on the first match and stops; a missing form, field, option, link or control means nothing
// is done. Errors the browser raises (BrowserError) pass through to the caller.
namespace PageOperations {
// A form designator read as an integer (decimal, or hexadecimal after "$" or "0x"; leading blanks and a
// sign allowed); -1 when it is not one.
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

// Whether a submission of that kind finds what it triggers (the link, the control, the form and, with a value,
// its SUBMIT control): false when it would do nothing at all.
bool SubmissionFound(
    const PageDocument& document, quint8 kind, const QString& designator, const QString& lookup, const QString& value);
// Whether the document holds the provider's login form: the form LoginForm designates, with both the user
// and the password field.
bool HoldsLoginForm(const PageDocument& document, const TProvider& provider);

// The target a submission of that kind names: the link's for kind 1, the form's for kinds 2 and 3; empty
// (the page's own window) when the link or form is missing or the kind submits nothing.
QString SubmissionTarget(const PageDocument& document, quint8 kind, const QString& designator, const QString& lookup);
// The window that `target` names, seen from the window at `from` (paths of frame numbers from the top-level
// window of `top`, empty for the top-level window): its own for "" and "_self", "_parent", "_top", else the
// first frame of the page in document order, depth first, of that name. Nothing for "_blank" or a name that
// no frame has: the browser would open a new window, which no step follows.
std::optional<QList<int>> TargetWindow(const PageDocument& top, const QList<int>& from, const QString& target);
// The document of the window at `path`; null when the page has no such frame or it holds no document.
// Throws BrowserError for a frame of another site.
const PageDocument* WindowDocument(const PageDocument& top, const QList<int>& path);

enum class ResultOutcome
{
    Accepted, // the accepted text was found
    Rejected, // the rejected text was found, the accepted one not
    NeitherFound, // the body holds neither text
    NotSearchable // the document has no body that can be searched (a frameset, say)
};
// Searches the body's displayed text for the accepted text, then the rejected one.
ResultOutcome FindResultText(const PageDocument& document, const QString& accepted, const QString& rejected);
} // namespace PageOperations
