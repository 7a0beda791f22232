#pragma once

#include <QString>

// The entry that starts the program hidden in the tray when the user's desktop session starts: an XDG autostart
// file $XDG_CONFIG_HOME/autostart/<program file name>.desktop running the program with "/quiet".
// The functions report failure by their result and show nothing; the exit command ignores failures.
// `programFile` is the program's full path; empty means the running program.
namespace AutoStart {
QString entryPath(const QString& programFile = QString());
// The entry's Exec value: the program path (quoted when it needs to be) followed by " /quiet".
QString execLine(const QString& programFile = QString());

bool entryExists(const QString& programFile = QString());
// Writes the entry, replacing one that is there, so it always names the current program path.
bool writeEntry(const QString& programFile = QString());
// True when no entry is left.
bool removeEntry(const QString& programFile = QString());

// The exit command's step: the entry is refreshed while "General"/"AutoStart" of SMS.INI is on (also when
// the key is missing) and removed when it is off. Changing the setting therefore takes effect at the next
// exit, not at once.
bool maintain(const QString& programFile = QString());
} // namespace AutoStart
