// A window for the tests: it holds the controls' states in plain containers, starts in the design
// state of the real window, records every call in order, and runs a test's action at a chosen
// event-processing point (a second press of the search button, a row deletion, closing the window).
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "search/window_controls.h"

namespace testsupport {

// UTF-8 test text as program text (GB18030), and back.
std::string Gb(std::string_view utf8);
std::string Utf8(std::string_view text);

class FakeWindow : public WindowControls {
public:
    // The design state: 自动换页, 百度贴吧 and 不限制 selected, 搜索清空 ticked, pages 10, 1 and 10,
    // the blacklist 垃圾|虚假|假冒, both dates 2019-10-12 08:05:00, caption "SO", no rows.
    FakeWindow();

    bool IsSelected(Control control) const override;
    void SetSelected(Control control, bool selected) override;
    std::string Text(Control control) const override;
    void SetText(Control control, const std::string& text) override;
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    DateTime DateValue(Control control) const override;
    void SetDateValue(Control control, const DateTime& value) override;
    int RowCount() const override;
    int AppendRow(const std::string& firstCell) override;
    void SetCell(int row, int column, const std::string& text) override;
    std::string Cell(int row, int column) const override;
    void DeleteAllRows() override;
    void SetStatusText(const std::string& text) override;
    void ProcessPendingEvents() override;
    bool WindowClosed() const override;

    // Selects `control` and clears the other radio buttons of its group, as a user's click does.
    void Choose(Control control);
    // Deletes one row, as the list's "删除所选" does; the rows after it move up.
    void DeleteRow(int row);
    void Close() { closed_ = true; }

    // Runs `action` at the `call`-th ProcessPendingEvents (1-based), once.
    void At(int call, std::function<void()> action);
    // Runs `action` at every ProcessPendingEvents with the call's number.
    void OnEachProcessEvents(std::function<void(int call)> action) { onEach_ = std::move(action); }

    int ProcessEventsCount() const { return processEventsCount_; }
    // Every call that changed something, as "Name(arguments)" in program text, in order.
    const std::vector<std::string>& Log() const { return log_; }
    // Every status text written, in order; the last is what the bar shows.
    const std::vector<std::string>& StatusTexts() const { return statusTexts_; }
    std::string StatusText() const { return statusTexts_.empty() ? std::string() : statusTexts_.back(); }

    using Row = std::array<std::string, 3>;
    const std::vector<Row>& Rows() const { return rows_; }

private:
    std::map<Control, bool> selected_;
    std::map<Control, std::string> texts_;
    std::map<Control, DateTime> dates_;
    std::string caption_ = "SO";
    std::vector<Row> rows_;
    std::vector<std::string> statusTexts_;
    std::vector<std::string> log_;
    std::map<int, std::function<void()>> actions_;
    std::function<void(int)> onEach_;
    int processEventsCount_ = 0;
    bool closed_ = false;
};

}  // namespace testsupport
