// A press of the left mouse button on an input box selects the option the box belongs to, before
// the box handles the click: the manual page box selects manual paging, either box of the page range
// automatic paging, the custom-site box the custom source, and either date box the custom time
// window, whose selectable dates it limits at that moment. Selecting a button from the program
// leaves the others of its group as they are, so each step clears them itself.
#pragma once

#include <QWidget>

#include "ui/main_window_form.h"

// Runs the step of the box `pressed`; a press on any other control changes nothing.
void RunInputConvenience(const MainWindowForm& form, const QWidget* pressed);

// The date step: neither box offers a date after now, nor the end box one before the start box's
// value; the custom time window becomes the only selected time option.
void LimitDatesAndSelectCustomRange(const MainWindowForm& form);
