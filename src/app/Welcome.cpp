#include "Welcome.h"

#include "settings/ProfileFile.h"
#include "settings/RegistryStore.h"
#include "settings/SmsIni.h"

#include <QFileInfo>

namespace {
const QString ShownValue = QStringLiteral("WelcomeShown");

bool& firstStart()
{
    static bool value = false;
    return value;
}

bool& guided()
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
    firstStart() = !QFileInfo::exists(SmsIni::defaultPath());
}

bool Welcome::isFirstStart()
{
    return firstStart();
}

void Welcome::setFirstStart(bool value)
{
    firstStart() = value;
}

void Welcome::guideWindows(bool on)
{
    guided() = on;
}

bool Welcome::windowsGuided()
{
    return guided();
}

bool Welcome::alreadyShown()
{
    return ProfileFile(RegistryStore::currentUserFile()).ReadBool(RegistryStore::programKey(), ShownValue, false);
}

void Welcome::markShown()
{
    try {
        ProfileFile(RegistryStore::currentUserFile()).WriteBool(RegistryStore::programKey(), ShownValue, true);
    } catch (...) {
        // A store that cannot be written shows the box again at the next first start; nothing else is lost.
    }
}
