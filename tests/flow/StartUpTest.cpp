#include "flow/StudentFileNames.h"
#include "support/LogicHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;

TEST(StartUpTest, DerivesTheThreePathsFromTheNameAndOneReadingOfTheDate) {
    LogicHarness run;
    run.clock.dateText = "01-07-2027";
    ASSERT_TRUE(run.start(u"Alpha Beta Gamma").ok());

    const auto& state = run.state();
    EXPECT_EQ(state.folderPath, run.folder());
    EXPECT_EQ(state.masterFilePath, run.folder() / "masterFile_Alpha_Beta_Gamma.txt");
    EXPECT_EQ(state.sendFilePath, run.folder() / "send_0107Alpha_Beta_Gamma.txt");
    EXPECT_EQ(state.notesFilePath, run.folder() / "notes_Alpha_Beta_Gamma.txt");
    EXPECT_EQ(run.clock.dateReads, 1);
    EXPECT_EQ(run.dialogs.prompts, std::vector<std::u16string>{u"Your full name:  "});
    EXPECT_TRUE(std::filesystem::is_directory(run.folder()));
    EXPECT_TRUE(std::filesystem::exists(state.sendFilePath));
}

TEST(StartUpTest, BlanksBecomeUnderscoresAndCancelGivesEmptyNames) {
    EXPECT_EQ(fileNamePart(u" Ab  Cd "), u"_Ab__Cd_");

    LogicHarness run;
    run.clock.dateText = "12-31-2026";
    ASSERT_TRUE(run.start(u"").ok());
    EXPECT_EQ(run.state().masterFilePath, run.folder() / "masterFile_.txt");
    EXPECT_EQ(run.state().sendFilePath, run.folder() / "send_1231.txt");
    EXPECT_EQ(run.state().notesFilePath, run.folder() / "notes_.txt");
}

TEST(StartUpTest, SetsTheRunsFixedState) {
    LogicHarness run;
    ASSERT_TRUE(run.start(u"Zoë Brontë").ok());
    const auto& state = run.state();
    EXPECT_EQ(state.assignmentTitle, "qa fenwick");
    EXPECT_EQ(state.assignmentNumber, "001");
    EXPECT_EQ(state.nextAssignmentNumber, "002");
    EXPECT_EQ(state.answerPrompt,
              "Enter, as appropriate, an answer to the question, a critique of your answer in response to a given "
              "answer, your insights regarding the situation at this point, notes to yourself, or just an OK.");
    EXPECT_EQ(state.presentationMode, 1);
    EXPECT_EQ(state.bankIndex, 1);
    EXPECT_EQ(run.random.seeds, std::vector<std::uint32_t>{run.clock.seconds});
    const std::vector<std::string> scales{"height 1000", "width 1000"};
    EXPECT_EQ(run.picture1.calls, scales);
    EXPECT_EQ(run.picture2.calls, scales);
    EXPECT_TRUE(std::filesystem::exists(run.folder() / std::filesystem::path(u"send_0107Zo\u00EB_Bront\u00EB.txt")));
}

TEST(StartUpTest, CodeNumberIsAWholeNumberFrom19To28EvenForTheLargestDraws) {
    struct Case {
        float r;
        float codeNumber;
    };
    for (Case c : {Case{0.0f, 19}, Case{0.1f, 20}, Case{0.5f, 24}, Case{0.99999988f, 28}, Case{0.99999994f, 28}}) {
        LogicHarness run;
        run.random.numbers = {c.r};
        ASSERT_TRUE(run.start(u"Ann").ok());
        EXPECT_EQ(run.state().codeNumber, c.codeNumber) << "r = " << c.r;
    }
}

