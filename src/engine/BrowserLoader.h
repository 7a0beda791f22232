#pragma once

#include "IWebBrowser.h"

#include <QString>
#include <memory>

class QObject;

// Finds and loads the browser library (zelkora-browser). Nothing here loads it until a browser is made:
// reading its version only reads the metadata recorded in the file.
namespace BrowserLoader {
// ZELKORA_BROWSER_LIBRARY when set, else zelkora-browser.so next to the program, else in the install's
// library folder beside the program's folder (../lib/<multiarch>/zelkora/ under /usr), else under
// ../lib/zelkora/. Empty when no file is found.
QString libraryPath();
// The embedded Chromium's major version recorded in the library; 0 when the library is missing or its
// metadata cannot be read.
int majorVersion();
// Loads the library and makes a browser; null (with a warning) when it cannot.
std::unique_ptr<IWebBrowser> createBrowser(QObject* parent);
// Loads the library and makes a view in `parent`, which owns it; null (with a warning) when it cannot.
IBrowserView* createView(QWidget* parent);
// True once the library has been loaded into this process.
bool isLoaded();
} // namespace BrowserLoader
