#include "flow/QuestionBank.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace kelvrast {
namespace {

const std::string paragraphBreak = "\r\n\r\n";

MainWindowState filledState(const std::filesystem::path& folder = "c:\\kelvrast") {
    MainWindowState state;
    state.folderPath = folder;
    loadQuestionBank(state);
    return state;
}

std::vector<std::string> paragraphsOf(const std::string& entry) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t found; (found = entry.find(paragraphBreak, start)) != std::string::npos;) {
        result.push_back(entry.substr(start, found - start));
        start = found + paragraphBreak.size();
    }
    result.push_back(entry.substr(start));
    return result;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

TEST(QuestionBankTest, FillsIndexesOneToFourteenOnly) {
    const MainWindowState state = filledState();
    EXPECT_EQ(state.bankIndex, 14);
    ASSERT_EQ(state.questionBank.size(), 5001u);
    EXPECT_EQ(state.questionBank[0], "");
    for (int index = 15; index <= 5000; ++index) {
        ASSERT_EQ(state.questionBank[index], "") << "index " << index;
    }
    for (int index : {2, 4, 6, 8, 12, 14}) {
        EXPECT_EQ(state.questionBank[index], "") << "index " << index;
    }
    EXPECT_EQ(state.questionBank[1], "001.  Only assignment:  fenwick asst");
    EXPECT_EQ(state.questionBank[13], "end program");
}

TEST(QuestionBankTest, EachParagraphOpensWithItsFixedWords) {
    const MainWindowState state = filledState();
    struct Opening {
        int index;
        std::size_t paragraph;
        std::string words;
    };
    const Opening openings[] = {
        {3, 0,
         "`q001.  Part 1 includes six activities.  If you have completed an activity, just enter the answer "
         "'completed'. "},
        {3, 1, "This question is appearing in the Question box."},
        {3, 2,
         "To use this program you read a question, then enter your answer in the Answer box and click on Enter "
         "Answer."},
        {3, 3, "After entering an answer click on Next Question/Answer above the Question box."},
        {3, 4, "Do you understand these instructions?"},
        {5, 0, "This program has created the folder c:\\kelvrast on your hard drive.  "},
        {5, 1, "Browse to that folder and locate the file whose name begins with SEND."},
        {5, 2, "Never tamper with a SEND file in any way."},
        {5, 3, "State in the Answer box whether or not you have been able to locate the SEND file."},
        {7, 0,
         "`q002.  Note that every time you click on Enter Answer the program writes your response to your SEND "
         "file."},
        {9, 0,
         "Any time the instructor does not post a response to your access site by the end of the following "
         "day, you should resubmit your work using the Submit Work form"},
        {9, 1, "If you don't know where your access site is or how to access it, go to "},
        {9, 2, "https://www.example.org/"},
        {10, 0, "`q003.  If you are working on a TARN computer,"},
        {11, 0, "Once more, locate the SEND file in your c:\\kelvrast folder, and open the file."},
        {11, 1, "You may now click on the Quit button, or simply close the program."},
    };
    for (const Opening& opening : openings) {
        const auto paragraphs = paragraphsOf(state.questionBank[opening.index]);
        ASSERT_LT(opening.paragraph, paragraphs.size()) << "entry " << opening.index;
        EXPECT_TRUE(startsWith(paragraphs[opening.paragraph], opening.words))
            << "entry " << opening.index << " paragraph " << opening.paragraph + 1 << ": "
            << paragraphs[opening.paragraph];
    }
}

TEST(QuestionBankTest, ParagraphsThatAreGivenWholeAreExact) {
    const MainWindowState state = filledState();
    EXPECT_EQ(paragraphsOf(state.questionBank[3])[0], "`q001.  Part 1 includes six activities.  If you have "
                                                      "completed an activity, just enter the answer 'completed'. ");
    EXPECT_EQ(paragraphsOf(state.questionBank[3])[3],
              "After entering an answer click on Next Question/Answer above the Question box.");
    EXPECT_EQ(paragraphsOf(state.questionBank[3])[4], "Do you understand these instructions?");
    EXPECT_EQ(paragraphsOf(state.questionBank[5])[0],
              "This program has created the folder c:\\kelvrast on your hard drive.  ");
    EXPECT_EQ(paragraphsOf(state.questionBank[9])[1],
              "If you don't know where your access site is or how to access it, go to ");
    EXPECT_EQ(paragraphsOf(state.questionBank[11])[1],
              "You may now click on the Quit button, or simply close the program.");

    const std::string accessCode = paragraphsOf(state.questionBank[9])[2];
    const std::string afterAddress = " and request one now.  You can submit the q_a_fenwick without your access "
                                     "code, but other assignments should contain your code.";
    ASSERT_GT(accessCode.size(), afterAddress.size());
    EXPECT_EQ(accessCode.substr(accessCode.size() - afterAddress.size()), afterAddress);
    EXPECT_EQ(accessCode.substr(0, accessCode.size() - afterAddress.size()).find(' '), std::string::npos)
        << "the address is one word: " << accessCode;
}

