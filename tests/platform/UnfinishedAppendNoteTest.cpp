#include "platform/UnfinishedAppend.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace kelvrast;

// A note is read back after a kill, so it may be cut anywhere or hold what another program left: only a whole,
// well-formed first line counts, and nothing else may lead to a cut of the answer file.
TEST(UnfinishedAppendNoteTest, OnlyAWholeWellFormedHeadIsANote) {
    const std::string head = unfinished::noteHead(1234, 56);
    const std::optional<unfinished::NoteHead> note = unfinished::parseNoteHead(head + "block bytes");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->sizeBefore, 1234u);
    EXPECT_EQ(note->length, 56u);
    EXPECT_EQ(note->blockAt, head.size());

    for (const char* bad :
         {"", "1234 56", "1234\n", "1234 \n", " 1234 56\n", "1234 56 \n", "-1 5\n", "1 -5\n", "1 0\n", "+1 5\n",
          "1x 5\n", "99999999999999999999 5\n", "9223372036854775807 1\n", "1 9223372036854775807\n"})
        EXPECT_FALSE(unfinished::parseNoteHead(std::string("append ") + bad)) << bad;
    EXPECT_TRUE(unfinished::parseNoteHead("append 1234 56\n")); // the form the cases above break
    // The head of an earlier form, whose notes were never emptied: it describes an append that finished.
    EXPECT_FALSE(unfinished::parseNoteHead("1234 56\nblock bytes"));
    // A head longer than any the program writes is not looked for past its limit.
    EXPECT_FALSE(unfinished::parseNoteHead("append " + std::string(unfinished::longestHead, '1') + " 5\n"));
}

TEST(UnfinishedAppendNoteTest, OnlyAFileThatEndsPartwayIntoTheBlockIsUnfinished) {
    const unfinished::NoteHead note{100, 10, 8};
    EXPECT_FALSE(unfinished::endsInsideBlock(note, 99));  // shorter than before: changed by someone else
    EXPECT_FALSE(unfinished::endsInsideBlock(note, 100)); // nothing of the block reached the file
    EXPECT_TRUE(unfinished::endsInsideBlock(note, 101));
    EXPECT_TRUE(unfinished::endsInsideBlock(note, 109));
    EXPECT_FALSE(unfinished::endsInsideBlock(note, 110)); // the block went in whole
}
