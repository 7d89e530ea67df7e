// SaveSettings and LoadSettings: the options go to config.ini key by key, and come back key by key
// with each control's present state as the default, so a missing key leaves its control as it is.
#include "search/settings_file.h"

#include <array>
#include <string_view>

#include "platform/profile.h"
#include "search/date_time_text.h"

namespace {

using platform::profile::GetString;
using platform::profile::WriteString;

struct FlagKey {
    std::string_view key;
    Control control;
};

// The time options 一天前 .. 一年前 under the keys "1" to "4"; "5" and "6" are handled on their own
// because of the dates that go with "5".
constexpr std::array kRelativeTimeKeys{
    FlagKey{"1", Control::单选框1},
    FlagKey{"2", Control::单选框2},
    FlagKey{"3", Control::单选框3},
    FlagKey{"4", Control::单选框4},
};

constexpr std::array kAllTimeKeys{
    FlagKey{"1", Control::单选框1}, FlagKey{"2", Control::单选框2}, FlagKey{"3", Control::单选框3},
    FlagKey{"4", Control::单选框4}, FlagKey{"5", Control::单选框5}, FlagKey{"6", Control::单选框6},
};

std::filesystem::path SettingsPath(const std::filesystem::path& programFolder) {
    return programFolder / "config.ini";
}

std::string FlagText(bool set) {
    return set ? "true" : "false";
}

bool ReadFlag(const std::filesystem::path& file, std::string_view section, std::string_view key,
              bool current) {
    return GetString(file, section, key, FlagText(current)) == "true";
}

DateTime ReadDate(const std::filesystem::path& file, std::string_view key, const DateTime& current) {
    return ReadDateTimeText(GetString(file, "date", key, DateTimeText(current)));
}

}  // namespace

// A write that fails leaves the file as it was; the search goes on without a word about it.
void SaveSettings(const WindowControls& window, const std::filesystem::path& programFolder) {
    const std::filesystem::path file = SettingsPath(programFolder);
    WriteString(file, "system", "pingbi", window.Text(Control::编辑框3));
    WriteString(file, "system", "clean", FlagText(window.IsSelected(Control::选择框1)));
    for (const auto& [key, control] : kRelativeTimeKeys) {
        WriteString(file, "date", key, FlagText(window.IsSelected(control)));
    }
    if (window.IsSelected(Control::单选框5)) {
        WriteString(file, "date", "5", "true");
        WriteString(file, "date", "from", DateTimeText(window.DateValue(Control::日期框_起始)));
        WriteString(file, "date", "to", DateTimeText(window.DateValue(Control::日期框_截止)));
    } else {
        // The dates of an earlier custom range stay in the file.
        WriteString(file, "date", "5", "false");
    }
    WriteString(file, "date", "6", FlagText(window.IsSelected(Control::单选框6)));
}

void LoadSettings(WindowControls& window, const std::filesystem::path& programFolder) {
    const std::filesystem::path file = SettingsPath(programFolder);
    window.SetText(Control::编辑框3, GetString(file, "system", "pingbi", window.Text(Control::编辑框3)));
    window.SetSelected(Control::选择框1,
                       ReadFlag(file, "system", "clean", window.IsSelected(Control::选择框1)));
    for (const auto& [key, control] : kAllTimeKeys) {
        window.SetSelected(control, ReadFlag(file, "date", key, window.IsSelected(control)));
    }
    window.SetDateValue(Control::日期框_起始, ReadDate(file, "from", window.DateValue(Control::日期框_起始)));
    window.SetDateValue(Control::日期框_截止, ReadDate(file, "to", window.DateValue(Control::日期框_截止)));
}
