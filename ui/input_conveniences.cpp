// The input boxes' click conveniences.
#include "ui/input_conveniences.h"

#include <QDateTime>

namespace {

void SelectManualPaging(const MainWindowForm& form) {
    form.单选框EX4->setChecked(true);
    form.单选框EX5->setChecked(false);
}

void SelectAutomaticPaging(const MainWindowForm& form) {
    form.单选框EX5->setChecked(true);
    form.单选框EX4->setChecked(false);
}

void SelectCustomSite(const MainWindowForm& form) {
    for (RadioButton* source :
         {form.单选框EX1, form.单选框EX2, form.单选框EX3, form.单选框EX6, form.单选框EX8}) {
        source->setChecked(false);
    }
    form.单选框EX7->setChecked(true);
}

}  // namespace

void RunInputConvenience(const MainWindowForm& form, const QWidget* pressed) {
    if (pressed == form.编辑框2) {
        SelectManualPaging(form);
    } else if (pressed == form.编辑框5 || pressed == form.编辑框6) {
        SelectAutomaticPaging(form);
    } else if (pressed == form.编辑框4) {
        SelectCustomSite(form);
    } else if (pressed == form.日期框_起始 || pressed == form.日期框_截止) {
        LimitDatesAndSelectCustomRange(form);
    }
}

void LimitDatesAndSelectCustomRange(const MainWindowForm& form) {
    form.日期框_起始->setMaximumDateTime(QDateTime::currentDateTime());
    form.日期框_截止->setMaximumDateTime(QDateTime::currentDateTime());
    form.日期框_截止->setMinimumDateTime(form.日期框_起始->dateTime());
    for (RadioButton* window : {form.单选框1, form.单选框2, form.单选框3, form.单选框4, form.单选框6}) {
        window->setChecked(false);
    }
    form.单选框5->setChecked(true);
}
