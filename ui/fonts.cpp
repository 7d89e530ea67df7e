// The window's fonts, with CJK stand-ins where the design's face is missing.
#include "ui/fonts.h"

#include <QApplication>
#include <QStringList>

namespace {

// Faces that hold Chinese, tried in this order after the wanted one.
const QStringList kCjkFallbacks = {"Noto Sans CJK SC",   "Noto Sans SC",    "WenQuanYi Micro Hei",
                                   "Source Han Sans SC", "Microsoft YaHei", "SimSun"};

}  // namespace

QFont DefaultFont() {
    QFont font = QApplication::font();
    font.setFamilies(QStringList{font.family()} + kCjkFallbacks);
    font.setPixelSize(12);
    return font;
}

QFont YouYuanFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(QStringList{"幼圆", "YouYuan"} + kCjkFallbacks);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
