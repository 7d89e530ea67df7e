// The window as the search sees it: texts in program text, states, caption, status text, the
// left-button events the input conveniences hang on.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "tests/gui/window_fixture.h"

namespace {

using WindowControlsOverWidgets = ShownWindow;

const std::string kChinese = "\xc0\xac\xbb\xf8";  // "垃圾" in program text

TEST_F(WindowControlsOverWidgets, TextsTravelAsProgramText) {
    for (Control control : {Control::编辑框1, Control::编辑框2, Control::编辑框3, Control::编辑框4,
                            Control::编辑框5, Control::编辑框6}) {
        SCOPED_TRACE(static_cast<int>(control));
        window_->SetText(control, kChinese);
        EXPECT_EQ(window_->Text(control), kChinese);
    }
    EXPECT_EQ(Find<QPlainTextEdit>("编辑框3")->toPlainText(), QStringLiteral("垃圾"));
    // A four-byte GB18030 character survives the widgets too.
    const std::string emoji = "\x94\x39\xda\x33";  // U+1F603
    window_->SetText(Control::编辑框4, emoji);
    EXPECT_EQ(window_->Text(Control::编辑框4), emoji);
}

TEST_F(WindowControlsOverWidgets, MultiLineTextsUseWindowsLineBreaks) {
    window_->SetText(Control::编辑框3, "a|b\r\nc");
    EXPECT_EQ(Find<QPlainTextEdit>("编辑框3")->toPlainText(), "a|b\nc");
    EXPECT_EQ(window_->Text(Control::编辑框3), "a|b\r\nc");
}

TEST_F(WindowControlsOverWidgets, ControlsOfAnotherKindReadAsNothing) {
    EXPECT_EQ(window_->Text(Control::单选框1), "");
    EXPECT_FALSE(window_->IsSelected(Control::编辑框1));
    window_->SetSelected(Control::编辑框1, true);
    window_->SetText(Control::单选框1, "x");
    EXPECT_EQ(window_->DateValue(Control::编辑框1), DateTime{});
}

TEST_F(WindowControlsOverWidgets, CheckBoxAndCaption) {
    window_->SetSelected(Control::选择框1, false);
    EXPECT_FALSE(window_->IsSelected(Control::选择框1));
    window_->SetCaption("Stop");
    EXPECT_EQ(window_->Caption(), "Stop");
    EXPECT_EQ(window_->Form().按钮EX1->text(), "Stop");
}

TEST_F(WindowControlsOverWidgets, StatusTextIsShownAsPlainText) {
    window_->SetStatusText("<b>" + kChinese + "</b>");
    EXPECT_EQ(window_->Form().statusPart0->text(), QStringLiteral("<b>垃圾</b>"));
    EXPECT_EQ(window_->Form().statusPart0->textFormat(), Qt::PlainText);
}

TEST_F(WindowControlsOverWidgets, PendingEventsAreProcessed) {
    bool ran = false;
    QMetaObject::invokeMethod(
        window_.get(), [&] { ran = true; }, Qt::QueuedConnection);
    window_->ProcessPendingEvents();
    EXPECT_TRUE(ran);
}

TEST_F(WindowControlsOverWidgets, LeftButtonOnInputBoxesIsReportedBeforeTheBoxHandlesIt) {
    QSignalSpy pressed(window_.get(), &MainWindow::leftButtonPressed);
    for (const char* name :
         {"编辑框2", "编辑框5", "编辑框6", "编辑框4", "日期框_起始", "日期框_截止", "透明标签2"}) {
        SCOPED_TRACE(name);
        pressed.clear();
        QWidget* control = Find(name);
        QWidget* target = control->childAt(5, 5) != nullptr ? control->childAt(5, 5) : control;
        QTest::mousePress(target, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_EQ(pressed.count(), 1);
        EXPECT_EQ(pressed.at(0).at(0).value<QWidget*>(), control);
    }
    // Other controls report nothing; the right button reports nothing.
    pressed.clear();
    QTest::mouseClick(Find("编辑框1")->findChild<QWidget*>("qt_scrollarea_viewport"), Qt::LeftButton);
    QTest::mouseClick(Find("编辑框2"), Qt::RightButton);
    EXPECT_EQ(pressed.count(), 0);
}

}  // namespace
