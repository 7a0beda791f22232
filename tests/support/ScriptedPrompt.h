#pragma once

#include "common/UserPrompt.h"

#include <QStringList>

// The user's answers, given in advance: every question is answered with `answer`, and what was asked and
// told is kept. Installed for as long as it lives.
class ScriptedPrompt : public UserPrompt
{
public:
    explicit ScriptedPrompt(bool answer = true)
        : answer(answer)
    {
        UserPrompt::install(this);
    }
    ~ScriptedPrompt() override { UserPrompt::install(nullptr); }
    void information(const QString& text) override { told.append(text); }
    bool question(const QString& text) override
    {
        asked.append(text);
        return answer;
    }

    bool answer = true;
    QStringList asked;
    QStringList told;
};
