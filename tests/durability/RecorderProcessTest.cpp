#include "durability/RecorderProcess.h"
#include "durability/RecorderFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kelvrast;
using namespace kelvrast::testing;
using namespace std::chrono_literals;

// The kill tests believe what the recorder reports and how it ended, so those are checked first.

// The folder reaches the recorder as it was given, blanks and letters outside ASCII included, even those that no
// 8-bit code page of Windows holds together, and so does a name with blanks: the answer files are made there under
// that name.
TEST(RecorderProcessTest, TheRecorderGetsItsFolderAndNameAsGiven) {
    TempFolder home;
    const std::filesystem::path folder =
        home.path() / std::filesystem::path(u8"answers of Zo\u00eb \u0141ukasz \u03a9");
    RecorderProcess recorder({pathArgument(folder), "Sam  Given", "given", "3", "2"});
    const std::optional<RecorderEnd> end = recorder.wait(60s);
    ASSERT_TRUE(end && end->exitedWith(0)) << (end ? end->description : "timed out");
    EXPECT_EQ(recorder.done(), (std::vector<long>{1, 2, 3}));

    const RecorderFile master = readRecorderFile(folder / "masterFile_Sam__Given.txt", AnswerFileKind::master, 2);
    ASSERT_EQ(master.runs.size(), 1u);
    EXPECT_EQ(master.runs[0].tag, "given");
    EXPECT_EQ(master.runs[0].numbers, (std::vector<long>{1, 2, 3}));
    const RecorderFile notes = readRecorderFile(folder / "notes_Sam__Given.txt", AnswerFileKind::notes, 2);
    ASSERT_EQ(notes.runs.size(), 1u);
    EXPECT_EQ(notes.runs[0].numbers, std::vector<long>{2});
}

// A name with letters outside ASCII, typed in UTF-8, names the answer files with those same letters.
TEST(RecorderProcessTest, TheAnswerFilesTakeANameOutsideAsciiAsTyped) {
    TempFolder home;
    const std::filesystem::path folder = home.path() / "kelvrast";
    RecorderProcess recorder({pathArgument(folder), "Zo\xc3\xab \xc3\x9cnal", "named", "2", "0"});
    const std::optional<RecorderEnd> end = recorder.wait(60s);
    ASSERT_TRUE(end && end->exitedWith(0)) << (end ? end->description : "timed out");

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(pathArgument(entry.path().filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"masterFile_Zo\xc3\xab_\xc3\x9cnal.txt",
                                               "send_0107Zo\xc3\xab_\xc3\x9cnal.txt"}));
    const RecorderFile master = readRecorderFile(folder / std::filesystem::path(u8"masterFile_Zo\u00eb_\u00dcnal.txt"),
                                                 AnswerFileKind::master, 0);
    ASSERT_EQ(master.runs.size(), 1u);
    EXPECT_EQ(master.runs[0].numbers, (std::vector<long>{1, 2}));
}

// A recorder that ends by itself is told apart from one that was killed: its exit code, here the one for a
// command line it cannot use.
TEST(RecorderProcessTest, AnEndOfItsOwnIsAnExitWithItsCode) {
    RecorderProcess recorder({"only", "three", "arguments"});
    const std::optional<RecorderEnd> end = recorder.wait(60s);
    ASSERT_TRUE(end) << "timed out";
    EXPECT_TRUE(end->exitedWith(64)) << end->description;
    EXPECT_FALSE(end->killed());
    EXPECT_TRUE(recorder.done().empty());
}

// A recorder that would record for ever ends at the kill, and the kill is what the test is told.
TEST(RecorderProcessTest, AKilledRecorderIsReportedKilled) {
    TempFolder home;
    RecorderProcess recorder({pathArgument(home.path() / "kelvrast"), "Kim Killed", "k", "0", "0"});
    ASSERT_TRUE(recorder.waitForDone(1, 60s));
    recorder.kill();
    const std::optional<RecorderEnd> end = recorder.wait(60s);
    ASSERT_TRUE(end) << "timed out";
    EXPECT_TRUE(end->killed()) << end->description;
    EXPECT_EQ(end->kind, RecorderEnd::Kind::killed);
    ASSERT_FALSE(recorder.done().empty());
    EXPECT_EQ(recorder.done().front(), 1);
}
