#include "ClockTimer.h"

#include <QDateTime>

TClockTimer::TClockTimer(QObject *owner) : QTimer(owner)
{
    setSingleShot(true);
    setTimerType(Qt::PreciseTimer);
    // Connected first, so the next tick is armed before any handler runs.
    connect(this, &QTimer::timeout, this, &TClockTimer::Start);
}

void TClockTimer::Start()
{
    start(DelayToNextTick(QDateTime::currentMSecsSinceEpoch()));
}
