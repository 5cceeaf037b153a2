#include "clock/WindowsClock.h"

#include <windows.h>

bool TWindowsClock::SetSystemTime(const TSystemTime &utc)
{
    // Checked here too so every backend refuses the same records.
    if (!SystemTimeToInstant(utc))
        return false;

    SYSTEMTIME st{};
    st.wYear = utc.wYear;
    st.wMonth = utc.wMonth;
    st.wDayOfWeek = utc.wDayOfWeek;
    st.wDay = utc.wDay;
    st.wHour = utc.wHour;
    st.wMinute = utc.wMinute;
    st.wSecond = utc.wSecond;
    st.wMilliseconds = utc.wMilliseconds;
    return ::SetSystemTime(&st) != FALSE;
}
