#pragma once

#include <QString>
#include <QStringList>

// The program's registry values. A key is a section of a profile file named by the key's path:
// - the current user's keys are in $XDG_CONFIG_HOME/zelkora/registry.ini, written by the program;
// - the machine's keys are read-only, in zelkora/registry.ini under the first folder of $XDG_CONFIG_DIRS
//   (default /etc/xdg) whose file holds the key; an administrator or a package puts them there.
// Nothing here shows a message: a key that cannot be opened reads as the text the callers expect for it.
namespace ProgramSettings {
// "Software\Halvern Systems\Corvalent"
QString programKey();

QString currentUserFile();
// The machine files in the order they are searched.
QStringList localMachineFiles();

// The interface language code: the desktop's (desktopLanguage) when the value is missing or empty, "" when the
// current user's store cannot be opened at all (the file exists but cannot be read).
QString readLanguage();
// The language a first start takes, where none is stored: the desktop's, "ENU" for English and "HEB" for
// Hebrew and every language the program has no module for.
QString desktopLanguage();
// Raises ZelkoraError when the store cannot be written.
void writeLanguage(const QString& code);

// The installation type "Type" of the machine's program key; "" when the key or the value is missing.
QString readInstallationType();
} // namespace ProgramSettings