TEST(StartUpTest, RefusesNamesThatCannotBeFileNamesAndAsksAgain) {
    for (const std::u16string& bad :
         std::vector<std::u16string>{u"A/B", u"..\\x", u"a:b", u"a*b", u"what?", u"say \"hi\"", u"<a>", u"a|b",
                                     u"tab\there", std::u16string(241, u'n')}) {
        EXPECT_TRUE(nameProblem(bad).has_value()) << ::testing::PrintToString(bad);
    }
    for (const std::u16string& good : std::vector<std::u16string>{u"", u" ", u"José", u"Zoë Brontë", u"王芳",
                                                                  u"O'Brien-Smith", std::u16string(240, u'n')})
        EXPECT_FALSE(nameProblem(good).has_value()) << ::testing::PrintToString(good);

    LogicHarness run;
    run.dialogs.inputs = {u"../../escape", u"Ann/Lee"};
    ASSERT_TRUE(run.start(u"Ann Lee").ok());
    ASSERT_EQ(run.dialogs.messages.size(), 2u);
    EXPECT_NE(run.dialogs.messages[0].find(u"/"), std::u16string::npos);
    EXPECT_EQ(run.dialogs.prompts.size(), 3u);
    EXPECT_EQ(run.state().masterFilePath, run.folder() / "masterFile_Ann_Lee.txt");
    // Nothing was made outside the working folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(run.home.path()), {}), 1);
}

// Windows without long paths refuses a path of MAX_PATH characters or more, so a name is judged by the longest path
// it makes in the working folder, the files beside the answer files included: a name just under and at the longest
// allowed is taken, one character more is refused with the length a name may have, and the prompt comes again.
TEST(StartUpTest, ANameWhoseLongestPathWouldPassTheSystemsLimitIsRefused) {
    // Each run's temporary folder has a length of its own: the limit lies a fixed way beyond it.
    const auto limitOf = [](const LogicHarness& run) { return run.folder().native().size() + 100; };
    LogicHarness probe;
    probe.files.pathLimit = limitOf(probe);
    probe.dialogs.inputs = {std::u16string(150, u'n')};
    ASSERT_TRUE(probe.start(u"Ann").ok());
    ASSERT_EQ(probe.dialogs.messages.size(), 1u);
    const std::u16string& refusal = probe.dialogs.messages[0];
    const std::size_t numberAt = refusal.find(u"at most ");
    ASSERT_NE(numberAt, std::u16string::npos) << ::testing::PrintToString(refusal);
    const std::size_t longest =
        std::stoul(std::string(refusal.begin() + numberAt + 8, refusal.begin() + numberAt + 10));

    for (std::size_t length : {longest - 1, longest, longest + 1}) {
        LogicHarness run;
        run.files.pathLimit = limitOf(run);
        run.dialogs.inputs = {std::u16string(length, u'n')};
        ASSERT_TRUE(run.start(u"Ann").ok());
        if (length > longest) {
            EXPECT_EQ(run.dialogs.messages, std::vector<std::u16string>{refusal});
            EXPECT_EQ(run.state().masterFilePath, run.folder() / "masterFile_Ann.txt");
            continue;
        }
        EXPECT_TRUE(run.dialogs.messages.empty()) << length;
        run.logic.nextQuestionClicked();
        run.boxes.answer = u"an answer";
        run.logic.saveAsNotesClicked();
        std::size_t madeLongest = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(run.folder()))
            madeLongest = std::max(madeLongest, entry.path().native().size());
        EXPECT_EQ(madeLongest, limitOf(run) - (longest - length)) << length;
    }
}

TEST(StartUpTest, TheNameRuleCountsUtf8BytesAndRefusesHalvesOfSurrogatePairs) {
    const char16_t high = 0xD83D, low = 0xDE00; // together, U+1F600
    const std::u16string emoji{high, low};
    auto times = [](std::u16string_view piece, int count) {
        std::u16string text;
        for (int i = 0; i < count; ++i)
            text += piece;
        return text;
    };
    // 240 bytes of UTF-8 is the most a name can take, whatever the characters' sizes.
    for (const std::u16string& good : {times(u"\u00E9", 120), times(u"\u738B", 80), times(emoji, 60),
                                       std::u16string(u"\u00A0\u00FF"), u"Zo" + emoji})
        EXPECT_FALSE(nameProblem(good).has_value()) << ::testing::PrintToString(good);
    for (const std::u16string& tooLong : {times(u"\u00E9", 121), times(u"\u738B", 81), times(emoji, 61)})
        EXPECT_EQ(nameProblem(tooLong),
                  u"The name is too long to be used for your answer files. Please type a shorter form of your name.");

    for (const std::u16string& control : std::vector<std::u16string>{u"a\u007Fb", u"\u0080", u"Ann\u0085", u"\u009F"})
        EXPECT_EQ(nameProblem(control), u"The name cannot be used for your answer files because it contains a control "
                                        u"character, which file names cannot hold. Please type your name again.")
            << ::testing::PrintToString(control);
    for (const std::u16string& half :
         {u"Ann" + std::u16string(1, high), std::u16string(1, low) + u"Ann", std::u16string{low, high}})
        EXPECT_EQ(nameProblem(half),
                  u"The name cannot be used for your answer files because it contains an "
                  u"incomplete character, which file names cannot hold. Please type your name again.")
            << ::testing::PrintToString(half);
    EXPECT_EQ(nameProblem(u"Ann\u00E9/Lee"),
              u"The name cannot be used for your answer files because it contains the "
              u"character /, which file names cannot hold. Please type your name again.");
    EXPECT_EQ(nameProblem(u".."), u"The name cannot be used for your answer files. Please type your name again.");
}

