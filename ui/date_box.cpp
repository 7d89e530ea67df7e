// A date box with a calendar that shows the date alone and keeps the time of day in its value.
#include "ui/date_box.h"

#include <QRegularExpression>

namespace {

// Room the drop-down button and the frame take from the box's width.
constexpr int kButtonAndFrameWidth = 22;

// A date whose long form is about the widest there is: a Wednesday in September.
const QDate kWideDate(2026, 9, 30);

QString WithoutWeekday(QString format) {
    static const QRegularExpression weekday(QStringLiteral("d{3,4}[,，]?\\s*"));
    return format.remove(weekday).trimmed();
}

}  // namespace

QString DateBoxFormat(const QLocale& locale, const QFontMetrics& metrics, int textWidth) {
    const auto fits = [&](const QString& format) {
        return metrics.horizontalAdvance(locale.toString(kWideDate, format)) <= textWidth;
    };
    const QString longFormat = locale.dateFormat(QLocale::LongFormat);
    if (fits(longFormat)) {
        return longFormat;
    }
    const QString shortened = WithoutWeekday(longFormat);
    if (fits(shortened)) {
        return shortened;
    }
    return locale.dateFormat(QLocale::ShortFormat);
}

DateBox::DateBox(QWidget* parent, const QRect& geometry, const QFont& font) : QDateTimeEdit(parent) {
    setGeometry(geometry);
    setFont(font);
    setCalendarPopup(true);
    setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0)),
                     QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
    setDisplayFormat(
        DateBoxFormat(QLocale::system(), QFontMetrics(font), geometry.width() - kButtonAndFrameWidth));
    setDateTime(QDateTime::currentDateTime());
}

DateTime DateBox::Value() const {
    return FromQDateTime(dateTime());
}

void DateBox::SetValue(const DateTime& value) {
    const QDateTime converted = ToQDateTime(value);
    if (converted.isValid()) {
        setDateTime(converted);
    }
}

QDateTime ToQDateTime(const DateTime& value) {
    const QDate date(value.year, value.month, value.day);
    const QTime time(value.hour, value.minute, value.second);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

DateTime FromQDateTime(const QDateTime& value) {
    const QDate date = value.date();
    const QTime time = value.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}
