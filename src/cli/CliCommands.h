#pragma once

#include <QString>
#include <QStringList>

// The command-line front end: send, providers, refresh and check over the same core as the desktop program.
namespace CliCommands {
enum ExitCode
{
    ExitOk = 0,
    ExitRefused = 1,
    ExitFailed = 2
};

// Makes the application object (a browser needs a GUI one; without a display it runs offscreen) and runs
// the command the arguments name.
int run(int argc, char** argv);
} // namespace CliCommands