TEST(StartUpTest, NamesBeyondAsciiGiveTheirOwnFileNames) {
    LogicHarness run;
    run.dialogs.inputs = {u"\u738B\u82B3" + std::u16string(1, char16_t(0xD83D))};
    ASSERT_TRUE(run.start(u"\u738B\u82B3 \U0001F600").ok());
    EXPECT_EQ(run.dialogs.messages.size(), 1u) << "the name with half a surrogate pair is refused and asked again";
    const auto& state = run.state();
    EXPECT_EQ(state.masterFilePath, run.folder() / std::filesystem::path(u"masterFile_\u738B\u82B3_\U0001F600.txt"));
    EXPECT_EQ(state.sendFilePath, run.folder() / std::filesystem::path(u"send_0107\u738B\u82B3_\U0001F600.txt"));
    EXPECT_EQ(state.notesFilePath, run.folder() / std::filesystem::path(u"notes_\u738B\u82B3_\U0001F600.txt"));
    EXPECT_TRUE(state.sendFilePath.filename().u8string() == u8"send_0107王芳_😀.txt");
    EXPECT_TRUE(std::filesystem::exists(state.masterFilePath));
    EXPECT_TRUE(std::filesystem::exists(state.sendFilePath));
}

TEST(StartUpTest, ASecondRunKeepsTheSendFileAndIgnoresTheExistingFolder) {
    LogicHarness first;
    ASSERT_TRUE(first.start(u"Ann").ok());
    const auto sendFile = first.state().sendFilePath;
    const std::string afterFirst = kelvrast::testing::readBytes(sendFile);

    MainWindowLogic second(first.platform, first.folder());
    first.dialogs.inputs.push_back(u"Ann");
    ASSERT_TRUE(second.load().ok());
    const std::string afterSecond = kelvrast::testing::readBytes(sendFile);
    EXPECT_TRUE(afterSecond.starts_with(afterFirst));
    EXPECT_GT(afterSecond.size(), afterFirst.size());
    EXPECT_TRUE(first.dialogs.messages.empty());
}

// A working folder that is missing and cannot be made (on a network drive that is down, say) or that is no full
// path ends the start before the name is asked, and nothing is made in its place.
TEST(StartUpTest, AWorkingFolderThatCannotBeReachedEndsTheStartBeforeTheName) {
    struct Case {
        const char* name;
        std::filesystem::path folder; // under the home folder unless it is no full path
        const char16_t* said;
    };
    const std::vector<Case> cases = {
        {"a folder whose parent is missing", "drive that is down/kelvrast", u"cannot be reached"},
        {"a folder given without its root", "", u"is not a full path"},
        {"a folder that is there", "kelvrast", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogicHarness run;
        const std::filesystem::path folder = c.folder.empty() ? "kelvrast" : run.home.path() / c.folder;
        std::filesystem::create_directories(run.home.path() / "kelvrast");
        MainWindowLogic logic(run.platform, folder);
        run.dialogs.inputs.push_back(u"Ann");
        const Status started = logic.load();
        EXPECT_EQ(started.ok(), c.said == nullptr);
        if (c.said) {
            EXPECT_NE(started.message().find(c.said), std::u16string::npos)
                << ::testing::PrintToString(started.message());
            EXPECT_TRUE(run.dialogs.prompts.empty());
            EXPECT_FALSE(std::filesystem::exists(run.home.path() / "drive that is down"));
            EXPECT_FALSE(std::filesystem::exists("kelvrast"));
        }
    }
}
