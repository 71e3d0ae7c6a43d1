#pragma once

#include "platform/RandomSource.h"

#include <random>

namespace kelvrast {

// A Mersenne Twister handing out floats in [0, 1). The standard distributions can round up to exactly
// 1.0f, so the number is built from the top 24 bits of a draw instead: at most 1 - 2^-24.
class MersenneRandom : public RandomSource {
public:
    void seed(std::uint32_t value) override { engine_.seed(value); }
    float next() override { return fromBits(engine_()); }

    // The top 24 bits of a draw as a fraction: every float it gives is exact and below 1.
    static float fromBits(std::uint32_t bits) { return static_cast<float>(bits >> 8) * 0x1p-24f; }

private:
    std::mt19937 engine_;
};

} // namespace kelvrast
