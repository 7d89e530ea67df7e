// The selection of an edit box or of the list is not shown while another control has the focus; it
// is still there for the actions.
#pragma once

class QWidget;

void HideInactiveSelection(QWidget* widget);
