// What the student types and has not recorded yet comes back at the next start under the same name, and only then.
#include "flow/Draft.h"
#include "support/LogicHarness.h"
#include "support/MemoryDraftStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kelvrast;
using namespace kelvrast::testing;

namespace {

const std::size_t questionRow = static_cast<std::size_t>(&form::control("txt_question") - form::controls().data());
const std::size_t answerRow = static_cast<std::size_t>(&form::control("txt_answer") - form::controls().data());
const std::u16string typed = u"Half an answer: \u03a9 \U0001F600 \u00e9\r\nsecond line";

// One run of the program on fakes, with drafts kept in a store that outlives it, as the disk outlives a kill.
struct StudentRun {
    TempFolder& home;
    FakeClock clock;
    ScriptedRandom random{{0.5f}};
    SystemFiles files;
    ScriptedDialogs dialogs;
    FakeTextBoxes boxes;
    FakePictureBox picture1, picture2;
    FakeProgramEnd programEnd;
    FakeBeep beep;
    FakeTimer pendulumTimer, draftTimer;
    Platform platform;
    MainWindowLogic logic;

    StudentRun(TempFolder& folder, MemoryDraftStore& store)
        : home(folder), platform{clock,  random,    files,     dialogs,        programEnd, beep,
                                 &boxes, &picture1, &picture2, &pendulumTimer, &store,     &draftTimer},
          logic(platform, home.path() / "kelvrast") {
        random.repeatLast = true;
    }

    void start(const std::u16string& name) {
        dialogs.inputs.push_back(name);
        ASSERT_TRUE(logic.load().ok());
    }
    // The student types into the Answer box, and a moment passes.
    void type(const std::u16string& text) {
        boxes.answer += text;
        logic.controlChanged(answerRow);
        draftTimer.elapse();
    }
};

// The draft as it was on the disk before the command, once the command has recorded the text.
void recordedThenKilled(StudentRun& run, void (MainWindowLogic::*command)()) {
    run.logic.keepDraftNow();
    auto& store = static_cast<MemoryDraftStore&>(*run.platform.drafts);
    const auto before = store.files();
    run.dialogs.choices.push_back(true);
    (run.logic.*command)();
    run.logic.keepDraftNow();
    for (const auto& [name, bytes] : before)
        store.put(name, bytes);
    run.boxes.answer = typed;
}

} // namespace

