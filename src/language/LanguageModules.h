#pragma once

#include <QString>

class QTranslator;

// The interface-language modules. A module is a compiled Qt translation next to the program file, named after
// the program file up to its first "." plus "." and a three-letter language code: "zelkora.ENU". At most one is
// active: it is installed into the application, and every text translated from then on comes from it; without
// one the program's own Hebrew texts stand.
//
// Each module says its reading direction as its translation of "QT_LAYOUT_DIRECTION" in the context
// "QGuiApplication" ("LTR" or "RTL"); the application's layout direction follows the active module.
namespace LanguageModules {
// The module base of a program file: its folder plus its file name up to the first ".". Dots in the
// folder's name stay: "/opt/z.1/zelkora.bin" gives "/opt/z.1/zelkora".
QString moduleBaseFor(const QString& programFile);
// The module base of the running program: in its own folder, or in the install's data folder when only
// that one holds modules of the program's name.
QString programModuleBase();

// The file of the module for `code`: base + "." + code when that entry exists; otherwise the folder's entry
// whose name is the same regardless of letter case, as on the file system the modules were designed for.
// Empty when there is none, and for a code that is empty or holds a path separator.
QString moduleFile(const QString& base, const QString& code);

// Loads the module of `code` and makes it the active one; returns it (the application owns it). A module
// that is missing or is no translation changes nothing and gives null. Shows nothing.
QTranslator* LoadLanguageModule(const QString& base, const QString& code);
// Makes `module` the active module, or none when it is null; the application takes it. The module active
// before is removed from the application and deleted. The layout direction follows.
void SetResourceModule(QTranslator* module);
QTranslator* activeModule();
// The file the active module was loaded from; empty without one.
QString activeModuleFile();

// Sets the application's layout direction from the active module; right to left (the built-in Hebrew)
// without a module or when the module does not say.
void applyLayoutDirection();

// The start-up step, run while the hidden root window is created: loads the module of the registry value
// "Language" (the desktop's language when it is empty or missing; none when the store cannot be read) and sets the layout
// direction. A missing or damaged module leaves the built-in texts, silently.
void loadAtStartUp();
void loadAtStartUp(const QString& moduleBase);
} // namespace LanguageModules
