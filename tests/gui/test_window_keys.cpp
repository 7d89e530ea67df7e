// The keys the window handles: Esc closes it by the road of the close button, from any control;
// Enter presses no button and moves no focus, and starts a new line in a multi-line box.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "tests/gui/window_fixture.h"

namespace {

using WindowKeys = ShownWindow;

TEST_F(WindowKeys, EscClosesTheWindowFromEveryKindOfControl) {
    for (const char* name :
         {"编辑框1", "编辑框2", "编辑框4", "日期框_起始", "超级列表框1", "按钮EX1", "单选框1", "选择框1"}) {
        SCOPED_TRACE(name);
        window_ = std::make_unique<MainWindow>(folder_.path().toStdU16String());
        SetUp();
        QSignalSpy closing(window_.get(), &MainWindow::closing);
        QWidget* control = Find(name);
        control->setFocusPolicy(Qt::StrongFocus);
        Focus(control);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(closing.count(), 1);
        EXPECT_FALSE(window_->isVisible());
        EXPECT_TRUE(window_->WindowClosed());
    }
}

TEST_F(WindowKeys, TheCloseButtonRoadRunsTheSameHandler) {
    QSignalSpy closing(window_.get(), &MainWindow::closing);
    EXPECT_FALSE(window_->WindowClosed());
    window_->close();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(window_->WindowClosed());
}

TEST_F(WindowKeys, EnterInASingleLineBoxPressesNoButtonAndKeepsTheFocus) {
    QSignalSpy pressed(Find<QPushButton>("按钮EX1"), &QPushButton::clicked);
    for (const char* name : {"编辑框2", "编辑框4", "编辑框5"}) {
        SCOPED_TRACE(name);
        QWidget* box = Find(name);
        Focus(box);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(box->hasFocus());
    }
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowKeys, EnterOnTheFocusedSearchButtonDoesNotPressIt) {
    auto* button = Find<QPushButton>("按钮EX1");
    QSignalSpy pressed(button, &QPushButton::clicked);
    button->setFocusPolicy(Qt::StrongFocus);
    Focus(button);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
}

TEST_F(WindowKeys, EnterInTheKeywordBoxStartsANewLine) {
    auto* keyword = Find<QPlainTextEdit>("编辑框1");
    Focus(keyword);
    QTest::keyClicks(keyword, "ab");
    QTest::keyClick(keyword, Qt::Key_Return);
    QTest::keyClicks(keyword, "cd");
    EXPECT_TRUE(keyword->hasFocus());
    EXPECT_EQ(keyword->toPlainText(), "ab\ncd");
    // The search reads a multi-line box with Windows line breaks.
    EXPECT_EQ(window_->Text(Control::编辑框1), "ab\r\ncd");
}

TEST_F(WindowKeys, F1DoesNothing) {
    Focus(Find("编辑框2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Find("编辑框2"));
}

}  // namespace
