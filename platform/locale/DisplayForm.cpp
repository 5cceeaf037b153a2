#include "DisplayForm.h"

#include <QDate>
#include <QDateTime>

using quorvel::DateTimeFields;

namespace {
QString TwoDigits(unsigned value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString LongTime(const DateTimeFields &f, const TFormatSettings &s)
{
    unsigned hour = f.hour; // 0..23
    if (s.twelveHour) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    const QString time = (s.hourLeadingZero ? TwoDigits(hour) : QString::number(hour)) +
                         s.timeSeparator + TwoDigits(f.minute) + s.timeSeparator +
                         TwoDigits(f.second);
    if (!s.twelveHour)
        return time;
    const QString &marker = f.hour < 12 ? s.amMarker : s.pmMarker;
    return s.markerBeforeTime ? marker + u' ' + time : time + u' ' + marker;
}
} // namespace

QString DateTimeToStr(quorvel::TDateTime value, const TFormatSettings &settings)
{
    const DateTimeFields f = quorvel::DecodeDateTime(value);
    QString text =
        settings.locale.toString(QDate(f.year, int(f.month), int(f.day)), settings.shortDateFormat);
    if (f.hour != 0 || f.minute != 0 || f.second != 0)
        text += u' ' + LongTime(f, settings);
    return text;
}

quorvel::TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return quorvel::EncodeDateTime(date.year(), unsigned(date.month()), unsigned(date.day()),
                                   unsigned(time.hour()), unsigned(time.minute()),
                                   unsigned(time.second()), unsigned(time.msec()));
}
