#include "FormatSettings.h"

namespace {
bool IsHourLetter(QChar c) noexcept
{
    return c == u'h' || c == u'H';
}

bool IsMarkerLetter(QChar c) noexcept
{
    return c == u'a' || c == u'A';
}
} // namespace

TFormatSettings ReadFormatSettings(const QLocale &locale)
{
    TFormatSettings settings;
    if (locale.language() == QLocale::C)
        return settings;

    settings.locale = locale;
    settings.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    settings.amMarker = locale.amText();
    settings.pmMarker = locale.pmText();

    // The short time format carries the hour's form, the separator and the marker's
    // place ("H:mm", "h:mm AP", "AP h:mm", "HH:mm"); quoted literals are skipped.
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    qsizetype hourAt = -1, markerAt = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (hourAt < 0 && IsHourLetter(c))
            hourAt = i;
        else if (markerAt < 0 && IsMarkerLetter(c))
            markerAt = i;
    }
    if (hourAt < 0)
        return settings;

    qsizetype hourEnd = hourAt;
    while (hourEnd < format.size() && format.at(hourEnd) == format.at(hourAt))
        ++hourEnd;
    settings.hourLeadingZero = hourEnd - hourAt >= 2;
    settings.twelveHour = format.at(hourAt) == u'h' && markerAt >= 0;
    settings.markerBeforeTime = markerAt >= 0 && markerAt < hourAt;

    const qsizetype minuteAt = format.indexOf(u'm', hourEnd);
    const QString separator = format.mid(hourEnd, minuteAt - hourEnd);
    if (minuteAt > hourEnd && !separator.contains(u'\''))
        settings.timeSeparator = separator;
    return settings;
}
