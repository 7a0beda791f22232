#pragma once

#include "common/UserPrompt.h"

#include <QString>

// The desktop program's answers to UserPrompt: modal message boxes with the program's title, right to
// left like the rest of the program.
class MessageBoxPrompt : public UserPrompt
{
public:
    void information(const QString& text) override;
    // A warning box with Yes and No; closing it counts as No.
    bool question(const QString& text) override;

    // Installs this prompt as UserPrompt::current() and a message box with an error icon as the general
    // error handler (ErrorReport). The prompt lives as long as the program.
    static void installForDesktop();
};