TEST(DraftTest, TheTypedTextComesBackUntilItIsRecordedOrEmptied) {
    struct Case {
        const char* name;
        std::function<void(StudentRun&)> then;
        bool kept;
        const char16_t* nextName = u"Ann Lee";
    };
    const std::vector<Case> cases = {
        {"killed", [](StudentRun& run) { run.logic.keepDraftNow(); }, true},
        {"closed through the frame", [](StudentRun& run) { run.logic.windowClosed(); }, true},
        {"quit program", [](StudentRun& run) { run.logic.quitClicked(); }, true},
        {"typed into the Question box only",
         [](StudentRun& run) {
             run.boxes.answer.clear();
             run.boxes.question += u" and a remark";
             run.logic.controlChanged(questionRow);
             run.logic.windowClosed();
         },
         true},
        {"Enter Response",
         [](StudentRun& run) {
             run.dialogs.choices.push_back(true);
             run.logic.enterResponseClicked();
             run.logic.windowClosed();
         },
         false},
        {"Save as Notes",
         [](StudentRun& run) {
             run.dialogs.choices.push_back(true);
             run.logic.saveAsNotesClicked();
             run.logic.windowClosed();
         },
         false},
        {"Enter Response, gone back",
         [](StudentRun& run) {
             run.logic.enterResponseClicked();
             run.logic.windowClosed();
         },
         true},
        {"Clear",
         [](StudentRun& run) {
             run.logic.clearClicked();
             run.logic.windowClosed();
         },
         false},
        {"Clear, the Question box typed in",
         [](StudentRun& run) {
             run.boxes.question += u" and a remark";
             run.logic.controlChanged(questionRow);
             run.logic.clearClicked();
             run.logic.windowClosed();
         },
         true},
        {"the next entry",
         [](StudentRun& run) {
             run.logic.nextQuestionClicked();
             run.logic.windowClosed();
         },
         false},
        {"every character deleted",
         [](StudentRun& run) {
             run.boxes.question.clear();
             run.boxes.answer.clear();
             run.logic.controlChanged(answerRow);
             run.logic.windowClosed();
         },
         false},
        {"another student starts", [](StudentRun& run) { run.logic.windowClosed(); }, false, u"Bob Ray"},
        // Killed once the blocks were in but before the draft went: the start keeps the answer, which the draft must
        // not offer to record a second time.
        {"killed between Enter Response's record and its draft's removal",
         [](StudentRun& run) { recordedThenKilled(run, &MainWindowLogic::enterResponseClicked); }, false},
        {"killed between Save as Notes' record and its draft's removal",
         [](StudentRun& run) { recordedThenKilled(run, &MainWindowLogic::saveAsNotesClicked); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder home;
        MemoryDraftStore store;
        std::u16string question, answer;
        {
            StudentRun first(home, store);
            first.start(u"Ann Lee");
            first.logic.nextQuestionClicked();
            first.type(typed);
            c.then(first);
            question = first.boxes.question;
            answer = first.boxes.answer;
        }
        StudentRun next(home, store);
        next.start(c.nextName);
        EXPECT_EQ(next.boxes.question, c.kept ? question : u"");
        EXPECT_EQ(next.boxes.answer, c.kept ? answer : u"");
        EXPECT_EQ(next.dialogs.messages.size(), c.kept ? 1u : 0u);
    }
}

TEST(DraftTest, ADraftThatIsNotWholeOrNotTheStudentsIsNotPutBack) {
    const Draft ann{u"Ann Lee", u"Q", typed};
    const std::string whole = draftBytes(ann);
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string changed = whole;
    changed.back() ^= 1;
    const std::vector<Case> cases = {
        {"cut short", whole.substr(0, whole.size() - 1)},
        {"grown", whole + "x"},
        {"a byte changed", changed},
        {"another format", "Half an answer"},
        {"an odd length", whole.substr(0, whole.find("\r\n") + 2) + "1 0 0 0000000000000000\r\nx"},
        {"another name's", draftBytes({u"Ann_Lee", u"Q", typed})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder home;
        MemoryDraftStore store;
        store.put(draftFileName(u"Ann Lee"), c.bytes);
        StudentRun run(home, store);
        run.start(u"Ann Lee");
        EXPECT_EQ(run.boxes.answer, u"");
        ASSERT_EQ(run.dialogs.messages.size(), 1u);
        EXPECT_NE(run.dialogs.messages[0].find(u"not put back"), std::u16string::npos) << c.name;
    }
    ASSERT_TRUE(parseDraft(whole).ok());
    EXPECT_EQ(parseDraft(whole).value(), ann);
}

TEST(DraftTest, ADraftThatCannotBeWrittenIsToldOnceAndRecordingGoesOn) {
    TempFolder home;
    MemoryDraftStore store;
    StudentRun run(home, store);
    run.start(u"Ann Lee");
    run.logic.nextQuestionClicked();
    store.setFailing(true);
    for (int keystroke = 0; keystroke < 3; ++keystroke) {
        run.type(u"a");
        run.logic.keepDraftNow();
    }
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    EXPECT_NE(run.dialogs.messages[0].find(u"the disk is full"), std::u16string::npos);
    run.logic.enterResponseClicked();
    EXPECT_EQ(run.boxes.answer, u"");
    EXPECT_NE(readBytes(run.logic.state().masterFilePath).find("aaa"), std::string::npos);
    EXPECT_EQ(run.dialogs.messages.size(), 1u);
}
