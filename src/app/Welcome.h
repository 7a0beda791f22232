#pragma once

// The first start's welcome: when it opens, and what the program remembers about it. No widgets here; the
// box itself is WelcomeBox.
namespace Welcome {
// The box opens on the first start only (no settings file yet), while no provider at all is known, and
// never again once the user closed it.
bool shouldShow(bool firstStart, bool providersKnown, bool alreadyShown);

// Notes whether this is the first start: SMS.INI did not exist yet. Called once at the program's start,
// before anything may write the file.
void noteProgramStart();
bool isFirstStart();
// Tests and the picture maker set it directly.
void setFirstStart(bool firstStart);

// Whether the main windows the program makes guide a new user's first steps (the status line's word when
// no provider is known, the welcome box). The program's start turns it on; a window made without it (a test
// of something else) shows only what its description says.
void guideWindows(bool on);
bool windowsGuided();

// The box was closed once ("WelcomeShown" under the program's registry key).
bool alreadyShown();
void markShown();
} // namespace Welcome
