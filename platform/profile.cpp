// The profile-string stand-in: the file is read whole into lines, a key is looked up or updated
// among them, and an update writes a new file that replaces the old one by rename.
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/codepage.h"

namespace platform::profile {
namespace {

using codepage::CharacterLength;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Letter case is ignored for ASCII letters only; the bytes of a double-byte character compare exactly.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t pos = 0; pos < a.size();) {
        std::size_t length = CharacterLength(a, pos);
        if (length == 1 ? AsciiLower(a[pos]) != AsciiLower(b[pos])
                        : a.substr(pos, length) != b.substr(pos, length)) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view CutToWholeCharacters(std::string_view value, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < value.size()) {
        std::size_t next = end + CharacterLength(value, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return value.substr(0, end);
}

// The lines of the file, without their line ends. nullopt when the file cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    std::string content = bytes.str();
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        std::size_t next = end == std::string::npos ? content.size() : end + 1;
        std::string line = content.substr(start, (end == std::string::npos ? content.size() : end) - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = next;
    }
    return lines;
}

// The section name of a "[name]" line; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    std::size_t close = line.find(']');
    return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line; nullopt for a line without "=" or a section line.
std::optional<std::string_view> KeyName(std::string_view line) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || SectionName(line)) {
        return std::nullopt;
    }
    return Trim(line.substr(0, equals));
}

struct Location {
    std::optional<std::size_t> section;  // index of the section line
    std::optional<std::size_t> key;      // index of the key line inside that section
    std::size_t insertAt = 0;            // where a new key of that section goes
};

Location Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key) {
    Location found;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        auto name = SectionName(lines[i]);
        if (name && SameName(*name, section)) {
            found.section = i;
            break;
        }
    }
    if (!found.section) {
        return found;
    }
    found.insertAt = i + 1;
    for (++i; i < lines.size() && !SectionName(lines[i]); ++i) {
        if (!Trim(lines[i]).empty()) {
            found.insertAt = i + 1;
        }
        auto name = KeyName(lines[i]);
        if (name && SameName(*name, key) && !found.key) {
            found.key = i;
        }
    }
    return found;
}

// Closes a descriptor on every road.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A symbolic link keeps pointing at the file it named: the file it leads to is the one replaced.
std::filesystem::path ResolvedTarget(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_symlink(file, error)) {
        auto target = std::filesystem::weakly_canonical(file, error);
        if (!error) {
            return target;
        }
    }
    return file;
}

// Writes the bytes to a temporary file beside `file`, flushed to disk, and renames it over `file`.
bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path target = ResolvedTarget(file);
    std::filesystem::path temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);

    struct stat former {};
    const bool hadFile = ::stat(target.c_str(), &former) == 0;
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        return false;
    }
    bool written = WriteAll(fd.Get(), bytes) &&
                   (!hadFile || ::fchmod(fd.Get(), former.st_mode & 07777) == 0) && ::fsync(fd.Get()) == 0;
    written = fd.Close() && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string_view FirstLine(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

}  // namespace

std::string GetString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                      std::string_view defaultValue) {
    auto lines = ReadLines(file);
    if (!lines) {
        return std::string(defaultValue);
    }
    Location found = Find(*lines, section, key);
    if (!found.key) {
        return std::string(defaultValue);
    }
    const std::string& line = (*lines)[*found.key];
    std::string_view value = std::string_view(line).substr(line.find('=') + 1);
    return std::string(CutToWholeCharacters(WithoutQuotes(Trim(value)), kMaxValueBytes));
}

bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value) {
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    auto lines =
        exists ? ReadLines(file) : std::optional<std::vector<std::string>>(std::vector<std::string>{});
    if (!lines) {
        return false;
    }
    const std::string keyLine = std::string(key) + "=" + std::string(FirstLine(value));
    Location found = Find(*lines, section, key);
    if (found.key) {
        (*lines)[*found.key] = keyLine;
    } else if (found.section) {
        lines->insert(lines->begin() + static_cast<std::ptrdiff_t>(found.insertAt), keyLine);
    } else {
        std::string sectionLine = "[";
        sectionLine.append(section).append("]");
        lines->push_back(std::move(sectionLine));
        lines->push_back(keyLine);
    }
    std::string bytes;
    for (const auto& line : *lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return ReplaceFile(file, bytes);
}

}  // namespace platform::profile
