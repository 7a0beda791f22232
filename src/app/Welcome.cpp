#include "Welcome.h"

#include "settings/ProfileFile.h"
#include "settings/ProgramSettings.h"
#include "settings/SmsIni.h"

#include <QFileInfo>

namespace {
const QString ShownValue = QStringLiteral("WelcomeShown");

bool& firstStartFlag()
{
    static bool value = false;
    return value;
}

bool& guidedFlag()
{
    static bool value = false;
    return value;
}
} // namespace

bool Welcome::shouldShow(bool firstStart, bool providersKnown, bool alreadyShown)
{
    return firstStart && !providersKnown && !alreadyShown;
}

void Welcome::noteProgramStart()
{
    firstStartFlag() = !QFileInfo::exists(SmsIni::defaultPath());
}

bool Welcome::isFirstStart()
{
    return firstStartFlag();
}

void Welcome::setFirstStart(bool firstStart)
{
    firstStartFlag() = firstStart;
}

void Welcome::guideWindows(bool on)
{
    guidedFlag() = on;
}

bool Welcome::windowsGuided()
{
    return guidedFlag();
}

bool Welcome::alreadyShown()
{
    return ProfileFile(ProgramSettings::currentUserFile()).ReadBool(ProgramSettings::programKey(), ShownValue, false);
}

void Welcome::markShown()
{
    try {
        ProfileFile(ProgramSettings::currentUserFile()).WriteBool(ProgramSettings::programKey(), ShownValue, true);
    } catch (...) {
        // A store that cannot be written shows the box again at the next first start; nothing else is lost.
    }
}
