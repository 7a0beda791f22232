#pragma once

namespace ChromiumSetup {
// Tells Chromium, once and before its first use, how this program runs it. Every page of the library
// calls it before it is made.
void prepare();
} // namespace ChromiumSetup
