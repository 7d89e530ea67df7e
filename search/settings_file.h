// The settings file: config.ini in the program's folder keeps the blacklist, the clear-before-search
// option and the time window with the dates of a custom range from one run of the program to the
// next. The keyword, the source, the page mode and the page numbers are not stored.
#pragma once

#include <filesystem>

#include "search/window_controls.h"

// Writes the options, key by key, from the controls into `programFolder`/config.ini. A file that
// cannot be written is left as it was, silently.
void SaveSettings(const WindowControls& window, const std::filesystem::path& programFolder);

// Reads the options from `programFolder`/config.ini into the controls. A missing file or key leaves
// its control as it is.
void LoadSettings(WindowControls& window, const std::filesystem::path& programFolder);
