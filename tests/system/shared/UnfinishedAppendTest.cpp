#include "system/shared/UnfinishedAppend.h"
#include "support/FilesContract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace kelvrast;
using kelvrast::testing::FilesContract;
using kelvrast::testing::isThere;
using kelvrast::testing::lastWriteStamp;
using kelvrast::testing::makeFolder;
using kelvrast::testing::readBytes;
using kelvrast::testing::removeEntry;
using kelvrast::testing::setLastWriteStamp;
using kelvrast::testing::TempFolder;
using kelvrast::testing::writeBytes;

namespace {

template <typename Implementation> using UnfinishedAppend = FilesContract<Implementation>;

} // namespace

TYPED_TEST_SUITE(UnfinishedAppend, kelvrast::testing::SystemFilesTypes, kelvrast::testing::SystemFilesName);

// A program killed inside write(2) leaves the note of its append and the start of its block at the end of the
// file (the durability tests kill real writers; here both are made by hand). The next append, or the next start's
// touch, takes it out, and empties the note.
TYPED_TEST(UnfinishedAppend, TheStartOfTheLastBlockIsTakenOutOnlyWhenNothingElseChangedTheFile) {
    const std::string first = "whole block\r\n";
    const std::string second = "a block that was being written when the program was killed\r\n";
    struct Case {
        const char* name;
        std::size_t keptOfSecond; // bytes of the second block left by the cut
        std::string changedTail;  // replaces what the cut left, as another program might
        bool viaTouch;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"cut, then appended to", 20, "", false, first + "next\r\n"},
        {"cut, then touched at start-up", 1, "", true, first},
        {"cut inside its last line end", second.size() - 1, "", true, first},
        {"written whole", second.size(), "", true, first + second},
        {"tail changed by another program", 20, "a block that was beinG", true, first + "a block that was beinG"},
        {"nothing of it written", 0, "", true, first},
        // After a power cut the file's new size may have reached the disk before its bytes, which read as zeros.
        {"grown partway, zeros after a power cut", 0, std::string(20, '\0'), true, first},
        {"grown to its whole length, zeros", 0, std::string(second.size(), '\0'), false, first + "next\r\n"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        TypeParam files;
        const auto file = folder.path() / "masterFile_Ann.txt";
        ASSERT_TRUE(files.appendBlock(file, first).ok());
        writeBytes(unfinished::notePath(file), unfinished::noteHead(first.size(), second.size()) + second);
        std::string bytes = first + second.substr(0, c.keptOfSecond);
        if (!c.changedTail.empty())
            bytes = first + c.changedTail;
        writeBytes(file, bytes);

        if (c.viaTouch) {
            EXPECT_TRUE(files.touch(file).ok()) << c.name;
        } else {
            EXPECT_TRUE(files.appendBlock(file, "next\r\n").ok()) << c.name;
        }
        EXPECT_EQ(readBytes(file), c.expected) << c.name;
        EXPECT_FALSE(unfinished::parseNoteHead(readBytes(unfinished::notePath(file)))) << c.name;
    }
}

TYPED_TEST(UnfinishedAppend, ABlockTakenBackOrFollowedByOthersIsNotTouchedAgain) {
    auto& files = this->files;
    const auto& folder = this->folder;
    const auto file = folder.path() / "send.txt";
    ASSERT_TRUE(files.appendBlock(file, "one\r\n").ok());
    Result<AppendReceipt> second = files.appendBlock(file, "two two two\r\n");
    ASSERT_TRUE(second.ok());
    ASSERT_TRUE(files.takeBack(file, second.value()).ok());
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "one\r\n");

    // A note that a kill cut short: its block never reached the file, so there is nothing to take out, and
    // bytes that are not the noted block are never taken out.
    const auto note = unfinished::notePath(file);
    ASSERT_TRUE(isThere(note));
    writeBytes(note, unfinished::noteHead(5, 40) + "thr");
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "one\r\n");
    writeBytes(note, unfinished::noteHead(5, 40) + "three three three three three thre");
    writeBytes(file, "one\r\nthree thrEE");
    ASSERT_TRUE(files.touch(file).ok());
    EXPECT_EQ(readBytes(file), "one\r\nthree thrEE");
}

