#include "ui/inactive_selection.h"

#include <QPalette>
#include <QWidget>

void HideInactiveSelection(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Inactive, QPalette::Text));
    widget->setPalette(palette);
}
