#include "system/shared/LineSplitter.h"

namespace kelvrast {

void LineSplitter::feed(std::string_view chunk) {
    if (chunk.empty())
        return;
    if (dropNextLineFeed_ && chunk.front() == '\n')
        chunk.remove_prefix(1);
    dropNextLineFeed_ = false;
    while (!chunk.empty()) {
        const std::size_t cr = chunk.find('\r');
        if (cr == std::string_view::npos) {
            line_.append(chunk);
            lineOpen_ = true;
            return;
        }
        // A line that lies whole in the chunk goes out without a copy.
        if (line_.empty())
            sink_(chunk.substr(0, cr));
        else {
            line_.append(chunk.substr(0, cr));
            sink_(line_);
            line_.clear();
        }
        lineOpen_ = false;
        chunk.remove_prefix(cr + 1);
        if (chunk.empty())
            dropNextLineFeed_ = true;
        else if (chunk.front() == '\n')
            chunk.remove_prefix(1);
    }
}

void LineSplitter::finish() {
    if (lineOpen_)
        sink_(line_);
    line_.clear();
    lineOpen_ = false;
}

} // namespace kelvrast
