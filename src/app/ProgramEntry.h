#pragma once

#include "engine/TSMSBaseForm.h"

#include <QString>
#include <QStringList>

class SingleInstance;
class THiddenForm;
class TMsgForm;

// The desktop program's entry: one running copy per user, the hidden root window first, then the main
// window, shown at once unless the first argument is "/quiet".
namespace ProgramEntry {
struct Arguments
{
    bool quiet = false; // the first argument is exactly "/quiet" (letter case counts)
    QString serviceUrl; // --service-url URL or --service-url=URL; empty when not given
    bool teach = false; // --teach: the teach window opens, the main window starts as with "/quiet"
    QString smsLink; // an sms: or smsto: argument (a link the desktop hands over); empty when none
};

// The program's arguments without the program name. The options are taken out before the first
// remaining argument is compared with "/quiet".
Arguments parse(const QStringList& arguments);

// Makes the main window under the hidden root window and, without "/quiet", posts the request that
// shows it once events are processed; with "/quiet" on a desktop without a notification area, minimises it.
// `makeBrowser` replaces the browser library (tests).
TMsgForm* start(const Arguments& arguments, THiddenForm& hiddenForm, TSMSBaseForm::BrowserMaker makeBrowser = {});

// The running copy's answers to later copies: a toggle, the teach window, an sms: link, each handed to the
// main window of the moment.
void answerLaterCopies(SingleInstance& instance, THiddenForm& hiddenForm);

int run(int argc, char** argv);
} // namespace ProgramEntry
