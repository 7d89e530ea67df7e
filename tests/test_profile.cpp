// The profile-string stand-in: the read rules, in-place writes, line ends, and whole-file replacement.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using platform::profile::GetString;
using platform::profile::kMaxValueBytes;
using platform::profile::WriteString;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("profile-test-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = folder_ / "config.ini";
    }
    void TearDown() override { fs::remove_all(folder_); }

    void WriteBytes(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
    std::string ReadBytes() const {
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Names in the folder other than config.ini: leftovers of a write.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            if (entry.path().filename() != "config.ini") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    fs::path folder_;
    fs::path file_;
};

TEST_F(ProfileTest, AMissingFileSectionOrKeyGivesTheDefaultUnchanged) {
    EXPECT_EQ(GetString(file_, "system", "pingbi", "  keep me\r\nas is "), "  keep me\r\nas is ");
    WriteBytes("[system]\r\nclean=true\r\n");
    EXPECT_EQ(GetString(file_, "system", "pingbi", "d"), "d");
    EXPECT_EQ(GetString(file_, "date", "clean", "d"), "d");
}

TEST_F(ProfileTest, ReadsValuesByTheProfileRules) {
    WriteBytes(
        "; a comment line\r\n"
        "[System]\r\n"
        "PingBi =  spaced value \t\r\n"
        "quoted=\"  inside quotes  \"\r\n"
        "single='x'\r\n"
        "mismatched=\"x'\r\n"
        "lonequote=\"\r\n"
        "empty=\r\n"
        "twice=first\r\n"
        "twice=second\r\n"
        "  indented = yes\r\n"
        "equals=a=b\r\n"
        "[ date ]\r\n"
        "1=true\n"  // LF alone
        "from=2019-10-12\r\n"
        "[other]\r\n"
        "quoted=elsewhere\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"system", "pingbi", "spaced value"},
        {"SYSTEM", "PINGBI", "spaced value"},
        {"system", "quoted", "  inside quotes  "},
        {"system", "single", "x"},
        {"system", "mismatched", "\"x'"},
        {"system", "lonequote", "\""},
        {"system", "empty", ""},
        {"system", "twice", "first"},
        {"system", "indented", "yes"},
        {"system", "equals", "a=b"},
        {"date", "1", "true"},
        {"date", "from", "2019-10-12"},
        {"other", "quoted", "elsewhere"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetString(file_, c.section, c.key, "default"), c.value) << c.section << "/" << c.key;
    }
    EXPECT_EQ(GetString(file_, "date", "pingbi", "default"), "default");
}

TEST_F(ProfileTest, ALongValueIsCutTo10239BytesWithoutSplittingACharacter) {
    WriteBytes("[s]\r\nascii=" + std::string(20000, 'a') + "\r\nwide=" + std::string(20000, '\xB0') + "\r\n");
    EXPECT_EQ(GetString(file_, "s", "ascii", ""), std::string(kMaxValueBytes, 'a'));
    // Pairs of B0 B0 are whole characters: 10239 would split one, so the cut keeps 10238 bytes.
    EXPECT_EQ(GetString(file_, "s", "wide", ""), std::string(kMaxValueBytes - 1, '\xB0'));
}

TEST_F(ProfileTest, WritesANewFileWithCrLfLines) {
    ASSERT_TRUE(WriteString(file_, "system", "pingbi", "a|b"));
    ASSERT_TRUE(WriteString(file_, "system", "clean", "true"));
    ASSERT_TRUE(WriteString(file_, "date", "1", "false"));
    EXPECT_EQ(ReadBytes(), "[system]\r\npingbi=a|b\r\nclean=true\r\n[date]\r\n1=false\r\n");
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(ProfileTest, UpdatesInPlaceAddsKeysAtTheEndOfTheirSectionAndKeepsOtherLines) {
    WriteBytes(
        "; kept\n"
        "[System]\n"
        "PINGBI=old\n"
        "clean=false\n"
        "\n"
        "[date]\n"
        "5=true\n");
    ASSERT_TRUE(WriteString(file_, "system", "pingbi", "new"));
    ASSERT_TRUE(WriteString(file_, "SYSTEM", "added", "1"));
    ASSERT_TRUE(WriteString(file_, "date", "from", "2019年"));
    ASSERT_TRUE(WriteString(file_, "extra", "k", "v"));
    EXPECT_EQ(ReadBytes(),
              "; kept\r\n"
              "[System]\r\n"
              "pingbi=new\r\n"
              "clean=false\r\n"
              "added=1\r\n"
              "\r\n"
              "[date]\r\n"
              "5=true\r\n"
              "from=2019年\r\n"
              "[extra]\r\n"
              "k=v\r\n");
}

TEST_F(ProfileTest, AValueIsOneLine) {
    ASSERT_TRUE(WriteString(file_, "system", "pingbi", "a|b\r\n[date]\r\n1=true"));
    EXPECT_EQ(ReadBytes(), "[system]\r\npingbi=a|b\r\n");
    EXPECT_EQ(GetString(file_, "system", "pingbi", ""), "a|b");
    EXPECT_EQ(GetString(file_, "date", "1", "none"), "none");
}

TEST_F(ProfileTest, GbkBytesGoThroughUnchanged) {
    const std::string gbk = "\xC0\xAC\xBB\xF8|\xD0\xE9\xBC\xD9";  // 垃圾|虚假
    WriteBytes("[system]\r\npingbi=" + gbk + "\r\n");
    EXPECT_EQ(GetString(file_, "system", "pingbi", ""), gbk);
    ASSERT_TRUE(WriteString(file_, "system", "clean", "true"));
    EXPECT_EQ(ReadBytes(), "[system]\r\npingbi=" + gbk + "\r\nclean=true\r\n");
}

TEST_F(ProfileTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
    // The folder is a regular file.
    const fs::path notAFolder = folder_ / "plain";
    std::ofstream(notAFolder) << "x";
    EXPECT_FALSE(WriteString(notAFolder / "config.ini", "s", "k", "v"));
    // A folder stands where the file should go.
    fs::create_directory(file_);
    EXPECT_FALSE(WriteString(file_, "s", "k", "v"));
    EXPECT_TRUE(fs::is_directory(file_));
    EXPECT_EQ(Leftovers(), std::vector<std::string>{"plain"});
    // A folder inside /proc takes no new files.
    EXPECT_FALSE(WriteString("/proc/self/config.ini", "s", "k", "v"));
}

TEST_F(ProfileTest, AWriteReplacesTheFileAndKeepsItsPermissionsAndLinks) {
    WriteBytes("[s]\r\nk=1\r\n");
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder_ / "link.ini";
    fs::create_symlink(file_, link);
    ASSERT_TRUE(WriteString(link, "s", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(), "[s]\r\nk=2\r\n");
    EXPECT_EQ(fs::status(file_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{"link.ini"});
}

}  // namespace
