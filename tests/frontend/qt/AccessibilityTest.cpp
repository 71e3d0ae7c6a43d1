#include "WindowUnderTest.h"

#include <QAccessible>

#include <set>
#include <string>

namespace kelvrast::testing {
namespace {

// The role a screen reader is told for each kind of control. The picture boxes' role is left to their frame and
// not checked.
QAccessible::Role roleOf(form::Kind kind) {
    switch (kind) {
    case form::Kind::commandButton:
        return QAccessible::Button;
    case form::Kind::textBox:
        return QAccessible::EditableText;
    case form::Kind::listBox:
        return QAccessible::List;
    case form::Kind::optionButton:
        return QAccessible::RadioButton;
    case form::Kind::label:
        return QAccessible::StaticText;
    case form::Kind::pictureBox:
    case form::Kind::timer:
        break;
    }
    return QAccessible::NoRole;
}

class AccessibleControl : public ::testing::TestWithParam<form::Control> {};

// Read through the accessibility interface, as assistive technology reads it, not from the widget's properties.
TEST_P(AccessibleControl, AnnouncesItsRoleAndName) {
    const form::Control& row = GetParam();
    WindowUnderTest run;
    run.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.window));
    QWidget* control = run.control(row);
    ASSERT_TRUE(control);
    QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(control);
    ASSERT_TRUE(announced);
    if (roleOf(row.kind) != QAccessible::NoRole) {
        EXPECT_EQ(announced->role(), roleOf(row.kind));
    }
    EXPECT_EQ(announced->text(QAccessible::Name).toStdString(), toQString(row.spokenName()).toStdString());
    EXPECT_FALSE(announced->state().invisible);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, AccessibleControl, ::testing::ValuesIn(placedControls()),
                         [](const auto& info) { return info.param.objectName(); });

TEST(Accessibility, TableCoversEveryControlOfTheWindow) {
    WindowUnderTest run;
    std::set<std::string> listed;
    for (const form::Control& row : placedControls())
        listed.insert(row.objectName());
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
    EXPECT_EQ(names.size(), form::tabOrder().size());
}

// The buttons too narrow to show their captions still say them in full, as name and as description.
TEST(Accessibility, NarrowButtonsCarryTheirFullCaptionAsNameAndTooltip) {
    WindowUnderTest run;
    int narrow = 0;
    for (const form::Control& row : placedControls()) {
        if (!row.narrow)
            continue;
        ++narrow;
        SCOPED_TRACE(row.objectName());
        QWidget* button = run.control(row);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->toolTip(), toQString(row.caption));
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(button);
        EXPECT_EQ(announced->text(QAccessible::Name), toQString(row.caption));
        EXPECT_EQ(announced->text(QAccessible::Description), toQString(row.caption));
    }
    EXPECT_GT(narrow, 0);
}

TEST(Accessibility, WindowPresentsItsControlsUnderItsTitle) {
    WindowUnderTest run;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&run.window);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->text(QAccessible::Name), toQString(form::windowTitle));
    std::set<std::string> reachable;
    for (int i = 0; i < window->childCount(); ++i)
        reachable.insert(window->child(i)->object()->objectName().toStdString());
    for (const form::Control& row : placedControls())
        EXPECT_TRUE(reachable.count(row.objectName())) << row.objectName();
}

} // namespace
} // namespace kelvrast::testing
