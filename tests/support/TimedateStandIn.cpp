#include "TimedateStandIn.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <signal.h>
#include <sys/prctl.h>

bool TTimedateStandIn::Publish(QDBusConnection bus)
{
    return bus.registerObject(CPath, this, QDBusConnection::ExportAllSlots) &&
           bus.registerService(CService);
}

void TTimedateStandIn::Reset()
{
    Calls.clear();
    ErrorName.clear();
    Silent = false;
    FUnanswered.clear();
}

void TTimedateStandIn::SetTime(qlonglong usecUtc, bool relative, bool interactive)
{
    Calls.append({usecUtc, relative, interactive, message().isInteractiveAuthorizationAllowed()});
    if (Silent) {
        setDelayedReply(true);
        FUnanswered.append(message());
    } else if (!ErrorName.isEmpty()) {
        sendErrorReply(ErrorName, QStringLiteral("refused by the test stand-in"));
    }
}

TTimedateTestBus::~TTimedateTestBus()
{
    Stop();
}

QString TTimedateTestBus::Start()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        return QStringLiteral("dbus-daemon not found");
    if (!FDir.isValid())
        return QStringLiteral("no temporary directory");

    // No service directories: a name nobody owns must stay unowned, never be activated.
    const QString config = FDir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + config;
    file.write(
        QStringLiteral(
            R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)")
            .arg(FDir.path())
            .toUtf8());
    file.close();

    // The daemon dies with the test even if the test crashes.
    FDaemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    FDaemon.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                           QStringLiteral("--nosyslog"), QStringLiteral("--print-address")});
    if (!FDaemon.waitForStarted(static_cast<int>(CStartTimeout.count())))
        return QStringLiteral("dbus-daemon did not start: ") + FDaemon.errorString();

    const QDeadlineTimer deadline(CStartTimeout);
    while (!FDaemon.canReadLine() && !deadline.hasExpired())
        FDaemon.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    FAddress = QString::fromUtf8(FDaemon.readLine()).trimmed();
    if (FAddress.isEmpty()) {
        const QString complaint = QString::fromLocal8Bit(FDaemon.readAllStandardError());
        Stop();
        return QStringLiteral("dbus-daemon printed no address: ") + complaint;
    }
    return {};
}

void TTimedateTestBus::Stop()
{
    for (const QString &name : std::as_const(FConnections))
        QDBusConnection::disconnectFromBus(name);
    FConnections.clear();
    if (FDaemon.state() != QProcess::NotRunning) {
        FDaemon.kill();
        FDaemon.waitForFinished();
    }
    FAddress.clear();
}

QDBusConnection TTimedateTestBus::Connect(const QString &name)
{
    FConnections.append(name);
    return QDBusConnection::connectToBus(FAddress, name);
}
