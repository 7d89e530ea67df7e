// The settings file: what a search writes, what the start-up reads back, and the file's rules.
#include "search/settings_file.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "search/date_time_text.h"
#include "tests/support/fake_window.h"

namespace fs = std::filesystem;
using testsupport::FakeWindow;
using testsupport::Gb;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("settings-test-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path File() const { return folder_ / "config.ini"; }
    void WriteFile(const std::string& bytes) { std::ofstream(File(), std::ios::binary) << bytes; }
    std::string ReadFile() const {
        std::ifstream in(File(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    fs::path folder_;
};

const Control kTimeOptions[] = {Control::单选框1, Control::单选框2, Control::单选框3,
                                Control::单选框4, Control::单选框5, Control::单选框6};

TEST_F(SettingsFileTest, WithoutAFileTheWindowKeepsItsDesignState) {
    FakeWindow window;
    LoadSettings(window, folder_);
    FakeWindow design;
    EXPECT_EQ(window.Text(Control::编辑框3), design.Text(Control::编辑框3));
    EXPECT_TRUE(window.IsSelected(Control::选择框1));
    for (Control option : kTimeOptions) {
        EXPECT_EQ(window.IsSelected(option), option == Control::单选框6);
    }
    EXPECT_EQ(window.DateValue(Control::日期框_起始), design.DateValue(Control::日期框_起始));
    EXPECT_EQ(window.DateValue(Control::日期框_截止), design.DateValue(Control::日期框_截止));
    EXPECT_FALSE(fs::exists(File()));
}

TEST_F(SettingsFileTest, TheFirstSaveCreatesTheFileInKeyOrder) {
    FakeWindow window;
    SaveSettings(window, folder_);
    EXPECT_EQ(ReadFile(), Gb("[system]\r\npingbi=垃圾|虚假|假冒\r\nclean=true\r\n[date]\r\n"
                             "1=false\r\n2=false\r\n3=false\r\n4=false\r\n5=false\r\n6=true\r\n"));
}

TEST_F(SettingsFileTest, ACustomRangeOnTheFirstSaveWritesItsDatesRightAfterFive) {
    FakeWindow window;
    window.Choose(Control::单选框5);
    window.SetDateValue(Control::日期框_起始, {2019, 10, 1, 0, 0, 0});
    window.SetDateValue(Control::日期框_截止, {2019, 10, 2, 0, 0, 0});
    SaveSettings(window, folder_);
    EXPECT_EQ(ReadFile(),
              Gb("[system]\r\npingbi=垃圾|虚假|假冒\r\nclean=true\r\n[date]\r\n1=false\r\n2=false\r\n"
                 "3=false\r\n4=false\r\n5=true\r\nfrom=2019年10月1日\r\nto=2019年10月2日\r\n6=false\r\n"));
}

TEST_F(SettingsFileTest, ACustomRangeAddsItsDatesAndAnotherOptionLeavesThem) {
    FakeWindow window;
    SaveSettings(window, folder_);
    window.Choose(Control::单选框5);
    window.SetDateValue(Control::日期框_起始, {2019, 10, 1, 0, 0, 0});
    window.SetDateValue(Control::日期框_截止, {2019, 10, 12, 8, 0, 3});
    SaveSettings(window, folder_);
    // New keys go to the end of their section, after the "6" the first save wrote.
    const std::string customFile =
        Gb("[system]\r\npingbi=垃圾|虚假|假冒\r\nclean=true\r\n[date]\r\n1=false\r\n2=false\r\n3=false\r\n"
           "4=false\r\n5=true\r\n6=false\r\nfrom=2019年10月1日\r\nto=2019年10月12日8时0分3秒\r\n");
    EXPECT_EQ(ReadFile(), customFile);

    window.Choose(Control::单选框1);
    window.SetDateValue(Control::日期框_起始, {2020, 1, 1, 0, 0, 0});
    SaveSettings(window, folder_);
    std::string lastDayFile = customFile;
    lastDayFile.replace(lastDayFile.find("1=false"), 7, "1=true");
    lastDayFile.replace(lastDayFile.find("5=true"), 6, "5=false");
    EXPECT_EQ(ReadFile(), lastDayFile);

    // At the next start the date boxes show the range of the last custom search.
    FakeWindow started;
    LoadSettings(started, folder_);
    EXPECT_TRUE(started.IsSelected(Control::单选框1));
    EXPECT_FALSE(started.IsSelected(Control::单选框5));
    EXPECT_EQ(started.DateValue(Control::日期框_起始), (DateTime{2019, 10, 1, 0, 0, 0}));
    EXPECT_EQ(started.DateValue(Control::日期框_截止), (DateTime{2019, 10, 12, 8, 0, 3}));
}

TEST_F(SettingsFileTest, ASavedWindowLoadsBackTheSame) {
    FakeWindow window;
    window.SetText(Control::编辑框3, Gb("广告| 推广 |"));
    window.SetSelected(Control::选择框1, false);
    window.Choose(Control::单选框3);
    SaveSettings(window, folder_);

    FakeWindow started;
    LoadSettings(started, folder_);
    EXPECT_EQ(started.Text(Control::编辑框3), Gb("广告| 推广 |"));
    EXPECT_FALSE(started.IsSelected(Control::选择框1));
    for (Control option : kTimeOptions) {
        EXPECT_EQ(started.IsSelected(option), option == Control::单选框3);
    }
}

TEST_F(SettingsFileTest, OnlyLowerCaseTrueTicksTheClearOption) {
    struct Case {
        const char* value;
        bool ticked;
    } cases[] = {{"true", true}, {"TRUE", false}, {"True", false},  {"1", false},
                 {"", false},    {"yes", false},  {" true ", true}, {"\"true\"", true}};
    for (const auto& c : cases) {
        WriteFile(std::string("[system]\r\nclean=") + c.value + "\r\n");
        FakeWindow window;
        LoadSettings(window, folder_);
        EXPECT_EQ(window.IsSelected(Control::选择框1), c.ticked) << c.value;
    }
}

TEST_F(SettingsFileTest, TheBlacklistComesBackTrimmedUnquotedAndCut) {
    struct Case {
        std::string stored;
        std::string loaded;
    } cases[] = {
        {"  a|b  ", "a|b"},
        {"\"a|b\"", "a|b"},
        {"\" a|b \"", " a|b "},
        {"", ""},
        {std::string(20000, 'x'), std::string(10239, 'x')},
    };
    for (const auto& c : cases) {
        WriteFile("[system]\r\npingbi=" + c.stored + "\r\n");
        FakeWindow window;
        LoadSettings(window, folder_);
        EXPECT_EQ(window.Text(Control::编辑框3), c.loaded) << c.stored.substr(0, 20);
    }
}

TEST_F(SettingsFileTest, ABlacklistWithALineBreakComesBackUpToTheBreakAndAddsNoLines) {
    FakeWindow window;
    window.SetText(Control::编辑框3, "a|b\r\n[date]\r\n1=true");
    SaveSettings(window, folder_);
    FakeWindow started;
    LoadSettings(started, folder_);
    EXPECT_EQ(started.Text(Control::编辑框3), "a|b");
    EXPECT_FALSE(started.IsSelected(Control::单选框1));
    EXPECT_TRUE(started.IsSelected(Control::单选框6));
}

TEST_F(SettingsFileTest, AFileWrittenByAGbkSystemReadsBackUnchanged) {
    // 垃圾|虚假|假冒 and the dates as a GBK system writes them.
    WriteFile(
        "[system]\r\npingbi=\xC0\xAC\xBB\xF8|\xD0\xE9\xBC\xD9|\xBC\xD9\xC3\xB0\r\nclean=false\r\n"
        "[date]\r\n1=false\r\n2=false\r\n3=false\r\n4=false\r\n5=true\r\n"
        "from=2019\xC4\xEA"
        "10\xD4\xC2"
        "12\xC8\xD5\r\nto=2019\xC4\xEA"
        "10\xD4\xC2"
        "13\xC8\xD5"
        "8\xCA\xB1"
        "5\xB7\xD6\r\n"
        "6=false\r\n");
    FakeWindow window;
    LoadSettings(window, folder_);
    EXPECT_EQ(window.Text(Control::编辑框3), Gb("垃圾|虚假|假冒"));
    EXPECT_FALSE(window.IsSelected(Control::选择框1));
    EXPECT_TRUE(window.IsSelected(Control::单选框5));
    EXPECT_FALSE(window.IsSelected(Control::单选框6));
    EXPECT_EQ(window.DateValue(Control::日期框_起始), (DateTime{2019, 10, 12, 0, 0, 0}));
    EXPECT_EQ(window.DateValue(Control::日期框_截止), (DateTime{2019, 10, 13, 8, 5, 0}));
}

TEST_F(SettingsFileTest, DatesReadInTheirFormsAndInvalidOnesAsTheEarliest) {
    struct Case {
        const char* stored;
        DateTime loaded;
    } cases[] = {
        {"2019-10-12", {2019, 10, 12, 0, 0, 0}},
        {"", kEarliestDateTime},
        {"abc", kEarliestDateTime},
        {"2019-02-30", kEarliestDateTime},
    };
    for (const auto& c : cases) {
        WriteFile(std::string("[date]\r\nfrom=") + c.stored + "\r\n");
        FakeWindow window;
        LoadSettings(window, folder_);
        EXPECT_EQ(window.DateValue(Control::日期框_起始), c.loaded) << c.stored;
        EXPECT_EQ(window.DateValue(Control::日期框_截止), FakeWindow().DateValue(Control::日期框_截止));
    }
}

TEST_F(SettingsFileTest, EachTimeOptionIsSetExplicitlyInOrder) {
    WriteFile("[date]\r\n1=true\r\n2=false\r\n3=true\r\n4=false\r\n5=false\r\n6=false\r\n");
    FakeWindow window;
    LoadSettings(window, folder_);
    std::vector<std::string> timeCalls;
    for (const std::string& call : window.Log()) {
        for (int i = 0; i < 6; ++i) {
            if (call.starts_with("SetSelected(" + std::to_string(static_cast<int>(kTimeOptions[i])) + ",")) {
                timeCalls.push_back(std::to_string(i + 1) + call.substr(call.size() - 2));
            }
        }
    }
    EXPECT_EQ(timeCalls, (std::vector<std::string>{"11)", "20)", "31)", "40)", "50)", "60)"}));
}

TEST_F(SettingsFileTest, AMissingKeyLeavesItsControlAsItIs) {
    WriteFile("[system]\r\npingbi=only this\r\n");
    FakeWindow window;
    window.SetSelected(Control::选择框1, false);
    window.Choose(Control::单选框2);
    LoadSettings(window, folder_);
    EXPECT_EQ(window.Text(Control::编辑框3), "only this");
    EXPECT_FALSE(window.IsSelected(Control::选择框1));
    for (Control option : kTimeOptions) {
        EXPECT_EQ(window.IsSelected(option), option == Control::单选框2);
    }
}

TEST_F(SettingsFileTest, AFolderThatCannotBeWrittenIsSilentlySkipped) {
    const fs::path notAFolder = folder_ / "plain";
    std::ofstream(notAFolder) << "x";
    FakeWindow window;
    SaveSettings(window, notAFolder);
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_TRUE(fs::is_regular_file(notAFolder));
}

}  // namespace
