#pragma once

#include "flow/AnswerRecords.h"
#include "flow/BoxText.h"

#include <optional>
#include <string>

namespace kelvrast::bench {

// The answer the recording benchmarks enter: a couple of short paragraphs, as a student writes them.
inline const std::u16string typicalAnswer =
    u"The period grew with the length of the string: for 40 cm I counted 20 cycles in 25.4 seconds, so 1.27 s "
    u"each, and for 80 cm 20 cycles took 35.9 seconds, 1.80 s each.\r\n\r\nThe ratio 1.80 / 1.27 = 1.42 is close to "
    u"the square root of 2, which is what the model predicts when the length doubles.";

// The blocks that entering it for the question on the given line puts into the master and SEND files: the bytes
// the bare appends that the program is measured against write.
struct TypicalBlocks {
    std::string master, send;
};

inline TypicalBlocks typicalBlocks(const std::string& entry) {
    const std::string answer = toProgramText(typicalAnswer);
    return {records::answerBlock({"14:05:09", 10001, entry, answer}),
            records::answerBlock({"14:05:09", std::nullopt, entry, answer})};
}

} // namespace kelvrast::bench
