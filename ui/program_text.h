// Program text (GB18030 bytes) at the widgets, which speak UTF-16.
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString ToQString(std::string_view text);
std::string ToProgramText(const QString& text);
