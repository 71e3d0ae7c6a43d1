#include "flow/StudentFileNames.h"
#include "support/LogicHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kelvrast;
using kelvrast::testing::LogicHarness;

TEST(StartUpTest, DerivesTheThreePathsFromTheNameAndOneReadingOfTheDate) {
    LogicHarness run;
    run.clock.dateText = "01-07-2027";
    ASSERT_TRUE(run.start("Alpha Beta Gamma").ok());

    const auto& state = run.state();
    EXPECT_EQ(state.folderPath, run.folder());
    EXPECT_EQ(state.masterFilePath, run.folder() / "masterFile_Alpha_Beta_Gamma.txt");
    EXPECT_EQ(state.sendFilePath, run.folder() / "send_0107Alpha_Beta_Gamma.txt");
    EXPECT_EQ(state.notesFilePath, run.folder() / "notes_Alpha_Beta_Gamma.txt");
    EXPECT_EQ(run.clock.dateReads, 1);
    EXPECT_EQ(run.dialogs.prompts, std::vector<std::string>{"Your full name:  "});
    EXPECT_TRUE(std::filesystem::is_directory(run.folder()));
    EXPECT_TRUE(std::filesystem::exists(state.sendFilePath));
}

TEST(StartUpTest, BlanksBecomeUnderscoresAndCancelGivesEmptyNames) {
    EXPECT_EQ(fileNamePart(" Ab  Cd "), "_Ab__Cd_");

    LogicHarness run;
    run.clock.dateText = "12-31-2026";
    ASSERT_TRUE(run.start("").ok());
    EXPECT_EQ(run.state().masterFilePath, run.folder() / "masterFile_.txt");
    EXPECT_EQ(run.state().sendFilePath, run.folder() / "send_1231.txt");
    EXPECT_EQ(run.state().notesFilePath, run.folder() / "notes_.txt");
}

TEST(StartUpTest, SetsTheRunsFixedState) {
    LogicHarness run;
    ASSERT_TRUE(run.start("Zoë Brontë").ok());
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
    EXPECT_TRUE(std::filesystem::exists(run.folder() / "send_0107Zoë_Brontë.txt"));
}

TEST(StartUpTest, CodeNumberIsAWholeNumberFrom19To28EvenForTheLargestDraws) {
    struct Case {
        float r;
        float codeNumber;
    };
    for (Case c : {Case{0.0f, 19}, Case{0.1f, 20}, Case{0.5f, 24}, Case{0.99999988f, 28}, Case{0.99999994f, 28}}) {
        LogicHarness run;
        run.random.numbers = {c.r};
        ASSERT_TRUE(run.start("Ann").ok());
        EXPECT_EQ(run.state().codeNumber, c.codeNumber) << "r = " << c.r;
    }
}

TEST(StartUpTest, RefusesNamesThatCannotBeFileNamesAndAsksAgain) {
    for (const std::string& bad : std::vector<std::string>{"A/B", "..\\x", "a:b", "a*b", "what?", "say \"hi\"", "<a>",
                                                           "a|b", std::string("tab\there"), std::string(241, 'n')}) {
        EXPECT_TRUE(nameProblem(bad).has_value()) << bad;
    }
    for (const std::string& good :
         std::vector<std::string>{"", " ", "José", "Zoë Brontë", "王芳", "O'Brien-Smith", std::string(240, 'n')})
        EXPECT_FALSE(nameProblem(good).has_value()) << good;

    LogicHarness run;
    run.dialogs.inputs = {"../../escape", "Ann/Lee"};
    ASSERT_TRUE(run.start("Ann Lee").ok());
    ASSERT_EQ(run.dialogs.messages.size(), 2u);
    EXPECT_NE(run.dialogs.messages[0].find("/"), std::string::npos);
    EXPECT_EQ(run.dialogs.prompts.size(), 3u);
    EXPECT_EQ(run.state().masterFilePath, run.folder() / "masterFile_Ann_Lee.txt");
    // Nothing was made outside the working folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(run.home.path()), {}), 1);
}

TEST(StartUpTest, ASecondRunKeepsTheSendFileAndIgnoresTheExistingFolder) {
    LogicHarness first;
    ASSERT_TRUE(first.start("Ann").ok());
    const auto sendFile = first.state().sendFilePath;
    const std::string afterFirst = kelvrast::testing::readBytes(sendFile);

    MainWindowLogic second(first.platform, first.folder());
    first.dialogs.inputs.push_back("Ann");
    ASSERT_TRUE(second.load().ok());
    const std::string afterSecond = kelvrast::testing::readBytes(sendFile);
    EXPECT_TRUE(afterSecond.starts_with(afterFirst));
    EXPECT_GT(afterSecond.size(), afterFirst.size());
    EXPECT_TRUE(first.dialogs.messages.empty());
}
