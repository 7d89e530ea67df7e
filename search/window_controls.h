// The window as the search sees it: the operations on the window's controls, in plain C++, so the
// search and the settings file can run and be tested without any toolkit. The window implements
// this interface over its widgets; tests implement it with a recording fake.
#pragma once

#include <string>

// The window's controls, named as on the window's form. The names are also the objectName of the
// widgets.
enum class Control {
    // page mode and page numbers
    单选框EX4,  // manual page choice
    编辑框2,    // page of a manual search
    单选框EX5,  // automatic paging
    编辑框5,    // first page of an automatic run
    编辑框6,    // last page of an automatic run
    // source
    单选框EX1,  // Baidu Tieba
    单选框EX2,  // Sina Weibo
    单选框EX3,  // the whole web
    单选框EX6,  // Bilibili
    单选框EX8,  // Steam Community
    单选框EX7,  // a site the user types
    编辑框4,    // the custom site
    // blacklist and time window
    编辑框3,  // blacklist
    单选框1,  // last day
    单选框2,  // last week
    单选框3,  // last month
    单选框4,  // last year
    单选框5,  // custom range
    单选框6,  // no time filter
    日期框_起始,
    日期框_截止,
    // keyword and search
    选择框1,  // clear the list before a search
    编辑框1,  // keyword
    按钮EX1,  // search / stop
    // results
    超级列表框1,
    状态条1,
};

// A local date-time as a date box holds it. Fields are not checked here: the settings file reads an
// invalid text as 100-01-01 00:00:00, and a date box may be handed such a value.
struct DateTime {
    int year = 100;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Texts are program text (GB18030). Row indexes are 0-based; an index that names no row changes
// nothing and reads as the empty text.
class WindowControls {
public:
    virtual ~WindowControls() = default;

    // Radio buttons and the check box. Setting a state changes that control alone.
    virtual bool IsSelected(Control control) const = 0;
    virtual void SetSelected(Control control, bool selected) = 0;

    // Edit boxes.
    virtual std::string Text(Control control) const = 0;
    virtual void SetText(Control control, const std::string& text) = 0;

    // The caption of 按钮EX1.
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;

    // Date boxes.
    virtual DateTime DateValue(Control control) const = 0;
    virtual void SetDateValue(Control control, const DateTime& value) = 0;

    // The report list 超级列表框1.
    virtual int RowCount() const = 0;
    virtual int AppendRow(const std::string& firstCell) = 0;  // index of the new row
    virtual void SetCell(int row, int column, const std::string& text) = 0;
    virtual std::string Cell(int row, int column) const = 0;
    virtual void DeleteAllRows() = 0;

    // Part 0 of the status bar 状态条1.
    virtual void SetStatusText(const std::string& text) = 0;

    // Lets the window handle pending events; handlers may run nested, the search button's included.
    virtual void ProcessPendingEvents() = 0;

    // True once the user has closed the window: a search still running stops at its next
    // event-processing point, without a further request, row or page.
    virtual bool WindowClosed() const = 0;
};
