// Constructs the engine the way the programs do and reports whether the browser library got loaded.
#include "engine/BrowserLoader.h"
#include "engine/TSMSBaseForm.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TSMSBaseForm engine;
    std::printf("status %d loaded %d\n", int(engine.Status), BrowserLoader::isLoaded() ? 1 : 0);
    return 0;
}
