#pragma once
// The user's date and time display settings, as the display form needs them. Read at
// start and again when the system announces a change of settings.

#include <QLocale>
#include <QString>

struct TFormatSettings
{
    QLocale locale = QLocale::c();
    QString shortDateFormat = QStringLiteral("M/d/yy"); // QLocale date format syntax
    QString timeSeparator = QStringLiteral(":");
    bool hourLeadingZero = false;
    bool twelveHour = false;
    bool markerBeforeTime = false;
    QString amMarker = QStringLiteral("AM");
    QString pmMarker = QStringLiteral("PM");
};

// The C/POSIX locale counts as settings that cannot be read: the defaults above apply
// ("m/d/yy" with "/", and ":" between hours, minutes and seconds).
TFormatSettings ReadFormatSettings(const QLocale &locale = QLocale());
