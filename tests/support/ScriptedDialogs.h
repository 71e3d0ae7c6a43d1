#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvrast::testing {

// Dialogs whose answers the test sets beforehand; every text shown is kept for the test to read.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<std::string> inputs;
    std::deque<bool> choices;
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    std::vector<std::string> questions;

    std::string inputText(const std::string& prompt) override {
        prompts.push_back(prompt);
        if (inputs.empty())
            return {};
        std::string answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
    void message(const std::string& text) override { messages.push_back(text); }
    bool choose(const std::string& text, const std::string&, const std::string&) override {
        questions.push_back(text);
        if (choices.empty())
            return false;
        bool answer = choices.front();
        choices.pop_front();
        return answer;
    }
};

} // namespace kelvrast::testing
