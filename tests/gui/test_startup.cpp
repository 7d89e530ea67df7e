// Start-up and shut-down in a temporary program folder: the files written, attached and deleted,
// the settings loaded, the welcome text, TipIndex; the error report and early end when the skinning
// library cannot be called; and a copy of the real program started in a folder of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/carried_files.h"
#include "app/startup.h"
#include "ui/tip_index.h"

namespace {

namespace fs = std::filesystem;

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        TipIndex = 0;
    }

    QString PathOf(const char* name) const { return folder_.filePath(QString::fromUtf8(name)); }
    fs::path Folder() const { return fs::path(folder_.path().toStdU16String()); }

    void WriteFile(const char* name, const std::string& bytes) const {
        std::ofstream(Folder() / name, std::ios::binary) << bytes;
    }

    StartupResult Start() {
        ConnectCanBeClosedHandler(window_, Folder());
        return RunCreatedHandler(window_, Folder(),
                                 [this](const QString& text) { reports_.push_back(text); });
    }

    QTemporaryDir folder_;
    MainWindow window_{fs::path(folder_.path().toStdU16String())};
    std::vector<QString> reports_;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(Startup, FirstStartLeavesTheLibraryAloneBesideTheProgramAndGreets) {
    ASSERT_EQ(Start(), StartupResult::Ready);
    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(TipIndex, 1);
    EXPECT_EQ(ReadAll(PathOf("Skin.dll")),
              QByteArray(CarriedSkinLibrary().data(), static_cast<qsizetype>(CarriedSkinLibrary().size())));
    EXPECT_TRUE(QFile::permissions(PathOf("Skin.dll")).testFlag(QFile::WriteOwner));
    EXPECT_FALSE(QFile::exists(PathOf("normal.skin")));
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Skin.dll"})
        << "no temporary file is left behind";
    EXPECT_EQ(window_.StatusText(), "\xbb\xb6\xd3\xad~");
    // The skin is the carried style sheet, attached to the running application.
    EXPECT_EQ(qApp->styleSheet().toUtf8(),
              QByteArray(CarriedSkinFile().data(), static_cast<qsizetype>(CarriedSkinFile().size())));
}

TEST_F(Startup, ClosingTheWindowDeletesTheLibrary) {
    ASSERT_EQ(Start(), StartupResult::Ready);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    window_.close();
    EXPECT_FALSE(QFile::exists(PathOf("Skin.dll")));
    EXPECT_TRUE(window_.WindowClosed());
}

TEST_F(Startup, StoredSettingsReachTheControls) {
    // "广告" in program text.
    WriteFile("config.ini",
              "[system]\r\npingbi=\xb9\xe3\xb8\xe6\r\nclean=false\r\n"
              "[date]\r\n1=true\r\n2=false\r\n3=false\r\n4=false\r\n5=true\r\n6=false\r\n"
              "from=2024\xc4\xea"
              "3\xd4\xc2"
              "5\xc8\xd5\r\n");
    ASSERT_EQ(Start(), StartupResult::Ready);
    EXPECT_EQ(window_.Text(Control::编辑框3), "\xb9\xe3\xb8\xe6");
    EXPECT_FALSE(window_.IsSelected(Control::选择框1));
    // Several time options may be selected at once after loading.
    EXPECT_TRUE(window_.IsSelected(Control::单选框1));
    EXPECT_TRUE(window_.IsSelected(Control::单选框5));
    EXPECT_FALSE(window_.IsSelected(Control::单选框6));
    EXPECT_EQ(window_.DateValue(Control::日期框_起始), (DateTime{2024, 3, 5, 0, 0, 0}));
    EXPECT_EQ(TipIndex, 1) << "whatever the settings are";
}

TEST_F(Startup, AnOldSkinFileIsReplacedUsedAndDeleted) {
    WriteFile("normal.skin", "QWidget { color: red; }");
    ASSERT_EQ(Start(), StartupResult::Ready);
    EXPECT_FALSE(QFile::exists(PathOf("normal.skin")));
    EXPECT_FALSE(qApp->styleSheet().contains("color: red"));
}

TEST_F(Startup, AReadOnlyLibraryLeftByAnEarlierRunIsReplacedAndMadeWritable) {
    WriteFile("Skin.dll", "left over");
    QFile::setPermissions(PathOf("Skin.dll"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_EQ(Start(), StartupResult::Ready);
    EXPECT_EQ(ReadAll(PathOf("Skin.dll")).size(), static_cast<qsizetype>(CarriedSkinLibrary().size()));
    EXPECT_TRUE(QFile::permissions(PathOf("Skin.dll")).testFlag(QFile::WriteOwner));
}

// A second link to the old file stands for another running copy that has it mapped: that copy's
// file keeps its bytes, and only the name points at the new library.
TEST_F(Startup, TheLibraryIsReplacedByNameWithoutTouchingTheOldFile) {
    WriteFile("Skin.dll", "old library");
    fs::create_hard_link(Folder() / "Skin.dll", Folder() / "held");
    ASSERT_EQ(Start(), StartupResult::Ready);
    EXPECT_EQ(ReadAll(PathOf("held")), QByteArray("old library"));
    EXPECT_EQ(ReadAll(PathOf("Skin.dll")).size(), static_cast<qsizetype>(CarriedSkinLibrary().size()));
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"held", "Skin.dll"}))
        << "no partly written file is left behind";
}

TEST_F(Startup, AFailedWriteLeavesNoPartlyWrittenFileBehind) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir("Skin.dll"));
    ASSERT_TRUE(QDir(folder_.path()).mkdir("normal.skin"));
    EXPECT_EQ(Start(), StartupResult::SkinNotCallable);
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST_F(Startup, ALibraryThatCannotBeWrittenOrLoadedEndsTheProgramBeforeTheSettings) {
    // A folder where the library should go: the write fails and nothing loadable is there.
    ASSERT_TRUE(QDir(folder_.path()).mkdir("Skin.dll"));
    WriteFile("config.ini", "[system]\r\npingbi=changed\r\n");
    EXPECT_EQ(Start(), StartupResult::SkinNotCallable);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_TRUE(reports_[0].contains("Skin.dll"));
    EXPECT_TRUE(reports_[0].contains("SkinH_AttachEx"));
    EXPECT_EQ(window_.Text(Control::编辑框3), "\xc0\xac\xbb\xf8|\xd0\xe9\xbc\xd9|\xbc\xd9\xc3\xb0")
        << "settings are not loaded";
    EXPECT_EQ(window_.StatusText(), "");
    EXPECT_EQ(TipIndex, 1);
}

// The real program, copied into a folder that holds nothing else.
TEST_F(Startup, TheCopiedProgramWritesItsLibraryAndDropsTheSkinFile) {
    const QString program = PathOf("search-collector");
    ASSERT_TRUE(QFile::copy(SEARCH_COLLECTOR_EXECUTABLE, program));
    // A skin file already there goes only once the skin is attached, so its absence marks the end
    // of start-up.
    WriteFile("normal.skin", "QWidget { color: red; }");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(30000));

    const bool settled = QTest::qWaitFor(
        [&] {
            return QFile::exists(PathOf("Skin.dll")) && !QFile::exists(PathOf("normal.skin")) &&
                   ReadAll(PathOf("Skin.dll")).size() == static_cast<qsizetype>(CarriedSkinLibrary().size());
        },
        60000);
    EXPECT_TRUE(settled);
    EXPECT_EQ(process.state(), QProcess::Running) << "the program keeps running with its window";
    process.kill();
    process.waitForFinished(30000);
}

}  // namespace
