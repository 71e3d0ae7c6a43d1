#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvrast::testing {

// Dialogs whose answers the test sets beforehand; every text shown is kept for the test to read.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<std::u16string> inputs;
    std::deque<bool> choices;
    std::vector<std::u16string> prompts;
    std::vector<std::u16string> messages;
    std::vector<std::u16string> questions;

    std::u16string inputText(std::u16string_view prompt) override {
        prompts.emplace_back(prompt);
        if (inputs.empty())
            return {};
        std::u16string answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
    void message(std::u16string_view text) override { messages.emplace_back(text); }
    bool choose(std::u16string_view text, std::u16string_view, std::u16string_view) override {
        questions.emplace_back(text);
        if (choices.empty())
            return false;
        bool answer = choices.front();
        choices.pop_front();
        return answer;
    }
};

} // namespace kelvrast::testing
