#include "WindowUnderTest.h"

#include <QAccessible>

#include <set>
#include <string>

namespace kelvrast::testing {
namespace {

// What a screen reader is told about one control: its role and the name it announces. The picture boxes' role is
// left to their frame and not checked.
struct Announced {
    const char* control;
    QAccessible::Role role;
    const char* name;
};

void PrintTo(const Announced& row, std::ostream* out) {
    *out << row.control;
}

const Announced announcedControls[] = {
    {"cmd_clear", QAccessible::Button, "Clear"},
    {"cmd_pend_exp", QAccessible::Button, "pend exp"},
    {"cmd_quit", QAccessible::Button, "quit program"},
    {"cmd_display_note_file", QAccessible::Button, "display notes"},
    {"cmd_displayCumulativeText", QAccessible::Button, "display SEND file"},
    {"txt_parameter_3", QAccessible::EditableText, "Parameter 4"},
    {"txt_parameter_2", QAccessible::EditableText, "Parameter 3"},
    {"txt_parameter_1", QAccessible::EditableText, "Parameter 2"},
    {"txt_parameter_0", QAccessible::EditableText, "Parameter 1"},
    {"List1", QAccessible::List, "List"},
    {"cmd_timerTrigger", QAccessible::Button, "Trigger Timer"},
    {"cmd_Make_Paragraph_question", QAccessible::Button, "Make Paragraph"},
    {"cmd_save_as_notes", QAccessible::Button, "Save as Notes"},
    {"op_stop_at_paragraphs", QAccessible::RadioButton, "Stop at Paragraphs"},
    {"opt_stop_at_periods", QAccessible::RadioButton, "Stop at Sentences"},
    {"Picture2", QAccessible::NoRole, "Picture 2"},
    {"Picture1", QAccessible::NoRole, "Picture 1"},
    {"cmd_enter_response", QAccessible::Button, "Enter Response"},
    {"cmdNextQuestion", QAccessible::Button, "Next Question / Answer"},
    {"txt_answer", QAccessible::EditableText, "Answer box"},
    {"txt_question", QAccessible::EditableText, "Question box"},
    {"lbl_parameter_3", QAccessible::StaticText, "Parameter 4"},
    {"lbl_parameter_2", QAccessible::StaticText, "Parameter 3"},
    {"lbl_parameter_1", QAccessible::StaticText, "Parameter 2"},
    {"lbl_parameter_0", QAccessible::StaticText, "Parameter 1"},
};

class AccessibleControl : public ::testing::TestWithParam<Announced> {};

// Read through the accessibility interface, as assistive technology reads it, not from the widget's properties.
TEST_P(AccessibleControl, AnnouncesItsRoleAndName) {
    const Announced& row = GetParam();
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    QWidget* control = run.control(row.control);
    ASSERT_TRUE(control);
    QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(control);
    ASSERT_TRUE(announced);
    if (row.role != QAccessible::NoRole) {
        EXPECT_EQ(announced->role(), row.role);
    }
    EXPECT_EQ(announced->text(QAccessible::Name).toStdString(), row.name);
    EXPECT_FALSE(announced->state().invisible);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, AccessibleControl, ::testing::ValuesIn(announcedControls),
                         [](const auto& info) { return std::string(info.param.control); });

TEST(Accessibility, TableCoversEveryControlOfTheWindow) {
    WindowUnderTest run;
    std::set<std::string> listed;
    for (const Announced& row : announcedControls)
        listed.insert(row.control);
    std::set<std::string> present;
    for (QWidget* child : run.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        present.insert(child->objectName().toStdString());
    EXPECT_EQ(present, listed);
}

// A control reached with Tab is told apart from the others by its name alone.
TEST(Accessibility, EveryFocusableControlHasANameOfItsOwn) {
    WindowUnderTest run;
    std::set<QString> names;
    for (QWidget* child : run.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!(child->focusPolicy() & Qt::TabFocus))
            continue;
        const QString name = QAccessible::queryAccessibleInterface(child)->text(QAccessible::Name);
        EXPECT_FALSE(name.trimmed().isEmpty()) << child->objectName().toStdString();
        EXPECT_TRUE(names.insert(name).second) << "two controls are called " << name.toStdString();
    }
    EXPECT_EQ(names.size(), 21u);
}

// The two buttons too narrow to show their captions still say them in full, as name and as description.
TEST(Accessibility, NarrowButtonsCarryTheirFullCaptionAsNameAndTooltip) {
    WindowUnderTest run;
    for (const auto& [control, caption] : {std::pair{"cmd_display_note_file", "display notes"},
                                           std::pair{"cmd_Make_Paragraph_question", "Make Paragraph"}}) {
        SCOPED_TRACE(control);
        QWidget* button = run.control(control);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->toolTip(), QLatin1String(caption));
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(button);
        EXPECT_EQ(announced->text(QAccessible::Name), QLatin1String(caption));
        EXPECT_EQ(announced->text(QAccessible::Description), QLatin1String(caption));
    }
}

TEST(Accessibility, WindowPresentsItsControlsUnderItsTitle) {
    WindowUnderTest run;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&run.window);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Form1"));
    std::set<std::string> reachable;
    for (int i = 0; i < window->childCount(); ++i)
        reachable.insert(window->child(i)->object()->objectName().toStdString());
    for (const Announced& row : announcedControls)
        EXPECT_TRUE(reachable.count(row.control)) << row.control;
}

} // namespace
} // namespace kelvrast::testing
