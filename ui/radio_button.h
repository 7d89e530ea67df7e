// A radio button with the window's two rules: a click by the user selects it and clears every other
// radio button of its group box, while setting its state from the program changes it alone, so
// several buttons of a group may be selected at once (the settings file sets each one).
#pragma once

#include <QRadioButton>

class RadioButton : public QRadioButton {
public:
    RadioButton(const QString& text, QWidget* parent);

protected:
    // Runs for a click or the space bar, never for setChecked.
    void nextCheckState() override;
};
