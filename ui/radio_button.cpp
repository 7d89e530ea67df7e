// A radio button that is exclusive for the user's clicks only.
#include "ui/radio_button.h"

RadioButton::RadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    // Qt's own exclusivity would also clear siblings when the program selects a button.
    setAutoExclusive(false);
}

void RadioButton::nextCheckState() {
    // A click on a selected button leaves it selected, as with any radio button.
    setChecked(true);
    for (RadioButton* sibling : parentWidget()->findChildren<RadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (sibling != this) {
            sibling->setChecked(false);
        }
    }
}
