// The main window taken down and built again after a change of interface language, as the language window
// does it: the old window released, the new language's module loaded, a new window made and shown. Median of
// 20, alternating English and Hebrew.
#include "app/LanguageSwitch.h"
#include "app/THiddenForm.h"
#include "app/TMsgForm.h"
#include "common/AppPaths.h"
#include "language/LanguageModules.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    for (const char* sub : { "config", "app", "cache", "data" })
        QDir().mkpath(folder.path() + QLatin1Char('/') + QLatin1String(sub));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + QStringLiteral("/config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.path() + QStringLiteral("/cache")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path() + QStringLiteral("/data")));
    qputenv("ZELKORA_APPDIR", QFile::encodeName(folder.path() + QStringLiteral("/app")));
    QApplication app(argc, argv);
    // No service answers: the window is made and shown, its first request waits a second it never gets.
    AppPaths::setServiceUrlOverride(QStringLiteral("http://127.0.0.1:9"));
    TTrayIcon::setSystemTrayAvailableForTesting(true);
    const QString modules = QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora");

    THiddenForm root;
    auto* first = new TMsgForm(TMsgForm::Options { &root, {} });
    first->toggleShown();
    QCoreApplication::processEvents();

    QList<double> times;
    for (int i = 0; i < 21; ++i) {
        LanguageSwitch host(root);
        QElapsedTimer timer;
        timer.start();
        host.releaseMainWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LanguageModules::LoadLanguageModule(modules, i % 2 ? QStringLiteral("HEB") : QStringLiteral("ENU"));
        host.rebuildMainWindow();
        while (!root.mainWindow() || !root.mainWindow()->isVisible())
            QCoreApplication::processEvents();
        if (i > 0) // the first one warms the fonts and pictures up
            times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("Main window rebuilt after a change of language (median of %lld, English and Hebrew in turn):\n",
        static_cast<long long>(times.size()));
    std::printf("  release, module, new window shown: %7.1f ms   (goal: under 150 ms; fastest %.1f, slowest %.1f)\n",
        times[times.size() / 2], times.first(), times.last());
    delete root.mainWindow();
    return 0;
}
