#pragma once

#include <cstdint>
#include <string>

namespace kelvrast {

// What appending one block tells its caller, so that the block can be taken back again.
struct AppendReceipt {
    std::uintmax_t sizeBefore = 0;
    std::uintmax_t length = 0;
    std::string block; // its bytes, so that only the very block is taken back
};

} // namespace kelvrast
