// Reports where the program would find its own files, the way the programs look them up: the test copies it
// into made-up install layouts under the name "zelkora".
#include "common/AppPaths.h"
#include "engine/BrowserLoader.h"
#include "language/LanguageModules.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto print
        = [](const char* key, const QString& value) { std::printf("%s=%s\n", key, value.toUtf8().constData()); };
    print("appDir", AppPaths::appDir());
    print("helpFile", AppPaths::resourceFile(QStringLiteral("Zelkora_heb.HLP")));
    print("moduleBase", LanguageModules::programModuleBase());
    print("library", BrowserLoader::libraryPath());
    return 0;
}
