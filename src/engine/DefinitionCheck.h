#pragma once

#include "PageDocument.h"
#include "service/TProvider.h"

#include <QString>
#include <QVector>

// One step of a dry run through a provider's pages: what was looked for, whether it was there, and in plain
// words what was found instead when it was not.
struct CheckStep
{
    QString step;
    bool passed = false;
    QString detail;
};

// What a send would look for on a loaded page, looked for without touching the page. Each inspection lists
// its steps in the order a send takes them and ends at the first one that fails.
namespace DefinitionCheck {
// The login form, the user and password fields and the control that submits it.
QVector<CheckStep> inspectLogin(const PageDocument& document, const TProvider& provider);
// The message form, each field the definition names (an area list must offer `areaValue`) and the
// control that would submit it.
QVector<CheckStep> inspectMessage(const PageDocument& document, const TProvider& provider, const QString& areaValue);

// How a page's frames and forms are described in a failing step ("frames: 2", "forms: login, #1").
QString formList(const PageDocument& document);

bool allPassed(const QVector<CheckStep>& steps);
} // namespace DefinitionCheck
