#pragma once

#include "platform/RandomSource.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace kelvrast::testing {

// Hands out the numbers the test scripted, in order; running out is a test error.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::vector<float> numbers) : numbers(std::move(numbers)) {}

    std::vector<float> numbers;
    std::size_t drawn = 0;
    std::vector<std::uint32_t> seeds;
    // When the script runs out, keep handing out this number instead of failing.
    bool repeatLast = false;

    void seed(std::uint32_t value) override { seeds.push_back(value); }
    float next() override {
        if (drawn < numbers.size())
            return numbers[drawn++];
        if (repeatLast && !numbers.empty())
            return numbers.back();
        throw std::logic_error("ScriptedRandom: no more scripted numbers");
    }
};

} // namespace kelvrast::testing
