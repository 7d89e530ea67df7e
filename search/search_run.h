// The search run: the handler of the search button. It checks the input, saves the settings, clears
// the list when asked, composes the query and the time filter, and harvests one page or an automatic
// run of pages into the result list. The program-wide values it keeps live here as well.
#pragma once

#include <filesystem>

#include "search/window_controls.h"

// Matches found since the last press that passed the input check, dropped ones included.
extern int RunResultCount;

// True while an automatic run is going on and has not been told to stop; every press sees it.
extern bool AutoRunActive;

// Runs the search for one press of 按钮EX1. `programFolder` holds config.ini. Presses made while a
// search is running call this again, nested, from within the window's event processing.
void SearchRun(WindowControls& window, const std::filesystem::path& programFolder);
