#include "CliCheck.h"

#include "engine/TSMSBaseForm.h"
#include "service/ServiceState.h"
#include "settings/Credentials.h"
#include "settings/SmsIni.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {
// What the form is filled with. Nothing of it leaves the machine: the form is never submitted.
const char* const kSender = "Zelkora";
const char* const kNumber = "1234567";
const char* const kMessage = "Zelkora check";

void print(const CheckStep& step, bool json)
{
    QString line;
    if (json) {
        line = QString::fromUtf8(QJsonDocument(
            QJsonObject { { QStringLiteral("step"), step.step }, { QStringLiteral("passed"), step.passed },
                { QStringLiteral("detail"),
                    step.detail } }).toJson(QJsonDocument::Compact));
    } else {
        line = (step.passed ? QStringLiteral("ok") : QStringLiteral("FAILED")) + QLatin1Char('\t') + step.step
            + QLatin1Char('\t') + step.detail;
    }
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int CliCheck::run(const QString& areaCode, bool json)
{
    TSMSBaseForm engine;
    ServiceState state(engine.Providers, engine.AreaDefs);
    state.setCredentialSource(credentialsFromSmsIni());
    state.LoadProviderCache();
    engine.TimeOut = SmsIni().timeOut();

    engine.OnCheckStep = [json](const CheckStep& step) { print(step, json); };
    const int index = engine.FindProviderByArea(areaCode);
    const TProvider provider = engine.Providers.value(index);
    engine.Check(QLatin1String(kSender), areaCode, QLatin1String(kNumber), QLatin1String(kMessage), provider.UserName,
        provider.Password);
    while (isBusyStatus(engine.Status))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    engine.OnCheckStep = nullptr;

    if (engine.Status != ssReady)
        return 1;
    print(CheckStep { QStringLiteral("result"), true,
              QCoreApplication::translate("DefinitionCheck", "כאן שליחה אמיתית הייתה שולחת את טופס ההודעה; דבר לא נשלח") },
        json);
    return 0;
}
