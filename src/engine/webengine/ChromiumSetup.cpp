#include "ChromiumSetup.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <unistd.h>

void ChromiumSetup::prepare()
{
    // As root Chromium's own sandbox cannot run, and this program has no business with the browser's
    // background services.
    static bool done = false;
    if (done)
        return;
    done = true;
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --disable-background-networking --disable-component-update --disable-sync"
             " --no-first-run --disable-quic --disable-breakpad";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    // Without a display Chromium renders nothing, which is all the engine's page needs; its report of the
    // graphics set-up would only alarm the user.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}
