// A date box: a date-time picker with a drop-down calendar that shows the date in the system's long
// date format while its value keeps a time of day. No earliest or latest date is set beyond what
// the toolkit can hold.
#pragma once

#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QLocale>
#include <QString>

#include "search/window_controls.h"

// The system's long date format, shortened only when the box cannot show it whole: first without
// the day of the week, then the short format.
QString DateBoxFormat(const QLocale& locale, const QFontMetrics& metrics, int textWidth);

class DateBox : public QDateTimeEdit {
public:
    // The value is the current local date and time.
    DateBox(QWidget* parent, const QRect& geometry, const QFont& font);

    DateTime Value() const;
    // A value that names no date-time is ignored, as the picker refuses it.
    void SetValue(const DateTime& value);
};

QDateTime ToQDateTime(const DateTime& value);
DateTime FromQDateTime(const QDateTime& value);
