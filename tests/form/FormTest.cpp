#include "form/Form.h"
#include "form/CaptionFit.h"
#include "form/FocusOrder.h"
#include "form/Scaling.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelvrast::testing {
namespace {

using form::Control;
using form::Kind;

// The check that keeps the form's buttons and the logic's commands one to one, on tables that break it each way.
TEST(Form, EveryButtonRunsACommandOfItsOwn) {
    std::vector<Control> table(form::controls().begin(), form::controls().end());
    EXPECT_TRUE(form::everyButtonRunsACommandOfItsOwn(table));

    Control* clear = nullptr;
    Control* quit = nullptr;
    for (Control& each : table) {
        if (each.name == "cmd_clear")
            clear = &each;
        if (each.name == "cmd_quit")
            quit = &each;
    }
    ASSERT_TRUE(clear && quit);
    const auto breaks = [&table](const char* how, auto change) {
        std::vector<Control> broken = table;
        change(broken);
        EXPECT_FALSE(form::everyButtonRunsACommandOfItsOwn(broken)) << how;
    };
    const std::size_t clearRow = static_cast<std::size_t>(clear - table.data());
    const std::size_t quitRow = static_cast<std::size_t>(quit - table.data());
    breaks("a button without a command", [&](std::vector<Control>& t) { t[clearRow].command.reset(); });
    breaks("a label with a command", [&](std::vector<Control>& t) { t.back().command = form::Command::clear; });
    breaks("two buttons for one command", [&](std::vector<Control>& t) { t[clearRow].command = t[quitRow].command; });
    breaks("a command without a button", [&](std::vector<Control>& t) { t.erase(t.begin() + clearRow); });
}

TEST(Form, FocusMovesThroughTheControlsInTheOrderAStudentMeetsThem) {
    const std::vector<std::string> expected = {"txt_question",
                                               "txt_answer",
                                               "cmdNextQuestion",
                                               "cmd_enter_response",
                                               "Picture1",
                                               "Picture2",
                                               "opt_stop_at_periods",
                                               "op_stop_at_paragraphs",
                                               "cmd_save_as_notes",
                                               "cmd_Make_Paragraph_question",
                                               "cmd_timerTrigger",
                                               "List1",
                                               "txt_parameter_0",
                                               "txt_parameter_1",
                                               "txt_parameter_2",
                                               "txt_parameter_3",
                                               "cmd_displayCumulativeText",
                                               "cmd_display_note_file",
                                               "cmd_quit",
                                               "cmd_pend_exp",
                                               "cmd_clear"};
    std::vector<std::string> order;
    for (const Control* each : form::tabOrder())
        order.push_back(each->objectName());
    EXPECT_EQ(order, expected);
}

TEST(Form, EachLabelTakesTheTabIndexJustBeforeItsBox) {
    for (int i = 0; i < 4; ++i) {
        const Control& label = form::control("lbl_parameter_" + std::to_string(i));
        const Control& box = form::control("txt_parameter_" + std::to_string(i));
        EXPECT_EQ(label.tabIndex + 1, box.tabIndex) << i;
        EXPECT_FALSE(label.isTabStop());
        EXPECT_EQ(label.caption, u"Parameter " + std::u16string(1, char16_t(u'1' + i)));
        // The label stands to the left of its box, on the same row.
        EXPECT_EQ(label.place.top, box.place.top);
        EXPECT_LE(label.place.right(), box.place.left);
    }
}

TEST(Form, EveryControlLiesInsideTheClientAreaInWholePixels) {
    int rightmost = 0, lowest = 0;
    std::set<std::string> names;
    std::set<int> tabIndexes;
    for (const Control& each : form::controls()) {
        EXPECT_TRUE(names.insert(each.objectName()).second) << each.objectName();
        if (each.kind == Kind::timer)
            continue;
        EXPECT_TRUE(tabIndexes.insert(each.tabIndex).second) << each.objectName();
        for (int edge : {each.place.left, each.place.top, each.place.width, each.place.height})
            EXPECT_EQ(edge % form::twipsPerPixelAt96Dpi, 0) << each.objectName();
        rightmost = std::max(rightmost, each.place.right());
        lowest = std::max(lowest, each.place.bottom());
    }
    EXPECT_EQ(form::control("cmd_quit").place.right(), 10455);
    // The Answer box and Picture2 reach furthest right.
    EXPECT_EQ(rightmost, form::control("txt_answer").place.right());
    EXPECT_EQ(rightmost, form::control("Picture2").place.right());
    // List1 reaches lowest, below parameter box 3.
    EXPECT_EQ(form::control("txt_parameter_3").place.bottom(), 8445);
    EXPECT_EQ(lowest, form::control("List1").place.bottom());
    EXPECT_LE(rightmost, form::clientWidthTwips);
    EXPECT_LE(lowest, form::clientHeightTwips);
    EXPECT_EQ(*tabIndexes.rbegin(), 24);
    EXPECT_EQ(tabIndexes.size(), 25u);
}

TEST(Form, TwoPairsOverlapByOnePixel) {
    EXPECT_EQ(form::control("cmd_Make_Paragraph_question").place.right() -
                  form::control("cmd_display_note_file").place.left,
              form::twipsPerPixelAt96Dpi);
    EXPECT_EQ(form::control("cmdNextQuestion").place.bottom() - form::control("txt_question").place.top,
              form::twipsPerPixelAt96Dpi);
    // The Question box is created after the button it overlaps, so it lies on top.
    const auto& all = form::controls();
    auto position = [&](std::string_view name) {
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].objectName() == name)
                return i;
        return all.size();
    };
    EXPECT_GT(position("txt_question"), position("cmdNextQuestion"));
}

