// TipIndex: the number of the tip the status bar shows next.
#include "ui/tip_index.h"

int TipIndex = 0;