// A student may edit an answer file between two runs: an editor saves it without its last line end, or the last
// line, or half the last record, is deleted. The repair must tell that from a block cut by a kill: whatever the
// file holds at the next start stays, and the next record follows it.
TYPED_TEST(UnfinishedAppend, AFileShortenedBetweenRunsKeepsEveryByteItHolds) {
    const std::string first = "#1\r\n01:02:03\r\nThe first answer\r\n#9\r\n";
    const std::string last = "#1\r\n01:05:09\r\nThe last answer, with a second line\r\nand its end\r\n#9\r\n";
    const std::string next = "#1\r\n01:07:00\r\nThe next answer\r\n#9\r\n";
    struct Case {
        const char* name;
        std::size_t cut; // bytes taken off the end of the file
    };
    const std::vector<Case> cases = {
        {"the last line end's LF", 1},
        {"the last line end", 2},
        {"the last line", 4},
        {"two lines", 17},
        {"half the last record", last.size() / 2},
        {"all of the last record but a byte", last.size() - 1},
        {"all of the last record", last.size()},
        {"the whole file", first.size() + last.size()},
    };
    // Killed after the last blocks were flushed but before their note was emptied, the run never said the answer
    // was in; the start after it finds the blocks whole and empties the note, before the student edits the file.
    for (const bool killedBeforeTheNoteWent : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) +
                         (killedBeforeTheNoteWent ? ", the run killed before its note went" : ""));
            TempFolder folder;
            const auto master = folder.path() / "masterFile_Ann.txt";
            const auto file = folder.path() / "send_0107Ann.txt";
            auto answer = [&](const std::string& block) {
                return std::vector<PendingBlock>{{master, block}, {file, block}};
            };
            {
                TypeParam run;
                ASSERT_TRUE(run.appendBlocks(answer(first)).ok());
                ASSERT_TRUE(run.appendBlocks(answer(last)).ok());
            }
            if (killedBeforeTheNoteWent) {
                writeBytes(unfinished::notePath(master),
                           unfinished::noteOf({{{}, first.size(), last}, {file.filename(), first.size(), last}}));
                ASSERT_TRUE(TypeParam().touch(master).ok());
                EXPECT_EQ(readBytes(file), first + last);
            }
            const std::string edited = (first + last).substr(0, first.size() + last.size() - c.cut);
            writeBytes(file, edited);

            // The start touches the SEND file, then the master file, whose note covers both.
            TypeParam nextRun;
            ASSERT_TRUE(nextRun.touch(file).ok());
            ASSERT_TRUE(nextRun.touch(master).ok());
            EXPECT_EQ(readBytes(file), edited);
            ASSERT_TRUE(nextRun.appendBlocks(answer(next)).ok());
            EXPECT_EQ(readBytes(file), edited + next);
            EXPECT_EQ(readBytes(master), first + last + next);
        }
}

