#include "ServiceHost.h"

#include "common/UserPrompt.h"

void ServiceHost::showMessage(const QString& text)
{
    UserPrompt::current()->information(text);
}

ServiceHost* ServiceHost::fallback()
{
    static ServiceHost host;
    return &host;
}
