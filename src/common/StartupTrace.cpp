#include "StartupTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

bool StartupTrace::enabled()
{
    static const bool on = [] {
        const char* value = std::getenv("ZELKORA_STARTUP_TRACE");
        return value && *value && std::strcmp(value, "0") != 0;
    }();
    return on;
}

void StartupTrace::mark(const char* name)
{
    if (!enabled())
        return;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long microseconds = static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
    // One write per line, so that marks of several threads never mix within a line.
    std::fprintf(stderr, "zelkora-startup %lld %s\n", microseconds, name);
}
