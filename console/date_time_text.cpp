#include "console/date_time_text.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include "console/qt_text.h"

namespace {

// The locale's long time format less its time-zone field.
QString LongTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return format.trimmed();
}

}  // namespace

std::string DateTimeToStr(TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    const QLocale locale = QLocale::system();
    QString text = locale.toString(QDate(year, month, day), QLocale::ShortFormat);
    if (hour != 0 || minute != 0 || second != 0 || msec != 0)
        text += QChar(u' ') + locale.toString(QTime(hour, minute, second, msec), LongTimeFormat(locale));
    return FromQString(text);
}
