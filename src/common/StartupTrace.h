#pragma once

// Marks on the way from main() to the main window on the screen, for the start-up benchmark and for anyone
// asking where the time of a start goes. With ZELKORA_STARTUP_TRACE set (to anything but empty or "0"), each
// mark is one line on the standard error stream:
//     zelkora-startup <monotonic clock in microseconds> <name>
// The clock is CLOCK_MONOTONIC, the one QElapsedTimer reads, so a program that started the process can place
// the marks on its own clock. Without the variable a mark costs one test of a flag read once.
namespace StartupTrace {
bool enabled();
// `name` is a literal: a few words that say what has just been done.
void mark(const char* name);
} // namespace StartupTrace
