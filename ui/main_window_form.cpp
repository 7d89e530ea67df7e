// The main window's form: the controls of the design at their places, sizes and initial states.
#include "ui/main_window_form.h"

#include <QPalette>

#include "ui/fonts.h"
#include "ui/inactive_selection.h"
#include "ui/maker_site.h"

namespace {

QGroupBox* GroupBox(QWidget* window, const char* name, const QRect& place, const QString& title) {
    auto* box = new QGroupBox(title, window);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(place);
    box->setFont(YouYuanFont(14, false));
    return box;
}

RadioButton* Radio(QWidget* box, const char* name, const QRect& place, const QString& text, bool selected) {
    auto* radio = new RadioButton(text, box);
    radio->setObjectName(QString::fromUtf8(name));
    radio->setGeometry(place);
    radio->setFont(DefaultFont());
    radio->setChecked(selected);
    return radio;
}

QLabel* Label(QWidget* parent, const char* name, const QRect& place, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setAutoFillBackground(false);
    return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

IntegerEdit* IntegerBox(QWidget* box, const char* name, const QRect& place, const QString& text) {
    auto* edit = new IntegerEdit(box);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(place);
    edit->setFont(DefaultFont());
    edit->setText(text);
    HideInactiveSelection(edit);
    return edit;
}

QLineEdit* LineBox(QWidget* box, const char* name, const QRect& place) {
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(place);
    edit->setFont(DefaultFont());
    HideInactiveSelection(edit);
    return edit;
}

// Several lines wrapped at the box's width, a vertical scroll bar, Enter starting a new line; Tab
// leaves the box as in any other control.
QPlainTextEdit* MultiLineBox(QWidget* box, const char* name, const QRect& place, const QString& text) {
    auto* edit = new QPlainTextEdit(text, box);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(place);
    edit->setFont(DefaultFont());
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setTabChangesFocus(true);
    HideInactiveSelection(edit);
    return edit;
}

DateBox* DateBoxAt(QWidget* box, const char* name, const QRect& place) {
    auto* date = new DateBox(box, place, DefaultFont());
    date->setObjectName(QString::fromUtf8(name));
    return date;
}

void BuildPagingBox(MainWindowForm& form, QWidget* window) {
    QGroupBox* box = form.分组框1 = GroupBox(window, "分组框1", {0, 0, 200, 112}, "换页设置");
    form.单选框EX4 = Radio(box, "单选框EX4", {23, 34, 72, 16}, "手动选页", false);
    form.标签1 = Label(box, "标签1", {96, 28, 40, 24}, "页码:", YouYuanFont(12, true));
    form.编辑框2 = IntegerBox(box, "编辑框2", {136, 31, 40, 20}, "10");
    form.单选框EX5 = Radio(box, "单选框EX5", {23, 66, 72, 16}, "自动换页", true);
    form.编辑框5 = IntegerBox(box, "编辑框5", {96, 62, 32, 20}, "1");
    form.标签3 = Label(box, "标签3", {132, 62, 13, 24}, "-", DefaultFont());
    form.编辑框6 = IntegerBox(box, "编辑框6", {145, 62, 32, 20}, "10");
}

void BuildSourceBox(MainWindowForm& form, QWidget* window) {
    QGroupBox* box = form.分组框2 = GroupBox(window, "分组框2", {216, 0, 192, 112}, "搜索来源");
    form.单选框EX1 = Radio(box, "单选框EX1", {18, 30, 72, 16}, "百度贴吧", true);
    form.单选框EX2 = Radio(box, "单选框EX2", {18, 53, 72, 16}, "新浪微博", false);
    form.单选框EX3 = Radio(box, "单选框EX3", {18, 77, 72, 16}, "All", false);
    form.单选框EX6 = Radio(box, "单选框EX6", {96, 30, 72, 16}, "Bilibili", false);
    form.单选框EX8 = Radio(box, "单选框EX8", {96, 53, 72, 16}, "Steam", false);
    form.单选框EX7 = Radio(box, "单选框EX7", {64, 76, 72, 18}, "自定义", false);
    // Overlaps the right part of 单选框EX7, whose short caption stays visible to its left.
    form.编辑框4 = LineBox(box, "编辑框4", {120, 77, 56, 16});
}

void BuildFilterBox(MainWindowForm& form, QWidget* window) {
    QGroupBox* box = form.分组框4 = GroupBox(window, "分组框4", {424, 0, 408, 112}, "过滤");
    form.标签2 = Label(box, "标签2", {16, 18, 168, 24}, "过滤所含关键字(\"|\"分割):", YouYuanFont(12, true));
    form.编辑框3 = MultiLineBox(box, "编辑框3", {16, 40, 184, 56}, "垃圾|虚假|假冒");
    form.单选框1 = Radio(box, "单选框1", {216, 22, 64, 16}, "一天前", false);
    form.单选框2 = Radio(box, "单选框2", {216, 42, 64, 16}, "一周前", false);
    form.单选框3 = Radio(box, "单选框3", {216, 62, 64, 16}, "一月前", false);
    form.单选框4 = Radio(box, "单选框4", {216, 82, 64, 16}, "一年前", false);
    form.单选框5 = Radio(box, "单选框5", {280, 22, 56, 16}, "自定义", false);
    form.单选框6 = Radio(box, "单选框6", {336, 22, 56, 16}, "不限制", true);
    form.日期框_起始 = DateBoxAt(box, "日期框_起始", {282, 43, 110, 20});
    form.标签4 = Label(box, "标签4", {280, 64, 112, 12}, "↑起始     截止↓", YouYuanFont(12, true));
    form.日期框_截止 = DateBoxAt(box, "日期框_截止", {282, 77, 110, 20});
}

void BuildSearchBox(MainWindowForm& form, QWidget* window) {
    QGroupBox* box = form.分组框3 = GroupBox(window, "分组框3", {848, 0, 192, 112}, "搜索");
    form.透明标签1 = Label(box, "透明标签1", {22, 21, 48, 16}, "关键字:", YouYuanFont(14, false));
    SetTextColour(form.透明标签1, QColor(0, 0, 255));
    form.选择框1 = new QCheckBox("搜索清空", box);
    form.选择框1->setObjectName("选择框1");
    form.选择框1->setGeometry(102, 23, 72, 12);
    form.选择框1->setFont(DefaultFont());
    form.选择框1->setChecked(true);
    form.编辑框1 = MultiLineBox(box, "编辑框1", {22, 41, 149, 38}, "");
    // An ordinary push button: Enter anywhere in the window never presses it.
    form.按钮EX1 = new QPushButton("SO", box);
    form.按钮EX1->setObjectName("按钮EX1");
    form.按钮EX1->setGeometry(22, 78, 149, 19);
    form.按钮EX1->setFont(DefaultFont());
    form.按钮EX1->setAutoDefault(false);
    form.按钮EX1->setDefault(false);
}

void BuildResults(MainWindowForm& form, QWidget* window) {
    form.超级列表框1 = new ReportList(window, {-1, 114, 1040, 403}, DefaultFont());
    form.超级列表框1->setObjectName("超级列表框1");
    form.透明标签2 = Label(window, "透明标签2", {0, 518, 1040, 16},
                           "拾穗集搜索采集器是一款方便易用的百度搜索网址（seo检测、舆情检测）/贴吧/哔哩哔哩/"
                           "微博信息采集器，可以帮助用户节省操作时间，让你轻松获取需要的内容。",
                           DefaultFont());
    SetTextColour(form.透明标签2, QColor(255, 0, 0));

    form.状态条1 = new QStatusBar(window);
    form.状态条1->setObjectName("状态条1");
    form.状态条1->setSizeGripEnabled(false);
    form.状态条1->setFont(DefaultFont());
    form.状态条1->setGeometry(0, kClientSize.height() - 20, kClientSize.width(), 20);
    form.statusPart0 = new QLabel(form.状态条1);
    form.statusPart0->setObjectName("状态条1_part0");
    form.statusPart0->setFont(DefaultFont());
    form.statusPart0->setTextFormat(Qt::PlainText);
    // A long text is cut at the bar's end instead of widening the bar.
    form.statusPart0->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    form.状态条1->addWidget(form.statusPart0, 1);

    form.tips = new QTimer(window);
    form.tips->setObjectName("tips");
    form.tips->setInterval(kTipsPeriodMs);
}

void BuildListMenu(MainWindowForm& form, QWidget* window) {
    form.ListMenu = new QMenu("菜单", window);
    form.ListMenu->setObjectName("ListMenu");
    form.ListMenu->setFont(DefaultFont());
    form.openSelectedItem = form.ListMenu->addAction("打开所选链接");
    form.copySelectedItem = form.ListMenu->addAction("复制所选链接");
    form.deleteSelectedItem = form.ListMenu->addAction("删除所选");
    form.deleteAllItem = form.ListMenu->addAction("删除全部");
    form.AdvertItem = form.ListMenu->addAction(QString::fromUtf8(kAdvertCaption));
    form.AdvertItem->setObjectName("AdvertItem");
}

}  // namespace

MainWindowForm BuildMainWindowForm(QWidget* window) {
    MainWindowForm form{};
    BuildPagingBox(form, window);
    BuildSourceBox(form, window);
    BuildFilterBox(form, window);
    BuildSearchBox(form, window);
    BuildResults(form, window);
    BuildListMenu(form, window);
    return form;
}

QWidget* MainWindowForm::Widget(Control control) const {
    switch (control) {
        case Control::单选框EX4:
            return 单选框EX4;
        case Control::编辑框2:
            return 编辑框2;
        case Control::单选框EX5:
            return 单选框EX5;
        case Control::编辑框5:
            return 编辑框5;
        case Control::编辑框6:
            return 编辑框6;
        case Control::单选框EX1:
            return 单选框EX1;
        case Control::单选框EX2:
            return 单选框EX2;
        case Control::单选框EX3:
            return 单选框EX3;
        case Control::单选框EX6:
            return 单选框EX6;
        case Control::单选框EX8:
            return 单选框EX8;
        case Control::单选框EX7:
            return 单选框EX7;
        case Control::编辑框4:
            return 编辑框4;
        case Control::编辑框3:
            return 编辑框3;
        case Control::单选框1:
            return 单选框1;
        case Control::单选框2:
            return 单选框2;
        case Control::单选框3:
            return 单选框3;
        case Control::单选框4:
            return 单选框4;
        case Control::单选框5:
            return 单选框5;
        case Control::单选框6:
            return 单选框6;
        case Control::日期框_起始:
            return 日期框_起始;
        case Control::日期框_截止:
            return 日期框_截止;
        case Control::选择框1:
            return 选择框1;
        case Control::编辑框1:
            return 编辑框1;
        case Control::按钮EX1:
            return 按钮EX1;
        case Control::超级列表框1:
            return 超级列表框1;
        case Control::状态条1:
            return 状态条1;
    }
    return nullptr;
}
