// The main window's form: every control at its place with its text, font and initial state, the
// frame, the list, the status bar, the menu and the timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>

#include "ui/main_window.h"

namespace {

class MainWindowForm : public ::testing::Test {
protected:
    QTemporaryDir folder_;
    std::unique_ptr<MainWindow> window_ = std::make_unique<MainWindow>(folder_.path().toStdU16String());

    template <typename T = QWidget>
    T* Find(const char* name) const {
        return window_->findChild<T*>(QString::fromUtf8(name));
    }
};

struct Placed {
    const char* name;
    const char* container;  // "" for the window itself
    QRect place;
    const char* text;
};

// Places are relative to the container, as the design gives them.
const Placed kPlaces[] = {
    {"分组框1", "", {0, 0, 200, 112}, "换页设置"},
    {"分组框2", "", {216, 0, 192, 112}, "搜索来源"},
    {"分组框4", "", {424, 0, 408, 112}, "过滤"},
    {"分组框3", "", {848, 0, 192, 112}, "搜索"},
    {"超级列表框1", "", {-1, 114, 1040, 403}, nullptr},
    {"透明标签2",
     "",
     {0, 518, 1040, 16},
     "拾穗集搜索采集器是一款方便易用的百度搜索网址（seo检测、舆情检测）/贴吧/哔哩哔哩/微博信息采集器，"
     "可以帮助用户节省操作时间，让你轻松获取需要的内容。"},
    {"单选框EX4", "分组框1", {23, 34, 72, 16}, "手动选页"},
    {"标签1", "分组框1", {96, 28, 40, 24}, "页码:"},
    {"编辑框2", "分组框1", {136, 31, 40, 20}, "10"},
    {"单选框EX5", "分组框1", {23, 66, 72, 16}, "自动换页"},
    {"编辑框5", "分组框1", {96, 62, 32, 20}, "1"},
    {"标签3", "分组框1", {132, 62, 13, 24}, "-"},
    {"编辑框6", "分组框1", {145, 62, 32, 20}, "10"},
    {"单选框EX1", "分组框2", {18, 30, 72, 16}, "百度贴吧"},
    {"单选框EX2", "分组框2", {18, 53, 72, 16}, "新浪微博"},
    {"单选框EX3", "分组框2", {18, 77, 72, 16}, "All"},
    {"单选框EX6", "分组框2", {96, 30, 72, 16}, "Bilibili"},
    {"单选框EX8", "分组框2", {96, 53, 72, 16}, "Steam"},
    {"单选框EX7", "分组框2", {64, 76, 72, 18}, "自定义"},
    {"编辑框4", "分组框2", {120, 77, 56, 16}, ""},
    {"标签2", "分组框4", {16, 18, 168, 24}, "过滤所含关键字(\"|\"分割):"},
    {"编辑框3", "分组框4", {16, 40, 184, 56}, "垃圾|虚假|假冒"},
    {"单选框1", "分组框4", {216, 22, 64, 16}, "一天前"},
    {"单选框2", "分组框4", {216, 42, 64, 16}, "一周前"},
    {"单选框3", "分组框4", {216, 62, 64, 16}, "一月前"},
    {"单选框4", "分组框4", {216, 82, 64, 16}, "一年前"},
    {"单选框5", "分组框4", {280, 22, 56, 16}, "自定义"},
    {"单选框6", "分组框4", {336, 22, 56, 16}, "不限制"},
    {"日期框_起始", "分组框4", {282, 43, 110, 20}, nullptr},
    {"标签4", "分组框4", {280, 64, 112, 12}, "↑起始     截止↓"},
    {"日期框_截止", "分组框4", {282, 77, 110, 20}, nullptr},
    {"透明标签1", "分组框3", {22, 21, 48, 16}, "关键字:"},
    {"选择框1", "分组框3", {102, 23, 72, 12}, "搜索清空"},
    {"编辑框1", "分组框3", {22, 41, 149, 38}, ""},
    {"按钮EX1", "分组框3", {22, 78, 149, 19}, "SO"},
};

QString TextOf(QWidget* widget) {
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        return box->title();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return line->text();
    }
    if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        return lines->toPlainText();
    }
    return {};
}

