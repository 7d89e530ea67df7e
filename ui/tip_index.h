// TipIndex: the number of the tip the status bar shows next. 0 until the window's created handler
// sets it to 1; the tips timer advances it from then on.
#pragma once

extern int TipIndex;
