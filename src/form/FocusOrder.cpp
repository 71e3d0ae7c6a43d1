#include "form/FocusOrder.h"

namespace kelvrast::form {

std::optional<std::size_t> nextTabStop(std::size_t count, std::optional<std::size_t> current, bool backwards,
                                       const std::function<bool(std::size_t)>& canTakeFocus) {
    if (count == 0)
        return std::nullopt;
    const std::size_t step = backwards ? count - 1 : 1;
    std::size_t next = 0;
    if (!current || *current >= count)
        next = backwards ? count - 1 : 0;
    else
        next = (*current + step) % count;
    for (std::size_t tried = 0; tried < count; ++tried, next = (next + step) % count)
        if (canTakeFocus(next))
            return next;
    return std::nullopt;
}

} // namespace kelvrast::form