// The note of an answer's blocks is the master file's and names the others: the start's touch of the master file
// takes out what a cut append left in each, and nothing from a note that a power cut kept only in part.
TYPED_TEST(UnfinishedAppend, TheMasterFilesNoteRepairsEveryFileItNames) {
    const std::string before = "#1\r\n01:02:03\r\nThe first answer\r\n#9\r\n";
    const std::string block = "#1\r\n01:05:09\r\nThe answer that was going in\r\n#9\r\n";
    struct Case {
        const char* name;
        std::size_t keptInSend; // bytes of the block in the SEND file after the cut
        bool noteWhole;
        bool sendThere;
        std::string expectedSend;
        std::size_t keptInMaster = 7;
    };
    const std::vector<Case> cases = {
        {"the SEND file cut partway", 20, true, true, before},
        // None of the answer was acknowledged: the SEND file, which the student submits, does not keep it alone.
        {"the SEND file's block whole", block.size(), true, true, before},
        {"the SEND file gone since", 0, true, false, ""},
        {"the note kept only in part", 20, false, true, before + block.substr(0, 20)},
        // Killed between the two appends: the master file's key line must not move the progress on alone.
        {"the master file's block whole, the SEND file without it", 0, true, true, before, block.size()},
        {"both blocks whole: the answer went in", block.size(), true, true, before + block, block.size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto master = folder.path() / "masterFile_Ann.txt";
        // A name beyond ASCII, as the note names it.
        const auto send = folder.path() / std::filesystem::path(u"send_0107Zo\u00EB_\u738B\u82B3.txt");
        TypeParam files;
        ASSERT_TRUE(files.appendBlocks({{master, before}, {send, before}}).ok());
        std::string note = unfinished::noteOf({{{}, before.size(), block}, {send.filename(), before.size(), block}});
        if (!c.noteWhole)
            note.back() = 'X';
        writeBytes(unfinished::notePath(master), note);
        writeBytes(master, before + block.substr(0, c.keptInMaster));
        if (c.sendThere)
            writeBytes(send, before + block.substr(0, c.keptInSend));
        else
            removeEntry(send);

        ASSERT_TRUE(files.touch(master).ok());
        const bool finished = c.keptInMaster == block.size() && c.keptInSend == block.size();
        EXPECT_EQ(readBytes(master), c.noteWhole && !finished ? before : before + block.substr(0, c.keptInMaster));
        EXPECT_EQ(isThere(send), c.sendThere);
        if (c.sendThere) {
            EXPECT_EQ(readBytes(send), c.expectedSend);
        }
        EXPECT_FALSE(unfinished::parseNoteHead(readBytes(unfinished::notePath(master))));
    }
}

// The program stopped inside an answer with a note of this version, stamped as it was written. What its own
// unfinished write left goes from every file of the answer, whatever its bytes, unless every block is whole; a file
// the student changed after the stop (it is dated later than the write) keeps every byte it holds.
TYPED_TEST(UnfinishedAppend, WhatTheStoppedAnswerLeftGoesAndWhatTheStudentChangedStays) {
    const std::string before = "#1\r\n01:02:03\r\nThe first answer\r\n#9\r\n";
    const std::string block = "#1\r\n01:05:09\r\nThe answer that was going in\r\nwith a second line\r\n#9\r\n";
    const std::string garbage(block.size(), '\x7f');
    const std::string withoutLastLineEnd = block.substr(0, block.size() - 2);
    const std::string withoutLastLine = block.substr(0, block.size() - 4);
    struct Case {
        const char* name;
        std::string masterTail, sendTail; // the files' bytes past before, as the stop left them
        bool sendEdited;                  // then changed by the student, in an editor
        std::string expectedMaster, expectedSend;
        bool clockBehind = false; // the program's clock an hour behind the one that dates files (a network drive)
    };
    const std::vector<Case> cases = {
        {"the SEND file cut partway", block, block.substr(0, 20), false, "", ""},
        {"killed between the two blocks", block, "", false, "", ""},
        {"both whole: the answer went in", block, block, false, block, block},
        // The file's size reached the disk before its data, which reads as old bytes of the disk.
        {"old bytes where the master file's block was to be", garbage.substr(0, 30), "", false, "", ""},
        {"old bytes the whole length of the SEND file's block", block, garbage, false, "", ""},
        {"the SEND file's last line end taken out", block, withoutLastLineEnd, true, block, withoutLastLineEnd},
        {"the SEND file's last line taken out", block, withoutLastLine, true, block, withoutLastLine},
        {"the SEND file's block taken out", block, "", true, "", ""},
        // What the stop left in the master file goes, and the student's SEND file stays as it was saved.
        {"the master file cut, the SEND file edited", block.substr(0, 9), withoutLastLineEnd, true, "",
         withoutLastLineEnd},
        {"the SEND file cut partway, the program's clock behind the disk's", block, block.substr(0, 20), false, "", "",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto master = folder.path() / "masterFile_Ann.txt";
        const auto send = folder.path() / "send_0107Ann.txt";
        TypeParam files;
        ASSERT_TRUE(files.appendBlocks({{master, before}, {send, before}}).ok());
        writeBytes(master, before + c.masterTail);
        writeBytes(send, before + c.sendTail);
        const std::int64_t written = lastWriteStamp(master);
        if (!setLastWriteStamp(send, written + (c.sendEdited ? 60'000'000'000 : 0)))
            GTEST_SKIP() << "this system lets no program date a file";
        writeBytes(unfinished::notePath(master),
                   unfinished::stampedNoteOf({{{}, before.size(), block}, {send.filename(), before.size(), block}},
                                             written - (c.clockBehind ? 3'600'000'000'000 : 1'000'000)));
        setLastWriteStamp(unfinished::notePath(master), written);

        ASSERT_TRUE(files.touch(master).ok());
        EXPECT_EQ(readBytes(master), before + c.expectedMaster);
        EXPECT_EQ(readBytes(send), before + c.expectedSend);
        EXPECT_FALSE(unfinished::parseNoteHead(readBytes(unfinished::notePath(master))));
        ASSERT_TRUE(files.appendBlocks({{master, "next\r\n"}, {send, "next\r\n"}}).ok());
        EXPECT_EQ(readBytes(send), before + c.expectedSend + "next\r\n");
    }
}

// What keeps a repair or the note from being done stops the append before any block goes in: a file that the note
// names and that cannot be opened (a folder here; on Windows a virus scanner holding it does the same), a note that
// cannot be opened. The note stays for the next try, which finishes once the cause has gone.
TYPED_TEST(UnfinishedAppend, AnAppendWhoseRepairOrNoteFailsWritesNothing) {
    const std::string before = "#1\r\n01:02:03\r\nThe first answer\r\n#9\r\n";
    const std::string block = "#1\r\n01:05:09\r\nThe answer that was going in\r\n#9\r\n";
    for (const bool noteBlocked : {false, true}) {
        SCOPED_TRACE(noteBlocked ? "the note cannot be opened" : "a file the note names cannot be opened");
        TempFolder folder;
        const auto master = folder.path() / "masterFile_Ann.txt";
        const auto send = folder.path() / "send_0107Ann.txt";
        const auto other = folder.path() / "send_0108Ann.txt";
        TypeParam files;
        ASSERT_TRUE(files.appendBlocks({{master, before}, {send, before}}).ok());
        std::string left = before;
        const auto note = unfinished::notePath(master);
        if (noteBlocked) {
            removeEntry(note);
            makeFolder(note);
        } else {
            left += block.substr(0, 11);
            writeBytes(master, left);
            removeEntry(send);
            makeFolder(send);
            writeBytes(note,
                       unfinished::stampedNoteOf({{{}, before.size(), block}, {send.filename(), before.size(), block}},
                                                 lastWriteStamp(master)));
        }

        const Status touched = files.touch(master); // the file is there, its repair waits
        EXPECT_TRUE(touched.isLeftUnfinished());
        const Status appended = files.appendBlocks({{master, "next\r\n"}, {other, "next\r\n"}});
        ASSERT_FALSE(appended.ok());
        EXPECT_NE(appended.message().find(noteBlocked ? master.u16string() : send.u16string()), std::u16string::npos);
        EXPECT_EQ(readBytes(master), left);
        EXPECT_FALSE(isThere(other) && !readBytes(other).empty());

        removeEntry(noteBlocked ? note : send);
        if (!noteBlocked)
            writeBytes(send, before);
        ASSERT_TRUE(files.appendBlocks({{master, "next\r\n"}, {other, "next\r\n"}}).ok());
        EXPECT_EQ(readBytes(master), before + "next\r\n");
    }
}
