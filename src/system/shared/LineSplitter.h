#pragma once

#include "platform/Files.h"

#include <string>
#include <string_view>

namespace kelvrast {

// Cuts a file's bytes, handed over in chunks of any size, into lines: a line ends at CR, an LF right after the
// CR is dropped, and an LF on its own stays inside the line. A last line without a line end counts once
// finish() is called; an empty file has no line.
class LineSplitter {
public:
    explicit LineSplitter(const LineSink& sink) : sink_(sink) {}

    void feed(std::string_view chunk);
    void finish();

private:
    const LineSink& sink_;
    std::string line_;
    bool lineOpen_ = false;         // something has been read since the last line end
    bool dropNextLineFeed_ = false; // the last character was the CR that ended a line
};

} // namespace kelvrast