TEST(Form, OnlyTheLargeBoxesAreMultiLineInArial) {
    for (const Control& each : form::controls()) {
        const bool large = each.name == "txt_question" || each.name == "txt_answer";
        EXPECT_EQ(each.multiLine, large) << each.objectName();
        EXPECT_EQ(each.font == form::Font::arial9Point75, large) << each.objectName();
    }
    EXPECT_THROW(form::control("txt_parameter_4"), std::out_of_range);
}

// Twips and the picture boxes' user scale become the same pixels in every window.
TEST(Form, TwipsAndThePictureScaleBecomePixels) {
    struct Place {
        int twips, dpi, pixels;
    };
    for (const Place& row : std::vector<Place>{
             {15, 96, 1}, {7320, 96, 488}, {7320, 120, 610}, {15, 144, 2}, {8, 144, 1}, {7, 96, 0}, {10875, 192, 1450}})
        EXPECT_EQ(form::twipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " at " << row.dpi;
    // Two controls that touch at 96 dpi touch at every other.
    const form::TwipsRect left{240, 720, 5175, 5055};
    const form::TwipsRect right{left.right(), 720, 225, 5055};
    for (int dpi : {96, 120, 144, 168, 192})
        EXPECT_EQ(form::placeAt(left, dpi).right, form::placeAt(right, dpi).left) << dpi;

    struct Circle {
        float x, y, radius, scale;
        std::optional<form::PixelCircle> pixels; // on a surface of 500 by 250 pixels
    };
    for (const Circle& row : std::vector<Circle>{{500, 500, 100, 1000, form::PixelCircle{250, 125, 50}},
                                                 {500, 500, -100, 1000, form::PixelCircle{250, 125, 50}},
                                                 {500, 500, 100, 0, std::nullopt},
                                                 {4e10f, 0, 1, 1000, std::nullopt},
                                                 {0, 0, 4e10f, 1000, std::nullopt}}) {
        const auto made = form::circleInPixels(row.x, row.y, row.radius, row.scale, row.scale, 500, 250);
        ASSERT_EQ(made.has_value(), row.pixels.has_value()) << row.x << ", " << row.radius;
        if (made) {
            EXPECT_DOUBLE_EQ(made->centreX, row.pixels->centreX);
            EXPECT_DOUBLE_EQ(made->centreY, row.pixels->centreY);
            EXPECT_DOUBLE_EQ(made->radius, row.pixels->radius);
        }
    }
}

// A caption shrinks one pixel at a time to the largest height that holds it, never below six points.
TEST(Form, ACaptionShrinksToTheLargestHeightThatHoldsIt) {
    struct Fit {
        int own, dpi, widest; // the caption fits at widest pixels or below
        int height;
    };
    for (const Fit& row : std::vector<Fit>{{13, 96, 13, 13}, {13, 96, 11, 11}, {13, 96, 3, 8}, {26, 192, 3, 16}})
        EXPECT_EQ(form::fittingHeight(row.own, row.dpi, [&](int height) { return height <= row.widest; }), row.height)
            << row.own << " at " << row.dpi << ", fitting at " << row.widest;
    EXPECT_TRUE(form::shrinksToFit(form::control("cmdNextQuestion")));
    for (const char* keepsItsFont : {"txt_answer", "txt_parameter_0", "Picture1", "cmd_display_note_file"})
        EXPECT_FALSE(form::shrinksToFit(form::control(keepsItsFont))) << keepsItsFont;
}

// Tab and Shift+Tab go round the tab stops, passing over those that cannot take the focus now.
TEST(Form, TabMovesRoundTheStopsThatCanTakeTheFocus) {
    struct Move {
        std::optional<std::size_t> from;
        bool backwards;
        std::vector<bool> usable;
        std::optional<std::size_t> to;
    };
    const std::vector<bool> all(4, true);
    for (const Move& row : std::vector<Move>{{0, false, all, 1},
                                             {3, false, all, 0},
                                             {0, true, all, 3},
                                             {std::nullopt, false, all, 0},
                                             {std::nullopt, true, all, 3},
                                             {0, false, {true, false, false, true}, 3},
                                             {3, true, {true, false, false, true}, 0},
                                             {1, false, {false, true, false, false}, 1},
                                             {1, false, {false, false, false, false}, std::nullopt},
                                             {std::nullopt, false, {}, std::nullopt}}) {
        const auto to = form::nextTabStop(row.usable.size(), row.from, row.backwards,
                                          [&](std::size_t stop) { return static_cast<bool>(row.usable[stop]); });
        EXPECT_EQ(to, row.to) << "from " << row.from.value_or(99) << (row.backwards ? " back" : "");
    }
}

} // namespace
} // namespace kelvrast::testing
