// The main window's form: every control with its place, size, text, font, colour and initial state,
// as the window's design lays them out. The members are named after the controls, and each widget
// carries its name as objectName.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSize>
#include <QStatusBar>
#include <QTimer>

#include "search/window_controls.h"
#include "ui/date_box.h"
#include "ui/integer_edit.h"
#include "ui/radio_button.h"
#include "ui/report_list.h"

// The window's client area: wide enough for the rightmost group box, high enough for the list, the
// line under it and the status bar. With a usual frame the outer size is the design's 1045 x 586.
inline constexpr QSize kClientSize(1040, 556);
inline constexpr QSize kOuterSize(1045, 586);

inline constexpr int kTipsPeriodMs = 20000;

struct MainWindowForm {
    // 换页设置
    QGroupBox* 分组框1;
    RadioButton* 单选框EX4;
    QLabel* 标签1;
    IntegerEdit* 编辑框2;
    RadioButton* 单选框EX5;
    IntegerEdit* 编辑框5;
    QLabel* 标签3;
    IntegerEdit* 编辑框6;
    // 搜索来源
    QGroupBox* 分组框2;
    RadioButton* 单选框EX1;
    RadioButton* 单选框EX2;
    RadioButton* 单选框EX3;
    RadioButton* 单选框EX6;
    RadioButton* 单选框EX8;
    RadioButton* 单选框EX7;
    QLineEdit* 编辑框4;
    // 过滤
    QGroupBox* 分组框4;
    QLabel* 标签2;
    QPlainTextEdit* 编辑框3;
    RadioButton* 单选框1;
    RadioButton* 单选框2;
    RadioButton* 单选框3;
    RadioButton* 单选框4;
    RadioButton* 单选框5;
    RadioButton* 单选框6;
    DateBox* 日期框_起始;
    QLabel* 标签4;
    DateBox* 日期框_截止;
    // 搜索
    QGroupBox* 分组框3;
    QLabel* 透明标签1;
    QCheckBox* 选择框1;
    QPlainTextEdit* 编辑框1;
    QPushButton* 按钮EX1;
    // under the group boxes
    ReportList* 超级列表框1;
    QLabel* 透明标签2;
    QStatusBar* 状态条1;
    QLabel* statusPart0;  // part 0 of 状态条1, spanning the whole bar
    QTimer* tips;
    // the list's pop-up menu, never shown as a menu bar
    QMenu* ListMenu;
    QAction* openSelectedItem;
    QAction* copySelectedItem;
    QAction* deleteSelectedItem;
    QAction* deleteAllItem;
    QAction* AdvertItem;

    // The widget of a control the search names.
    QWidget* Widget(Control control) const;
};

// Creates every control as a child of `window` and the menu and timer it owns. The timer is not
// started here.
MainWindowForm BuildMainWindowForm(QWidget* window);
