// The program's life around its window: the created handler, which puts the skinning library and
// its skin file beside the program, attaches the skin, loads the settings and greets the user; and
// the can-be-closed handler, which removes the library file again.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "ui/main_window.h"

// Shows the runtime's error report when the program cannot go on. Tests hand in their own.
using ErrorReport = std::function<void(const QString& text)>;

// The report a user sees: a modal message box.
void ShowErrorReport(const QString& text);

enum class StartupResult {
    Ready,            // the window is ready for the event loop
    SkinNotCallable,  // the library or its function is missing: the program must end
};

// The folder that holds the program's executable.
std::filesystem::path ProgramFolder();

// The created handler, in its order: TipIndex := 1; Skin.dll and normal.skin written into
// `programFolder`; the skin attached; normal.skin deleted; the settings loaded; "欢迎~" shown.
// Failed writes and deletions are ignored. When Skin.dll cannot be loaded or lacks SkinH_AttachEx
// the error report names both and nothing after the attach step runs.
StartupResult RunCreatedHandler(MainWindow& window, const std::filesystem::path& programFolder,
                                const ErrorReport& report);

// Runs the can-be-closed handler whenever `window` is about to close.
void ConnectCanBeClosedHandler(MainWindow& window, const std::filesystem::path& programFolder);

// The can-be-closed handler: deletes Skin.dll from `programFolder`; a failure is ignored and the
// window closes all the same.
void RunCanBeClosedHandler(const std::filesystem::path& programFolder);
