#pragma once

#include "form/Form.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kelvrast::testing {

// One control of each kind that takes the focus, for tests that try a key or a paste in every kind.
inline const std::vector<std::string> oneControlOfEachFocusedKind{
    "txt_answer", "txt_question",          "txt_parameter_0", "cmdNextQuestion",
    "cmd_clear",  "op_stop_at_paragraphs", "List1",           "Picture1"};

// The tab stop after the named one, or before it, round from the last to the first, in the form's tab order.
inline std::string tabStopBeside(const std::string& name, bool backwards) {
    std::vector<std::string> order;
    for (const form::Control* each : form::tabOrder())
        order.push_back(each->objectName());
    const auto at = std::find(order.begin(), order.end(), name);
    const std::size_t index = static_cast<std::size_t>(at - order.begin());
    return order[(index + (backwards ? order.size() - 1 : 1)) % order.size()];
}

} // namespace kelvrast::testing
