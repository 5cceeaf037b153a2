#include "clock/TimedateClock.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

namespace {

const QString CService = QStringLiteral("org.freedesktop.timedate1");
const QString CPath = QStringLiteral("/org/freedesktop/timedate1");
const QString CInterface = QStringLiteral("org.freedesktop.timedate1");
const QString CSetTime = QStringLiteral("SetTime");

} // namespace

TTimedateClock::TTimedateClock(const QDBusConnection &bus, std::chrono::milliseconds timeout)
    : FBus(bus), FTimeout(timeout)
{
}

bool TTimedateClock::SetSystemTime(const TSystemTime &utc)
{
    const std::optional<TClockInstant> instant = SystemTimeToInstant(utc);
    if (!instant || !FBus.isConnected())
        return false;

    QDBusMessage call = QDBusMessage::createMethodCall(CService, CPath, CInterface, CSetTime);
    const bool relative = false;
    const bool interactive = true;
    call << static_cast<qlonglong>(instant->time_since_epoch().count()) << relative << interactive;
    call.setInteractiveAuthorizationAllowed(interactive);

    // Nothing of *this is touched after the loop: the owner may be gone by then.
    QDBusPendingCall pending = FBus.asyncCall(call, static_cast<int>(FTimeout.count()));
    if (!pending.isFinished()) {
        QDBusPendingCallWatcher watcher(pending);
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // Unfinished here means the loop was ended from outside, e.g. the application quitting.
    return pending.isFinished() && !pending.isError() &&
           pending.reply().type() == QDBusMessage::ReplyMessage;
}
