// Start-up and shut-down around the main window.
#include "app/startup.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QMessageBox>
#include <string>
#include <string_view>
#include <system_error>

#include "app/carried_files.h"
#include "search/settings_file.h"
#include "ui/program_text.h"
#include "ui/tip_index.h"

namespace {

constexpr char kLibraryName[] = "Skin.dll";
constexpr char kSkinFileName[] = "normal.skin";
constexpr char kAttachFunction[] = "SkinH_AttachEx";

using SkinAttach = int (*)(const char* skinPath, const char* password);

QString PathOf(const std::filesystem::path& programFolder, const char* name) {
    return QString::fromStdU16String((programFolder / name).u16string());
}

// Written whole to a file of this process beside the target and renamed over it, so a copy of the
// program that has the old library mapped keeps running on the old file. Nothing is synced to the
// disk: both files are written afresh at every start, and a sync can cost more than the rest of the
// start-up on a busy disk.
void WriteCarriedFile(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path partial = target;
    partial += ".part" + std::to_string(QCoreApplication::applicationPid());
    const QString partialPath = QString::fromStdU16String(partial.u16string());
    // A file of that name can only be left over by a process that ended long ago.
    QFile::remove(partialPath);
    QFile file(partialPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return;
    }
    const bool written =
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    file.close();
    std::error_code error;
    if (!written || file.error() != QFileDevice::NoError) {
        std::filesystem::remove(partial, error);
        return;
    }
    std::filesystem::rename(partial, target, error);
    if (error) {
        std::filesystem::remove(partial, error);
    }
}

// Linux has no hidden attribute: setting the attributes only clears read-only.
void SetHiddenAttributeAlone(const QString& path) {
    const QFile::Permissions permissions = QFile::permissions(path);
    if (permissions != QFile::Permissions()) {
        QFile::setPermissions(path, permissions | QFile::WriteOwner | QFile::WriteUser);
    }
}

// Loads the library by its full path (a bare name would search the library path instead) and
// calls its attach function; the library stays loaded until the process ends.
bool AttachSkin(const QString& libraryPath, const QString& skinPath, const ErrorReport& report) {
    QLibrary library(libraryPath);
    auto attach = reinterpret_cast<SkinAttach>(library.resolve(kAttachFunction));
    if (attach == nullptr) {
        report(QStringLiteral("无法调用库 %1 中的函数 %2。\n\n%3")
                   .arg(libraryPath, QString::fromLatin1(kAttachFunction), library.errorString()));
        return false;
    }
    attach(QFile::encodeName(skinPath).constData(), "");
    return true;
}

}  // namespace

void ShowErrorReport(const QString& text) {
    QMessageBox::critical(nullptr, QStringLiteral("拾穗集搜索采集器"), text);
}

std::filesystem::path ProgramFolder() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String());
}

StartupResult RunCreatedHandler(MainWindow& window, const std::filesystem::path& programFolder,
                                const ErrorReport& report) {
    TipIndex = 1;
    WriteCarriedFile(programFolder / kLibraryName, CarriedSkinLibrary());
    WriteCarriedFile(programFolder / kSkinFileName, CarriedSkinFile());
    SetHiddenAttributeAlone(PathOf(programFolder, kLibraryName));
    if (!AttachSkin(PathOf(programFolder, kLibraryName), PathOf(programFolder, kSkinFileName), report)) {
        return StartupResult::SkinNotCallable;
    }
    QFile::remove(PathOf(programFolder, kSkinFileName));
    LoadSettings(window, programFolder);
    window.SetStatusText(ToProgramText(QStringLiteral("欢迎~")));
    return StartupResult::Ready;
}

void RunCanBeClosedHandler(const std::filesystem::path& programFolder) {
    QFile::remove(PathOf(programFolder, kLibraryName));
}

void ConnectCanBeClosedHandler(MainWindow& window, const std::filesystem::path& programFolder) {
    QObject::connect(&window, &MainWindow::closing, &window,
                     [programFolder] { RunCanBeClosedHandler(programFolder); });
}
