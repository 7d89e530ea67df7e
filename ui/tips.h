// The usage tips that the tips timer shows in the status bar in turn, one every period, and the
// step each period runs. TipIndex numbers the tip shown next.
#pragma once

#include <QString>

#include "ui/main_window_form.h"

// The tip numbered `number`, 1 to 4; empty for any other number.
QString TipText(int number);

// Shows tip TipIndex, when there is one, and moves TipIndex on: 1 after 4.
void ShowNextTip(const MainWindowForm& form);