TEST_F(MainWindowForm, EveryControlSitsInItsContainerAtItsPlaceWithItsText) {
    for (const Placed& expected : kPlaces) {
        SCOPED_TRACE(expected.name);
        QWidget* control = Find(expected.name);
        ASSERT_NE(control, nullptr);
        QWidget* container = *expected.container == '\0' ? window_.get() : Find(expected.container);
        EXPECT_EQ(control->parentWidget(), container);
        EXPECT_EQ(control->geometry(), expected.place);
        if (expected.text != nullptr) {
            EXPECT_EQ(TextOf(control), QString::fromUtf8(expected.text));
        }
    }
}

TEST_F(MainWindowForm, OptionsStartInTheirDesignStates) {
    const std::pair<Control, bool> states[] = {
        {Control::单选框EX4, false}, {Control::单选框EX5, true},  {Control::单选框EX1, true},
        {Control::单选框EX2, false}, {Control::单选框EX3, false}, {Control::单选框EX6, false},
        {Control::单选框EX8, false}, {Control::单选框EX7, false}, {Control::单选框1, false},
        {Control::单选框2, false},   {Control::单选框3, false},   {Control::单选框4, false},
        {Control::单选框5, false},   {Control::单选框6, true},    {Control::选择框1, true},
    };
    for (const auto& [control, selected] : states) {
        SCOPED_TRACE(static_cast<int>(control));
        EXPECT_EQ(window_->IsSelected(control), selected);
    }
    EXPECT_EQ(window_->RowCount(), 0);
    EXPECT_EQ(window_->StatusText(), "");
    EXPECT_EQ(window_->Caption(), "SO");
}

TEST_F(MainWindowForm, FrameIsFixedCentredAndHasNoMaximizeButton) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("拾穗集搜索采集器 v1.0"));
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
    EXPECT_EQ(window_->size(), kClientSize);
    const Qt::WindowFlags flags = window_->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));

    const QRect screen = window_->screen()->geometry();
    EXPECT_EQ(window_->pos(), QPoint(screen.left() + (screen.width() - 1045) / 2,
                                     screen.top() + (screen.height() - 586) / 2));
}

TEST_F(MainWindowForm, CaptionsAndBoldLabelsUseTheDesignFaceAndChineseHasGlyphs) {
    struct FontCase {
        const char* name;
        int pixelSize;
        bool bold;
    };
    const FontCase cases[] = {
        {"分组框1", 14, false}, {"分组框2", 14, false}, {"分组框3", 14, false}, {"分组框4", 14, false},
        {"标签1", 12, true},    {"标签2", 12, true},    {"标签4", 12, true},    {"透明标签1", 14, false},
    };
    for (const FontCase& expected : cases) {
        SCOPED_TRACE(expected.name);
        const QFont font = Find(expected.name)->font();
        EXPECT_EQ(font.families().value(0), QStringLiteral("幼圆"));
        EXPECT_EQ(font.pixelSize(), expected.pixelSize);
        EXPECT_EQ(font.bold(), expected.bold);
        EXPECT_TRUE(QFontMetrics(font).inFont(QChar(u'换'))) << "Chinese would show as boxes";
    }
    // Controls inside a group box keep the default font, not the group box's caption font.
    for (const char* name : {"单选框EX4", "编辑框2", "单选框1", "选择框1", "按钮EX1"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Find(name)->font().pixelSize(), 12);
        EXPECT_FALSE(Find(name)->font().bold());
        EXPECT_TRUE(QFontMetrics(Find(name)->font()).inFont(QChar(u'页')));
    }
}

