#pragma once
// Stands in for the system clock: records every record it is asked to set and answers
// as told, so no test ever changes the real clock.

#include "clock/SystemClock.h"

#include <QList>

class TFakeSystemClock : public ISystemClock
{
public:
    struct TLog
    {
        QList<TSystemTime> records;
        bool accept = true;
    };

    explicit TFakeSystemClock(TLog &log) : FLog(log) {}

    bool SetSystemTime(const TSystemTime &utc) override
    {
        FLog.records.append(utc);
        return FLog.accept;
    }
    QString BackendName() const override { return QStringLiteral("fake"); }

private:
    TLog &FLog;
};
