#pragma once

#include <cstddef>
#include <functional>
#include <optional>

namespace kelvrast::form {

// Where Tab (or Shift+Tab, backwards) moves the focus among count tab stops in tab order: from the stop at current
// to the next one that can take the focus now, round from the last to the first; from none, to the first (or the
// last) that can. Nothing when none can.
std::optional<std::size_t> nextTabStop(std::size_t count, std::optional<std::size_t> current, bool backwards,
                                       const std::function<bool(std::size_t)>& canTakeFocus);

} // namespace kelvrast::form
