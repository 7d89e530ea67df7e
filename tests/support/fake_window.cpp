// The recording fake of the window's controls.
#include "tests/support/fake_window.h"

#include <initializer_list>

#include "platform/codepage.h"

namespace testsupport {
namespace {

// The radio buttons of each group box, which a user's click makes exclusive.
const std::vector<std::vector<Control>>& RadioGroups() {
    static const std::vector<std::vector<Control>> groups = {
        {Control::单选框EX4, Control::单选框EX5},
        {Control::单选框EX1, Control::单选框EX2, Control::单选框EX3, Control::单选框EX6, Control::单选框EX8,
         Control::单选框EX7},
        {Control::单选框1, Control::单选框2, Control::单选框3, Control::单选框4, Control::单选框5,
         Control::单选框6},
    };
    return groups;
}

std::string DateText(const DateTime& v) {
    return std::to_string(v.year) + "-" + std::to_string(v.month) + "-" + std::to_string(v.day) + " " +
           std::to_string(v.hour) + ":" + std::to_string(v.minute) + ":" + std::to_string(v.second);
}

}  // namespace

std::string Gb(std::string_view utf8) {
    return platform::codepage::Utf8ToText(utf8);
}

std::string Utf8(std::string_view text) {
    return platform::codepage::TextToUtf8(text);
}

FakeWindow::FakeWindow() {
    for (Control control : {Control::单选框EX5, Control::单选框EX1, Control::单选框6, Control::选择框1}) {
        selected_[control] = true;
    }
    texts_ = {
        {Control::编辑框2, "10"},
        {Control::编辑框5, "1"},
        {Control::编辑框6, "10"},
        {Control::编辑框3, Gb("垃圾|虚假|假冒")},
    };
    dates_[Control::日期框_起始] = DateTime{2019, 10, 12, 8, 5, 0};
    dates_[Control::日期框_截止] = DateTime{2019, 10, 12, 8, 5, 0};
}

bool FakeWindow::IsSelected(Control control) const {
    auto found = selected_.find(control);
    return found != selected_.end() && found->second;
}

void FakeWindow::SetSelected(Control control, bool selected) {
    log_.push_back("SetSelected(" + std::to_string(static_cast<int>(control)) + "," + (selected ? "1" : "0") +
                   ")");
    selected_[control] = selected;
}

std::string FakeWindow::Text(Control control) const {
    auto found = texts_.find(control);
    return found == texts_.end() ? std::string() : found->second;
}

void FakeWindow::SetText(Control control, const std::string& text) {
    log_.push_back("SetText(" + std::to_string(static_cast<int>(control)) + "," + text + ")");
    texts_[control] = text;
}

std::string FakeWindow::Caption() const {
    return caption_;
}

void FakeWindow::SetCaption(const std::string& caption) {
    log_.push_back("SetCaption(" + caption + ")");
    caption_ = caption;
}

DateTime FakeWindow::DateValue(Control control) const {
    auto found = dates_.find(control);
    return found == dates_.end() ? DateTime{} : found->second;
}

void FakeWindow::SetDateValue(Control control, const DateTime& value) {
    log_.push_back("SetDateValue(" + std::to_string(static_cast<int>(control)) + "," + DateText(value) + ")");
    dates_[control] = value;
}

int FakeWindow::RowCount() const {
    return static_cast<int>(rows_.size());
}

int FakeWindow::AppendRow(const std::string& firstCell) {
    log_.push_back("AppendRow(" + firstCell + ")");
    rows_.push_back(Row{firstCell, "", ""});
    return static_cast<int>(rows_.size()) - 1;
}

void FakeWindow::SetCell(int row, int column, const std::string& text) {
    log_.push_back("SetCell(" + std::to_string(row) + "," + std::to_string(column) + "," + text + ")");
    if (row >= 0 && row < RowCount() && column >= 0 && column < 3) {
        rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
    }
}

std::string FakeWindow::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= 3) {
        return {};
    }
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void FakeWindow::DeleteAllRows() {
    log_.push_back("DeleteAllRows()");
    rows_.clear();
}

void FakeWindow::SetStatusText(const std::string& text) {
    log_.push_back("SetStatusText(" + text + ")");
    statusTexts_.push_back(text);
}

void FakeWindow::ProcessPendingEvents() {
    const int call = ++processEventsCount_;
    if (onEach_) {
        onEach_(call);
    }
    auto found = actions_.find(call);
    if (found != actions_.end()) {
        auto action = std::move(found->second);
        actions_.erase(found);
        action();
    }
}

bool FakeWindow::WindowClosed() const {
    return closed_;
}

void FakeWindow::Choose(Control control) {
    for (const auto& group : RadioGroups()) {
        bool inGroup = false;
        for (Control member : group) {
            inGroup = inGroup || member == control;
        }
        if (inGroup) {
            for (Control member : group) {
                selected_[member] = false;
            }
        }
    }
    selected_[control] = true;
}

void FakeWindow::DeleteRow(int row) {
    if (row >= 0 && row < RowCount()) {
        rows_.erase(rows_.begin() + row);
    }
}

void FakeWindow::At(int call, std::function<void()> action) {
    actions_[call] = std::move(action);
}

}  // namespace testsupport
