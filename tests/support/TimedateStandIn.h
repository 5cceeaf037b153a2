#pragma once
// Test doubles for the D-Bus clock backend: a private dbus-daemon, so no test
// ever talks to the machine's real system bus, and a stand-in for
// org.freedesktop.timedate1 that records SetTime calls instead of setting
// anything.

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <chrono>

class TTimedateStandIn : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")

public:
    struct TCall
    {
        qlonglong UsecUtc;
        bool Relative;
        bool Interactive;
        bool InteractiveAuthorizationAllowed; // the message header flag polkit looks at
    };

    static inline const QString CService = QStringLiteral("org.freedesktop.timedate1");
    static inline const QString CPath = QStringLiteral("/org/freedesktop/timedate1");

    QList<TCall> Calls;
    QString ErrorName;   // answer every call with this error when set
    bool Silent = false; // never answer, as while polkit waits for a password

    // Owns the service name and exports the object on the given connection.
    bool Publish(QDBusConnection bus);
    void Reset();

public slots:
    void SetTime(qlonglong usecUtc, bool relative, bool interactive);

private:
    QList<QDBusMessage> FUnanswered;
};

// A throw-away message bus listening on a socket in a temporary directory.
class TTimedateTestBus
{
public:
    static constexpr std::chrono::milliseconds CStartTimeout = std::chrono::seconds(5);

    TTimedateTestBus() = default;
    TTimedateTestBus(const TTimedateTestBus &) = delete;
    TTimedateTestBus &operator=(const TTimedateTestBus &) = delete;
    ~TTimedateTestBus();

    // Empty on success, else why the daemon did not come up.
    QString Start();
    void Stop();

    const QString &Address() const noexcept { return FAddress; }
    // Every connection made here is closed again by Stop().
    QDBusConnection Connect(const QString &name);

private:
    QTemporaryDir FDir;
    QProcess FDaemon;
    QString FAddress;
    QStringList FConnections;
};
