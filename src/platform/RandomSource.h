#pragma once

#include <cstdint>

namespace kelvrast {

// The run's one uniform random generator.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    virtual void seed(std::uint32_t value) = 0;
    // The next single-precision number r with 0 <= r < 1.
    virtual float next() = 0;
};

} // namespace kelvrast
