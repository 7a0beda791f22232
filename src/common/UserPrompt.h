#pragma once

#include <QString>

// Questions and notices for the user. Code without windows asks through this interface; the desktop
// program answers with message boxes, the command line on its streams, and tests with prepared answers.
class UserPrompt
{
public:
    virtual ~UserPrompt() = default;
    // An information box with one OK button; returns when the user has closed it.
    virtual void information(const QString& text) = 0;
    // A yes/no question; true for yes.
    virtual bool question(const QString& text) = 0;

    // The prompt in use; never null (a console prompt until a program installs its own).
    static UserPrompt* current();
    // Installs a prompt (not owned); null restores the console prompt.
    static void install(UserPrompt* prompt);
};

// Writes notices to the standard error stream and answers every question with "no".
class ConsolePrompt : public UserPrompt
{
public:
    void information(const QString& text) override;
    bool question(const QString& text) override;
};
