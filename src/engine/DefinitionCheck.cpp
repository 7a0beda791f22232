#include "DefinitionCheck.h"

#include "PageOperations.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
QString quoted(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString fieldList(PageForm* form)
{
    QStringList names;
    const int count = form->elementCount();
    for (int j = 0; j < count; ++j) {
        if (PageElement* element = form->element(j); element && !element->name().isEmpty())
            names << element->name();
    }
    return names.isEmpty() ? QCoreApplication::translate("DefinitionCheck", "אין בו שדות עם שם")
                           : QCoreApplication::translate("DefinitionCheck", "שדותיו: %1").arg(names.join(QStringLiteral(", ")));
}

struct Steps
{
    QVector<CheckStep> list;
    bool failed = false;

    // Adds the step unless an earlier one has failed; returns whether the walk goes on.
    bool add(const QString& step, bool passed, const QString& detail)
    {
        if (failed)
            return false;
        list.append(CheckStep { step, passed, detail });
        failed = !passed;
        return passed;
    }
};

PageForm* form(Steps& steps, const PageDocument& document, const QString& step, const QString& designator)
{
    PageForm* found = PageOperations::FindForm(document, designator);
    steps.add(step, found != nullptr,
        found ? quoted(designator)
              : QCoreApplication::translate("DefinitionCheck", "אין טופס בשם או במספר %1 (%2)")
                    .arg(quoted(designator), DefinitionCheck::formList(document)));
    return found;
}

PageElement* field(Steps& steps, PageForm* form, const QString& step, const QString& name)
{
    if (steps.failed)
        return nullptr;
    PageElement* found = PageOperations::FindFormElement(form, name);
    steps.add(step, found != nullptr,
        found ? quoted(name) : QCoreApplication::translate("DefinitionCheck", "אין בטופס שדה %1; %2").arg(quoted(name), fieldList(form)));
    return found;
}

// The control a send would use to submit the form, described as the engine would use it.
void submission(Steps& steps, const PageDocument& document, PageForm* form, const QString& step, const PageStep& page)
{
    const QString& lookup = page.submitLookup;
    const QString& value = page.submitValue;
    if (steps.failed)
        return;
    switch (page.submit) {
    case 1:
        steps.add(step, PageOperations::FindLink(document, lookup) != nullptr,
            PageOperations::FindLink(document, lookup) ? QCoreApplication::translate("DefinitionCheck", "לחיצה על הקישור אל %1").arg(lookup)
                                                       : QCoreApplication::translate("DefinitionCheck", "אין בדף קישור אל %1").arg(lookup));
        break;
    case 2: {
        const bool found = PageOperations::FindFormElement(form, lookup) != nullptr;
        steps.add(step, found,
            found ? QCoreApplication::translate("DefinitionCheck", "לחיצה על %1").arg(quoted(lookup))
                  : QCoreApplication::translate("DefinitionCheck", "אין בטופס פקד %1; %2").arg(quoted(lookup), fieldList(form)));
        break;
    }
    case 3:
        if (value.isEmpty()) {
            steps.add(step, true, QCoreApplication::translate("DefinitionCheck", "הטופס נשלח כמות שהוא"));
        } else {
            const bool found = PageOperations::FindSubmitControl(form) != nullptr;
            steps.add(step, found,
                found ? QCoreApplication::translate("DefinitionCheck", "לחיצה על הפקד בשם SUBMIT, עם הערך %1").arg(quoted(value))
                      : QCoreApplication::translate("DefinitionCheck", "אין בטופס פקד בשם SUBMIT; %1").arg(fieldList(form)));
        }
        break;
    default:
        steps.add(step, false, QCoreApplication::translate("DefinitionCheck", "ההגדרה אינה מציינת דרך לשלוח את הטופס (%1)").arg(page.submit));
        break;
    }
}
} // namespace

QString DefinitionCheck::formList(const PageDocument& document)
{
    QStringList forms;
    const int count = document.formCount();
    for (int i = 0; i < count; ++i) {
        PageForm* form = document.form(i);
        const QString name = form ? form->name() : QString();
        forms << (name.isEmpty() ? QStringLiteral("#%1").arg(i) : quoted(name));
    }
    QString text = forms.isEmpty() ? QCoreApplication::translate("DefinitionCheck", "אין טפסים בדף")
                                   : QCoreApplication::translate("DefinitionCheck", "הטפסים בדף: %1").arg(forms.join(QStringLiteral(", ")));
    if (document.frameCount() > 0)
        text += QCoreApplication::translate("DefinitionCheck", "; מספר המסגרות בדף: %1").arg(document.frameCount());
    return text;
}

QVector<CheckStep> DefinitionCheck::inspectLogin(const PageDocument& document, const TProvider& provider)
{
    Steps steps;
    PageForm* found = form(steps, document, QStringLiteral("login form"), provider.LoginForm);
    field(steps, found, QStringLiteral("user field"), provider.UserField);
    field(steps, found, QStringLiteral("password field"), provider.PassField);
    submission(steps, document, found, QStringLiteral("login submit"), provider.loginStep());
    return steps.list;
}

QVector<CheckStep> DefinitionCheck::inspectMessage(
    const PageDocument& document, const TProvider& provider, const QString& areaValue)
{
    Steps steps;
    PageForm* found = form(steps, document, QStringLiteral("message form"), provider.MsgForm);
    if (!provider.FromField.isEmpty())
        field(steps, found, QStringLiteral("sender field"), provider.FromField);
    if (!provider.AreaField.isEmpty()) {
        PageElement* area = field(steps, found, QStringLiteral("area field"), provider.AreaField);
        if (area && area->tagName() == QLatin1String("SELECT")) {
            QStringList texts;
            bool offered = false;
            for (int k = 0; k < area->optionCount(); ++k) {
                if (PageOption* option = area->option(k)) {
                    texts << quoted(option->text());
                    offered = offered || option->text() == areaValue;
                }
            }
            steps.add(QStringLiteral("area choice"), offered,
                offered ? quoted(areaValue)
                        : QCoreApplication::translate("DefinitionCheck", "הרשימה אינה מציעה %1 (היא מציעה %2)")
                              .arg(quoted(areaValue), texts.join(QStringLiteral(", "))));
        }
    }
    field(steps, found, QStringLiteral("number field"), provider.PhoneField);
    field(steps, found, QStringLiteral("message field"), provider.MsgField);
    submission(steps, document, found, QStringLiteral("message submit"), provider.messageStep());
    return steps.list;
}

bool DefinitionCheck::allPassed(const QVector<CheckStep>& steps)
{
    for (const CheckStep& step : steps) {
        if (!step.passed)
            return false;
    }
    return true;
}
