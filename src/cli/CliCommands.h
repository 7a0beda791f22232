#pragma once

#include <QString>
#include <QStringList>

// The command-line front end: send, providers, refresh and check over the same core as the desktop program.
namespace CliCommands {
enum ExitCode
{
    ExitOk = 0,
    ExitRefused = 1,
    ExitFailed = 2,
    // A message left for the site and no verdict of the site's came: it may have been sent. Wins over
    // ExitFailed, so that a script that sends again on failure never sends it twice.
    ExitUnknown = 3
};

// Makes the application object (a browser needs a GUI one; without a display it runs offscreen) and runs
// the command the arguments name.
int run(int argc, char** argv);
} // namespace CliCommands
