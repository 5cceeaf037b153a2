#pragma once
// Asks systemd-timedated over the system bus to set the clock, so a desktop
// user without CAP_SYS_TIME gets polkit's password prompt instead of a refusal.

#include "clock/SystemClock.h"

#include <QDBusConnection>
#include <chrono>

class TTimedateClock final : public ISystemClock
{
public:
    // Long enough for the user to read polkit's prompt and type a password.
    static constexpr std::chrono::milliseconds CAuthorizationTimeout = std::chrono::minutes(2);

    explicit TTimedateClock(const QDBusConnection &bus = QDBusConnection::systemBus(),
                            std::chrono::milliseconds timeout = CAuthorizationTimeout);

    // Waits in a nested event loop, so windows keep painting and other events
    // (including user input) are delivered meanwhile; callers must not start
    // a second request from that input.
    bool SetSystemTime(const TSystemTime &utc) override;
    QString BackendName() const override { return QStringLiteral("timedate1"); }

private:
    QDBusConnection FBus;
    std::chrono::milliseconds FTimeout;
};
