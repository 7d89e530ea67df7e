// Radio buttons: a click by the user selects the button and clears the others of its group box;
// the program sets one button alone.
#include <QRadioButton>

#include "tests/gui/window_fixture.h"

namespace {

using RadioButtons = ShownWindow;

const Control kTimeOptions[] = {Control::单选框1, Control::单选框2, Control::单选框3,
                                Control::单选框4, Control::单选框5, Control::单选框6};
const Control kSources[] = {Control::单选框EX1, Control::单选框EX2, Control::单选框EX3,
                            Control::单选框EX6, Control::单选框EX8, Control::单选框EX7};

TEST_F(RadioButtons, SettingFromTheProgramChangesThatButtonAlone) {
    window_->SetSelected(Control::单选框1, true);
    window_->SetSelected(Control::单选框5, true);
    EXPECT_TRUE(window_->IsSelected(Control::单选框1));
    EXPECT_TRUE(window_->IsSelected(Control::单选框5));
    EXPECT_TRUE(window_->IsSelected(Control::单选框6));

    window_->SetSelected(Control::单选框6, false);
    EXPECT_FALSE(window_->IsSelected(Control::单选框6));
    EXPECT_TRUE(window_->IsSelected(Control::单选框1));
}

TEST_F(RadioButtons, UserClickSelectsTheButtonAndClearsTheRestOfItsGroupBoxOnly) {
    for (Control control : kTimeOptions) {
        window_->SetSelected(control, true);
    }
    QTest::mouseClick(Find<QRadioButton>("单选框2"), Qt::LeftButton);
    for (Control control : kTimeOptions) {
        EXPECT_EQ(window_->IsSelected(control), control == Control::单选框2) << static_cast<int>(control);
    }
    // The other group boxes keep their states.
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX1));
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX5));
}

TEST_F(RadioButtons, ClickOnASelectedButtonKeepsItSelected) {
    QTest::mouseClick(Find<QRadioButton>("单选框EX1"), Qt::LeftButton);
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX1));
    for (Control control : kSources) {
        EXPECT_EQ(window_->IsSelected(control), control == Control::单选框EX1) << static_cast<int>(control);
    }
}

TEST_F(RadioButtons, SpaceBarActsLikeAClick) {
    auto* manual = Find<QRadioButton>("单选框EX4");
    Focus(manual);
    QTest::keyClick(manual, Qt::Key_Space);
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX4));
    EXPECT_FALSE(window_->IsSelected(Control::单选框EX5));
}

TEST_F(RadioButtons, ProgramSelectionLeavesTheOtherButtonsUntouched) {
    int toggledOthers = 0;
    QObject::connect(Find<QRadioButton>("单选框6"), &QRadioButton::toggled, [&](bool) { ++toggledOthers; });
    window_->SetSelected(Control::单选框3, true);
    EXPECT_EQ(toggledOthers, 0) << "selecting from the program must not clear 单选框6";
}

}  // namespace
