#pragma once
// The display form every date-time panel shows: the short date, then, unless the time
// of day is 0:00:00, one blank and the long time (hour, separator, two-digit minutes
// and seconds, with the AM/PM marker on a 12-hour clock).

#include "DateTime.h"
#include "FormatSettings.h"

QString DateTimeToStr(quorvel::TDateTime value, const TFormatSettings &settings);

// The current local date and time from the operating system, milliseconds included.
quorvel::TDateTime Now();