TEST_F(MainWindowForm, TransparentLabelsAreBlueAndRedAndPaintNoBackground) {
    auto* keywordLabel = Find<QLabel>("透明标签1");
    auto* description = Find<QLabel>("透明标签2");
    EXPECT_EQ(keywordLabel->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(description->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(keywordLabel->autoFillBackground());
    EXPECT_FALSE(description->autoFillBackground());
    EXPECT_EQ(description->textFormat(), Qt::PlainText);
}

TEST_F(MainWindowForm, ReportListHasThreeDraggableColumnsThatDoNotSort) {
    auto* list = Find<QTableView>("超级列表框1");
    QHeaderView* header = list->horizontalHeader();
    ASSERT_EQ(list->model()->columnCount(), 3);
    const char* titles[] = {"序号", "标题", "链接"};
    const int widths[] = {50, 500, 485};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(list->model()->headerData(column, Qt::Horizontal).toString(),
                  QString::fromUtf8(titles[column]));
        EXPECT_EQ(list->columnWidth(column), widths[column]);
    }
    EXPECT_TRUE(header->sectionsMovable());
    EXPECT_FALSE(header->sectionsClickable());
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_EQ(header->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(list->verticalHeader()->isVisible());
    EXPECT_EQ(list->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(MainWindowForm, StatusBarIsOnePartAlongTheBottomWithoutSizeGrip) {
    auto* bar = Find<QStatusBar>("状态条1");
    EXPECT_FALSE(bar->isSizeGripEnabled());
    EXPECT_EQ(bar->geometry().bottom(), kClientSize.height() - 1);
    EXPECT_EQ(bar->geometry().left(), 0);
    EXPECT_EQ(bar->width(), kClientSize.width());
    EXPECT_EQ(bar->findChildren<QLabel*>().size(), 1);

    window_->SetStatusText("abc");
    EXPECT_EQ(window_->StatusText(), "abc");
    EXPECT_EQ(window_->Form().statusPart0->text(), "abc");
}

TEST_F(MainWindowForm, ListMenuIsHiddenWithItsFiveItems) {
    auto* menu = Find<QMenu>("ListMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("菜单"));
    EXPECT_FALSE(menu->isVisible());
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 5);
    const char* captions[] = {"打开所选链接", "复制所选链接", "删除所选", "删除全部"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->text(), QString::fromUtf8(captions[i]));
    }
    EXPECT_EQ(items[4], window_->Form().AdvertItem);
    EXPECT_FALSE(items[4]->text().isEmpty());
    for (QAction* item : items) {
        EXPECT_TRUE(item->isEnabled());
        EXPECT_FALSE(item->isCheckable());
    }
    EXPECT_TRUE(window_->findChildren<QMenuBar*>().isEmpty());
}

TEST_F(MainWindowForm, TipsTimerRunsEveryTwentySeconds) {
    auto* tips = window_->findChild<QTimer*>("tips");
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(tips->interval(), 20000);
    EXPECT_TRUE(tips->isActive());
    EXPECT_FALSE(tips->isSingleShot());
}

TEST_F(MainWindowForm, MultiLineBoxesWrapAndScroll) {
    for (const char* name : {"编辑框1", "编辑框3"}) {
        SCOPED_TRACE(name);
        auto* box = Find<QPlainTextEdit>(name);
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
}

TEST_F(MainWindowForm, SelectionOfEditBoxesAndListIsNotShownWithoutFocus) {
    for (const char* name : {"编辑框1", "编辑框2", "编辑框3", "编辑框4", "超级列表框1"}) {
        SCOPED_TRACE(name);
        const QPalette palette = Find(name)->palette();
        EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight),
                  palette.color(QPalette::Inactive, QPalette::Base));
        EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::HighlightedText),
                  palette.color(QPalette::Inactive, QPalette::Text));
        EXPECT_NE(palette.color(QPalette::Active, QPalette::Highlight),
                  palette.color(QPalette::Active, QPalette::Base));
    }
}

}  // namespace
