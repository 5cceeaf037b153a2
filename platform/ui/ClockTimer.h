#pragma once
// A one-second timer whose ticks land just after each whole second of the system
// clock, so a clock display never lags by up to a second. It re-arms itself on every
// tick, so at most one tick is ever pending and missed ticks do not pile up.

#include <QTimer>

class TClockTimer : public QTimer
{
    Q_OBJECT
public:
    explicit TClockTimer(QObject *owner = nullptr);

    void Start();

    static constexpr int kPeriodMs = 1000;
    // Margin past the boundary, so timer jitter never lands a tick in the second before.
    static constexpr int kTickDelayMs = 2;

    // ms from `nowMs` (ms since the epoch) to the next tick; in [1 + kTickDelayMs, 1000 +
    // kTickDelayMs].
    static constexpr int DelayToNextTick(qint64 nowMs) noexcept
    {
        const int intoSecond = static_cast<int>(((nowMs % kPeriodMs) + kPeriodMs) % kPeriodMs);
        return kPeriodMs - intoSecond + kTickDelayMs;
    }
};
