// The input boxes' conveniences: a left-button press on a page box, the custom-site box or a date
// box selects its option and clears the others of its group, before the box handles the press; a
// press on a date box limits the dates that can be picked at that moment.
#include <QCalendarWidget>

#include "tests/gui/window_fixture.h"

namespace {

using InputConveniences = ShownWindow;

// Presses and releases the left button on `control` as the user would: on the part under the point.
void LeftClick(QWidget* control, QPoint point = {5, 5}) {
    QWidget* target = control->childAt(point);
    if (target == nullptr) {
        target = control;
    } else {
        point = target->mapFrom(control, point);
    }
    QTest::mousePress(target, Qt::LeftButton, {}, point);
    QTest::mouseRelease(target, Qt::LeftButton, {}, point);
}

const Control kSources[] = {Control::单选框EX1, Control::单选框EX2, Control::单选框EX3,
                            Control::单选框EX6, Control::单选框EX8, Control::单选框EX7};
const Control kTimeWindows[] = {Control::单选框1, Control::单选框2, Control::单选框3,
                                Control::单选框4, Control::单选框5, Control::单选框6};

struct BoxCase {
    const char* box;
    std::vector<Control> group;     // the radio buttons the step touches, all set beforehand
    std::vector<Control> selected;  // those selected afterwards; the rest of the group is clear
};

const BoxCase kBoxes[] = {
    {"编辑框2", {Control::单选框EX4, Control::单选框EX5}, {Control::单选框EX4}},
    {"编辑框5", {Control::单选框EX4, Control::单选框EX5}, {Control::单选框EX5}},
    {"编辑框6", {Control::单选框EX4, Control::单选框EX5}, {Control::单选框EX5}},
    {"编辑框4", {std::begin(kSources), std::end(kSources)}, {Control::单选框EX7}},
    {"日期框_起始", {std::begin(kTimeWindows), std::end(kTimeWindows)}, {Control::单选框5}},
    {"日期框_截止", {std::begin(kTimeWindows), std::end(kTimeWindows)}, {Control::单选框5}},
};

TEST_F(InputConveniences, APressOnABoxSelectsItsOptionAloneFromAnyStartingState) {
    for (const BoxCase& box : kBoxes) {
        for (bool allSelected : {true, false}) {
            SCOPED_TRACE(std::string(box.box) + (allSelected ? ", all selected before" : ", none before"));
            for (Control control : box.group) {
                window_->SetSelected(control, allSelected);
            }
            LeftClick(Find(box.box));
            for (Control control : box.group) {
                const bool expected =
                    std::find(box.selected.begin(), box.selected.end(), control) != box.selected.end();
                EXPECT_EQ(window_->IsSelected(control), expected) << static_cast<int>(control);
            }
        }
    }
}

TEST_F(InputConveniences, ThePageBoxesTurnThePagingModeBackAndForth) {
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX5));
    LeftClick(Find("编辑框2"));
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX4));
    EXPECT_FALSE(window_->IsSelected(Control::单选框EX5));
    LeftClick(Find("编辑框6"));
    EXPECT_FALSE(window_->IsSelected(Control::单选框EX4));
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX5));
}

TEST_F(InputConveniences, ThePressGoesOnToTheBoxWhichTakesTheFocus) {
    for (const char* name : {"编辑框2", "编辑框5", "编辑框6", "编辑框4"}) {
        SCOPED_TRACE(name);
        Focus(Find("编辑框1"));
        LeftClick(Find(name));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Find(name)->hasFocus(); }, 5000));
    }
}

TEST_F(InputConveniences, OptionsOtherGroupsAndOtherPressesAreLeftAlone) {
    LeftClick(Find("编辑框4"));
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX5)) << "paging is another group";
    EXPECT_TRUE(window_->IsSelected(Control::单选框6)) << "the time window is another group";

    // Reaching a box with the keyboard, or pressing another button, selects nothing.
    Focus(Find("编辑框2"));
    QTest::keyClicks(Find("编辑框2"), "3");
    QTest::mouseClick(Find("编辑框5"), Qt::RightButton);
    QTest::mouseClick(Find("编辑框3")->findChild<QWidget*>("qt_scrollarea_viewport"), Qt::LeftButton);
    EXPECT_FALSE(window_->IsSelected(Control::单选框EX4));
    EXPECT_TRUE(window_->IsSelected(Control::单选框EX5));
}

TEST_F(InputConveniences, APressOnADateBoxLimitsTheDatesAtThatMoment) {
    auto* start = Find<QDateTimeEdit>("日期框_起始");
    auto* end = Find<QDateTimeEdit>("日期框_截止");
    const QDateTime initialEarliest = start->minimumDateTime();
    const QDateTime startValue = QDateTime::currentDateTime().addDays(-3);
    start->setDateTime(startValue);

    const QDateTime before = QDateTime::currentDateTime();
    LeftClick(end);
    const QDateTime after = QDateTime::currentDateTime();

    EXPECT_GE(start->maximumDateTime(), before);
    EXPECT_LE(start->maximumDateTime(), after);
    EXPECT_GE(end->maximumDateTime(), start->maximumDateTime()) << "read again, later";
    EXPECT_LE(end->maximumDateTime(), after);
    EXPECT_EQ(end->minimumDateTime(), start->dateTime());
    EXPECT_EQ(start->minimumDateTime(), initialEarliest) << "the start box's earliest date is never set";

    // The calendar the press opens offers no later date, nor the end box's an earlier one.
    EXPECT_EQ(start->calendarWidget()->maximumDate(), after.date());
    EXPECT_EQ(end->calendarWidget()->maximumDate(), after.date());
    EXPECT_EQ(end->calendarWidget()->minimumDate(), startValue.date());
}

TEST_F(InputConveniences, TheEndBoxsEarliestDateFollowsTheStartBoxOnlyAtTheNextPress) {
    auto* start = Find<QDateTimeEdit>("日期框_起始");
    auto* end = Find<QDateTimeEdit>("日期框_截止");
    start->setDateTime(QDateTime::currentDateTime().addDays(-10));
    LeftClick(start);
    const QDateTime earliest = end->minimumDateTime();

    start->setDateTime(QDateTime::currentDateTime().addDays(-2));
    EXPECT_EQ(end->minimumDateTime(), earliest);
    LeftClick(start);
    EXPECT_EQ(end->minimumDateTime(), start->dateTime());
}

}  // namespace
