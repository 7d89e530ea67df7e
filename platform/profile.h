// The profile-string functions over an INI file, with the rules of the system functions they stand
// in for: section and key names match without regard to letter case, a value read loses the blanks
// around it and one enclosing pair of quotes and is cut to what a 10240-byte buffer holds; a write
// updates a key in place, adds a new key at the end of its section and a new section at the end of
// the file, and leaves every other line as it stands. Files are bytes in program text; lines end in
// CR LF when written and may end in LF alone when read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform::profile {

// Longest value a read returns, in bytes: the buffer of 10240 less its terminator.
inline constexpr std::size_t kMaxValueBytes = 10239;

// The value of `key` in `section`, or `defaultValue` unchanged when the file, the section or the key
// is missing. A value longer than kMaxValueBytes is cut at the last whole character within them.
std::string GetString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                      std::string_view defaultValue);

// Writes `key`=`value` into `section`. A value is one line: it is cut at its first line break, so no
// value can add lines of its own to the file. The file is replaced as a whole (a temporary file
// beside it, then a rename), so a write cut short leaves the former file intact. False when the file
// cannot be written; nothing has changed then.
bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value);

}  // namespace platform::profile
