// Date boxes: a calendar drop-down, the system's long date format (shortened only when it cannot
// fit), a value that keeps its time of day, and no range beyond the toolkit's own.
#include <QLineEdit>

#include "tests/gui/window_fixture.h"
#include "ui/date_box.h"
#include "ui/fonts.h"

namespace {

using DateBoxes = ShownWindow;

TEST_F(DateBoxes, OpenACalendarAndShowTheDateOnly) {
    for (const char* name : {"日期框_起始", "日期框_截止"}) {
        SCOPED_TRACE(name);
        auto* box = Find<DateBox>(name);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->calendarPopup());
        EXPECT_EQ(box->displayedSections() & QDateTimeEdit::TimeSections_Mask, 0);
        EXPECT_EQ(box->displayFormat(),
                  DateBoxFormat(QLocale::system(), QFontMetrics(box->font()), box->width() - 22));
    }
}

TEST_F(DateBoxes, StartAtTheTimeOfCreation) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    MainWindow window(folder_.path().toStdU16String());
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    for (Control control : {Control::日期框_起始, Control::日期框_截止}) {
        const QDateTime value = ToQDateTime(window.DateValue(control));
        EXPECT_LE(before, value);
        EXPECT_GE(after, value);
    }
}

TEST_F(DateBoxes, ValueKeepsItsTimeOfDay) {
    const DateTime value{2024, 5, 6, 7, 8, 9};
    window_->SetDateValue(Control::日期框_截止, value);
    EXPECT_EQ(window_->DateValue(Control::日期框_截止), value);
    // The other box is untouched.
    EXPECT_NE(window_->DateValue(Control::日期框_起始), value);
}

TEST_F(DateBoxes, TakeTheEarliestDateTheSettingsFileCanHand) {
    const DateTime earliest{100, 1, 1, 0, 0, 0};
    window_->SetDateValue(Control::日期框_起始, earliest);
    EXPECT_EQ(window_->DateValue(Control::日期框_起始), earliest);
}

TEST_F(DateBoxes, IgnoreAValueThatNamesNoDate) {
    const DateTime before = window_->DateValue(Control::日期框_起始);
    for (const DateTime& invalid : {DateTime{2024, 13, 1}, DateTime{2023, 2, 29}, DateTime{2024, 1, 1, 24}}) {
        window_->SetDateValue(Control::日期框_起始, invalid);
        EXPECT_EQ(window_->DateValue(Control::日期框_起始), before);
    }
}

TEST(DateBoxFormat, KeepsTheLongFormatWhereItFitsAndShortensItWhereNot) {
    const QFontMetrics metrics(DefaultFont());
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    EXPECT_EQ(DateBoxFormat(chinese, metrics, 1000), chinese.dateFormat(QLocale::LongFormat));
    EXPECT_EQ(DateBoxFormat(chinese, metrics, 88), QStringLiteral("yyyy年M月d日"));

    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(DateBoxFormat(english, metrics, 1000), english.dateFormat(QLocale::LongFormat));
    const QString narrow = DateBoxFormat(english, metrics, 120);
    EXPECT_FALSE(narrow.contains("ddd")) << narrow.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(english.toString(QDate(2026, 9, 30), narrow)), 120);
    EXPECT_EQ(DateBoxFormat(english, metrics, 10), english.dateFormat(QLocale::ShortFormat));
}

}  // namespace
