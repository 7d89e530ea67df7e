// The window's fonts. "幼圆" is the design's face for captions and bold labels; where it is not
// installed a CJK face takes its place, so Chinese never shows as empty boxes.
#pragma once

#include <QFont>

// The font of every control that the design leaves at the default: the toolkit's face at 12 pixels,
// with a CJK face behind it for Chinese.
QFont DefaultFont();

// "幼圆" (or its stand-in) at `pixelSize`, bold or normal weight.
QFont YouYuanFont(int pixelSize, bool bold);