TEST(QuestionBankTest, HoldsOneAssignmentThreeQuestionsAndOneEnd) {
    const MainWindowState state = filledState();
    std::vector<std::string> questionNumbers;
    int assignments = 0;
    int ends = 0;
    for (const std::string& entry : state.questionBank) {
        if (startsWith(entry, "`q")) {
            questionNumbers.push_back(entry.substr(2, 4));
        }
        assignments += startsWith(entry, "001.") ? 1 : 0;
        ends += entry == "end program" ? 1 : 0;
        EXPECT_FALSE(startsWith(entry, "002")) << entry;
        EXPECT_FALSE(startsWith(entry, "####.#")) << entry;
    }
    EXPECT_EQ(questionNumbers, (std::vector<std::string>{"001.", "002.", "003."}));
    EXPECT_EQ(assignments, 1);
    EXPECT_EQ(ends, 1);
}

TEST(QuestionBankTest, LineBreaksOnlySeparateParagraphs) {
    const MainWindowState state = filledState();
    const std::vector<std::pair<int, std::size_t>> paragraphCounts = {{1, 1}, {3, 5},  {5, 4},  {7, 1},
                                                                      {9, 3}, {10, 1}, {11, 2}, {13, 1}};
    for (const auto& [index, count] : paragraphCounts) {
        const auto paragraphs = paragraphsOf(state.questionBank[index]);
        EXPECT_EQ(paragraphs.size(), count) << "entry " << index;
        for (const std::string& paragraph : paragraphs) {
            // An empty paragraph would mean a break at an end of the entry or a doubled break.
            EXPECT_FALSE(paragraph.empty()) << "entry " << index;
            EXPECT_EQ(paragraph.find_first_of("\r\n"), std::string::npos) << "entry " << index << ": " << paragraph;
        }
    }
}

TEST(QuestionBankTest, HoldsOnlyPrintableAsciiAndLineBreaks) {
    const MainWindowState state = filledState();
    for (int index = 1; index <= 14; ++index) {
        for (char c : state.questionBank[index]) {
            const bool printable = c >= ' ' && c <= '~';
            EXPECT_TRUE(printable || c == '\r' || c == '\n')
                << "entry " << index << " holds code " << static_cast<int>(static_cast<unsigned char>(c));
        }
    }
}

TEST(QuestionBankTest, NamesTheFolderTheFilesAreIn) {
    const MainWindowState state = filledState(std::filesystem::path(u8"/home/zoë/kelvrast"));
    const std::string folder = "/home/zo\xEB/kelvrast";
    EXPECT_EQ(paragraphsOf(state.questionBank[5])[0],
              "This program has created the folder " + folder + " on your hard drive.  ");
    EXPECT_TRUE(startsWith(state.questionBank[11], "Once more, locate the SEND file in your " + folder +
                                                       " folder, and open "
                                                       "the file."))
        << state.questionBank[11];
    for (int index = 1; index <= 14; ++index) {
        EXPECT_EQ(state.questionBank[index].find("c:\\kelvrast"), std::string::npos) << "entry " << index;
    }
}

TEST(QuestionBankTest, NamesAFolderWhoseNameIsNotValidText) {
    // Names that no text can hold: bytes that are not UTF-8 on POSIX, a lone surrogate on Windows.
#ifdef _WIN32
    const std::filesystem::path folder(L"c:\\zo\xD800\\kelvrast");
    const std::string shown = "c:\\zo?\\kelvrast";
#else
    const std::filesystem::path folder("/home/zo\xFF/kelvrast");
    const std::string shown = "/home/zo?/kelvrast";
#endif
    const MainWindowState state = filledState(folder);
    EXPECT_EQ(state.bankIndex, 14);
    EXPECT_EQ(paragraphsOf(state.questionBank[5])[0],
              "This program has created the folder " + shown + " on your hard drive.  ");
}

TEST(QuestionBankTest, NamesTheFixedFolderWhenNoneWasSet) {
    EXPECT_EQ(filledState(std::filesystem::path()).questionBank, filledState().questionBank);
}

TEST(QuestionBankTest, StopsAtTheEndOfTheTable) {
    MainWindowState state;
    state.folderPath = "c:\\kelvrast";
    state.bankIndex = 4990;
    loadQuestionBank(state);
    const MainWindowState full = filledState();
    for (int index = 1; index <= 10; ++index) {
        EXPECT_EQ(state.questionBank[4990 + index], full.questionBank[index]) << "entry " << index;
    }
    EXPECT_EQ(state.questionBank.size(), 5001u);
}

} // namespace
} // namespace kelvrast
