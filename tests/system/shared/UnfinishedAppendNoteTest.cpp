#include "system/shared/UnfinishedAppend.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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
    // The stamped form: others may be none, the stamp is a whole number, and nothing follows it.
    const std::string checksum = " 0123456789abcdef";
    EXPECT_EQ(unfinished::parseNoteHead("append 1 5 0" + checksum + " -42\n")->stamp, -42);
    for (const std::string bad : {" 42 \n", " 4x2\n", " \n", " 42 7\n"})
        EXPECT_FALSE(unfinished::parseNoteHead("append 1 5 0" + checksum + bad)) << bad;
    EXPECT_FALSE(unfinished::parseNoteHead("append 1 5 0" + checksum + "\n")); // no others needs the stamp
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

// A note of appends to several files is longer than the sector that a power cut keeps whole: one kept only in part
// (the old note's bytes, zeros, or cut short past the head) must not be read as live, or its stale entries would
// cut a file that an editor shortened since.
TEST(UnfinishedAppendNoteTest, ANoteOfSeveralFilesCountsOnlyWhenWhole) {
    const std::vector<unfinished::NotedAppend> appends = {
        {{}, 1234, "master block\r\n"}, {"send_0107Ann.txt", 99, "send block\r\n"}, {"notes_Ann.txt", 0, "notes\r\n"}};
    const std::string note = unfinished::noteOf(appends);
    const auto parsed = unfinished::parseNote(note + "what an older, longer note left");
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ((*parsed)[i].file, appends[i].file);
        EXPECT_EQ((*parsed)[i].sizeBefore, appends[i].sizeBefore);
        EXPECT_EQ((*parsed)[i].block, appends[i].block);
    }
    const std::size_t headEnd = note.find('\n') + 1;
    for (std::size_t at = headEnd; at < note.size(); ++at) {
        std::string changed = note;
        changed[at] = changed[at] == '\0' ? 'x' : '\0';
        EXPECT_FALSE(unfinished::parseNote(changed)) << "byte " << at << " changed";
        EXPECT_FALSE(unfinished::parseNote(note.substr(0, at))) << "cut at " << at;
    }
    // A name that leads out of the folder is no note of ours, checksum or not.
    for (const char* name : {"../send.txt", "sub/send.txt", "sub\\send.txt", "..", ""})
        EXPECT_FALSE(unfinished::parseNote(unfinished::noteOf({appends[0], {name, 99, "send block\r\n"}}))) << name;
    // A stamped note of one file counts only when whole too: its bytes are taken out whatever they are.
    const std::string stamped = unfinished::stampedNoteOf({appends[0]}, 1700000000000000000);
    ASSERT_TRUE(unfinished::parseNote(stamped));
    for (std::size_t at = stamped.find('\n') + 1; at < stamped.size(); ++at) {
        std::string changed = stamped;
        changed[at] = changed[at] == '\0' ? 'x' : '\0';
        EXPECT_FALSE(unfinished::parseNote(changed)) << "byte " << at << " changed";
    }
    // One append alone keeps the form of the head above, which an earlier version wrote.
    EXPECT_EQ(unfinished::noteOf({appends[0]}), unfinished::noteHead(1234, 14) + "master block\r\n");
}
