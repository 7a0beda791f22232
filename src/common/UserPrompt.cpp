#include "UserPrompt.h"

#include <cstdio>

namespace {
ConsolePrompt g_console;
UserPrompt* g_prompt = nullptr;
} // namespace

UserPrompt* UserPrompt::current()
{
    return g_prompt ? g_prompt : &g_console;
}

void UserPrompt::install(UserPrompt* prompt)
{
    g_prompt = prompt;
}

void ConsolePrompt::information(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

bool ConsolePrompt::question(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return false;
}
