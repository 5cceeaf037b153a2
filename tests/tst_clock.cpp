// The system-clock layer. The real clock is never set: the D-Bus backend talks
// to a stand-in on a private bus, and the direct backend only runs in a process
// that provably lacks CAP_SYS_TIME.

#include "TimedateStandIn.h"
#include "clock/PosixClock.h"
#include "clock/SystemClock.h"
#include "clock/TimedateClock.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <linux/capability.h>
#include <time.h>

using namespace std::chrono_literals;

namespace {

constexpr TSystemTime CKnownRecord{2002, 10, 3, 9, 16, 19, 44, 0};
constexpr qlonglong CKnownUsec = 1034180384000000;

// A silent stand-in must outlast this, a normal answer must not come near it.
constexpr std::chrono::milliseconds CShortTimeout = 300ms;
constexpr std::chrono::milliseconds CQuitDelay = 100ms;
constexpr std::chrono::milliseconds CChildTimeout = 30s;

// Set in the child that repeats a test without CAP_SYS_TIME.
constexpr char CUnprivilegedChild[] = "QUORVEL_TST_CLOCK_UNPRIVILEGED";

// Read from /proc rather than through the code under test, so a fault in
// HasClockPrivilege() cannot let a test reach the real clock. Unreadable
// counts as held.
bool ProcShowsClockPrivilege()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return true;
    // /proc files report size 0, so read to the end instead of asking atEnd().
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("CapEff:")) {
            bool ok = false;
            const qulonglong effective = line.mid(7).trimmed().toULongLong(&ok, 16);
            return !ok || (effective & (1ULL << CAP_SYS_TIME)) != 0;
        }
    }
    return true;
}

bool MayHoldClockPrivilege()
{
    return ProcShowsClockPrivilege() || HasClockPrivilege();
}

qint64 RealtimeSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
}

} // namespace

enum class TUnreachable
{
    NobodyOwnsName,
    NoBus,
    NoAnswer,
};
Q_DECLARE_METATYPE(TUnreachable)

class TestClock : public QObject
{
    Q_OBJECT

public:
    TestClock()
    {
        // Until the private bus is up, Qt's system bus leads nowhere.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/quorvel-no-bus");
    }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void recordToInstant_data();
    void recordToInstant();
    void invalidRecordIsNeverSent_data();
    void invalidRecordIsNeverSent();

    void timedateSendsInstantInMicroseconds();
    void timedateRefusal_data();
    void timedateRefusal();
    void timedateUnreachable_data();
    void timedateUnreachable();
    void timedateGivesUpWhenApplicationQuits();

    void privilegeMatchesKernel();
    void unprivilegedProcessUsesTimedate();
    void posixClockRefusedWithoutPrivilege_data();
    void posixClockRefusedWithoutPrivilege();

private:
    void RunInUnprivilegedChild();

    TTimedateTestBus FBus;
    QDBusConnection FClient{QString()};
    QDBusConnection FServer{QString()};
    TTimedateStandIn FStandIn;
};

void TestClock::initTestCase()
{
    const QString error = FBus.Start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", FBus.Address().toUtf8());

    FServer = FBus.Connect(QStringLiteral("quorvel-standin"));
    FClient = FBus.Connect(QStringLiteral("quorvel-client"));
    QVERIFY(FServer.isConnected());
    QVERIFY(FClient.isConnected());
    QVERIFY(FStandIn.Publish(FServer));
}

void TestClock::init()
{
    FStandIn.Reset();
    if (!FServer.interface()->isServiceRegistered(TTimedateStandIn::CService))
        QVERIFY(FServer.registerService(TTimedateStandIn::CService));
}

void TestClock::cleanupTestCase()
{
    FClient = QDBusConnection(QString());
    FServer = QDBusConnection(QString());
    FBus.Stop();
}

void TestClock::recordToInstant_data()
{
    QTest::addColumn<TSystemTime>("record");
    QTest::addColumn<qlonglong>("usec");

    QTest::newRow("unix epoch") << TSystemTime{1970, 1, 4, 1, 0, 0, 0, 0} << 0LL;
    QTest::newRow("known record") << CKnownRecord << CKnownUsec;
    QTest::newRow("milliseconds honoured")
        << TSystemTime{2002, 10, 3, 9, 16, 19, 44, 250} << CKnownUsec + 250'000;
    QTest::newRow("day of week ignored")
        << TSystemTime{2002, 10, 6, 9, 16, 19, 44, 0} << CKnownUsec;
    QTest::newRow("leap day 2000") << TSystemTime{2000, 2, 2, 29, 12, 0, 0, 0} << 951825600000000LL;
    QTest::newRow("past 32-bit time_t")
        << TSystemTime{2038, 1, 2, 19, 3, 14, 8, 0} << 2147483648000000LL;
    QTest::newRow("second before epoch")
        << TSystemTime{1969, 12, 3, 31, 23, 59, 59, 0} << -1'000'000LL;
    QTest::newRow("first year") << TSystemTime{1601, 1, 1, 1, 0, 0, 0, 0} << -11644473600000000LL;
    QTest::newRow("last year, last millisecond")
        << TSystemTime{30827, 12, 0, 31, 23, 59, 59, 999} << 910670515199999000LL;
}

void TestClock::recordToInstant()
{
    QFETCH(TSystemTime, record);
    QFETCH(qlonglong, usec);

    const std::optional<TClockInstant> instant = SystemTimeToInstant(record);
    QVERIFY(instant.has_value());
    QCOMPARE(static_cast<qlonglong>(instant->time_since_epoch().count()), usec);
}

void TestClock::invalidRecordIsNeverSent_data()
{
    QTest::addColumn<TSystemTime>("record");

    QTest::newRow("month 0") << TSystemTime{2024, 0, 0, 10, 12, 0, 0, 0};
    QTest::newRow("month 13") << TSystemTime{2024, 13, 0, 10, 12, 0, 0, 0};
    QTest::newRow("day 0") << TSystemTime{2024, 5, 0, 0, 12, 0, 0, 0};
    QTest::newRow("Feb 30") << TSystemTime{2024, 2, 0, 30, 12, 0, 0, 0};
    QTest::newRow("Feb 29 in 1900") << TSystemTime{1900, 2, 0, 29, 12, 0, 0, 0};
    QTest::newRow("Feb 29 in 2023") << TSystemTime{2023, 2, 0, 29, 12, 0, 0, 0};
    QTest::newRow("Apr 31") << TSystemTime{2024, 4, 0, 31, 12, 0, 0, 0};
    QTest::newRow("hour 24") << TSystemTime{2024, 5, 0, 10, 24, 0, 0, 0};
    QTest::newRow("minute 60") << TSystemTime{2024, 5, 0, 10, 12, 60, 0, 0};
    QTest::newRow("leap second") << TSystemTime{2016, 12, 6, 31, 23, 59, 60, 0};
    QTest::newRow("millisecond 1000") << TSystemTime{2024, 5, 0, 10, 12, 0, 0, 1000};
    QTest::newRow("year before 1601") << TSystemTime{1600, 12, 0, 31, 23, 59, 59, 0};
    QTest::newRow("year after 30827") << TSystemTime{30828, 1, 0, 1, 0, 0, 0, 0};
    QTest::newRow("all zero") << TSystemTime{};
}

void TestClock::invalidRecordIsNeverSent()
{
    QFETCH(TSystemTime, record);

    QVERIFY(!SystemTimeToInstant(record).has_value());
    TTimedateClock clock(FClient);
    QVERIFY(!clock.SetSystemTime(record));
    QVERIFY(FStandIn.Calls.isEmpty());
}

void TestClock::timedateSendsInstantInMicroseconds()
{
    TTimedateClock clock(FClient);
    QCOMPARE(clock.BackendName(), QStringLiteral("timedate1"));
    QVERIFY(clock.SetSystemTime(CKnownRecord));

    QCOMPARE(FStandIn.Calls.size(), 1);
    const TTimedateStandIn::TCall &call = FStandIn.Calls.front();
    QCOMPARE(call.UsecUtc, CKnownUsec);
    QCOMPARE(call.Relative, false);
    QCOMPARE(call.Interactive, true);
    QCOMPARE(call.InteractiveAuthorizationAllowed, true);
}

void TestClock::timedateRefusal_data()
{
    QTest::addColumn<QString>("errorName");

    QTest::newRow("access denied") << QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
    QTest::newRow("interactive authorization required")
        << QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired");
    QTest::newRow("automatic time sync enabled")
        << QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled");
    QTest::newRow("unknown error") << QStringLiteral("org.example.Quorvel.Error.Unexpected");
}

void TestClock::timedateRefusal()
{
    QFETCH(QString, errorName);

    FStandIn.ErrorName = errorName;
    TTimedateClock clock(FClient);
    QVERIFY(!clock.SetSystemTime(CKnownRecord));
    // The refusal came from the service, not from failing to reach it.
    QCOMPARE(FStandIn.Calls.size(), 1);
}

void TestClock::timedateUnreachable_data()
{
    QTest::addColumn<TUnreachable>("scenario");

    QTest::newRow("nobody owns the name") << TUnreachable::NobodyOwnsName;
    QTest::newRow("no bus") << TUnreachable::NoBus;
    QTest::newRow("no answer in time") << TUnreachable::NoAnswer;
}

void TestClock::timedateUnreachable()
{
    QFETCH(TUnreachable, scenario);

    QDBusConnection bus = FClient;
    switch (scenario) {
    case TUnreachable::NobodyOwnsName:
        QVERIFY(FServer.unregisterService(TTimedateStandIn::CService));
        break;
    case TUnreachable::NoBus:
        bus = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/quorvel-no-bus"),
                                            QStringLiteral("quorvel-nobus"));
        QVERIFY(!bus.isConnected());
        break;
    case TUnreachable::NoAnswer:
        FStandIn.Silent = true;
        break;
    }

    TTimedateClock clock(bus, CShortTimeout);
    QVERIFY(!clock.SetSystemTime(CKnownRecord));

    if (scenario == TUnreachable::NoBus)
        QDBusConnection::disconnectFromBus(QStringLiteral("quorvel-nobus"));
}

void TestClock::timedateGivesUpWhenApplicationQuits()
{
    // The user's password prompt is still open when the application quits.
    FStandIn.Silent = true;
    TTimedateClock clock(FClient);
    std::optional<bool> result;
    QTimer::singleShot(0, this, [&] { result = clock.SetSystemTime(CKnownRecord); });
    QTimer::singleShot(CQuitDelay, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();

    QVERIFY(result.has_value());
    QCOMPARE(*result, false);
    QCOMPARE(FStandIn.Calls.size(), 1);
}

void TestClock::privilegeMatchesKernel()
{
    QCOMPARE(HasClockPrivilege(), ProcShowsClockPrivilege());
}

void TestClock::unprivilegedProcessUsesTimedate()
{
    if (MayHoldClockPrivilege()) {
        QCOMPARE(CreateSystemClock()->BackendName(), QStringLiteral("clock_settime"));
        RunInUnprivilegedChild();
        return;
    }

    // DBUS_SYSTEM_BUS_ADDRESS leads to the private bus, so this reaches the stand-in.
    const std::unique_ptr<ISystemClock> clock = CreateSystemClock();
    QCOMPARE(clock->BackendName(), QStringLiteral("timedate1"));
    QVERIFY(clock->SetSystemTime(CKnownRecord));
    QCOMPARE(FStandIn.Calls.size(), 1);
    QCOMPARE(FStandIn.Calls.front().UsecUtc, CKnownUsec);
}

void TestClock::posixClockRefusedWithoutPrivilege_data()
{
    QTest::addColumn<bool>("aimAtNow");
    QTest::addColumn<TSystemTime>("record");

    QTest::newRow("years away") << false << CKnownRecord;
    QTest::newRow("current time") << true << TSystemTime{};
    QTest::newRow("invalid record") << false << TSystemTime{2024, 2, 0, 30, 12, 0, 0, 0};
}

void TestClock::posixClockRefusedWithoutPrivilege()
{
    // Never reach clock_settime while the process could succeed.
    if (MayHoldClockPrivilege()) {
        RunInUnprivilegedChild();
        return;
    }

    QFETCH(bool, aimAtNow);
    QFETCH(TSystemTime, record);
    if (aimAtNow) {
        using namespace std::chrono;
        const auto now = floor<seconds>(system_clock::now());
        const year_month_day date{floor<days>(now)};
        const hh_mm_ss<seconds> time{now - floor<days>(now)};
        record = TSystemTime{static_cast<std::uint16_t>(static_cast<int>(date.year())),
                             static_cast<std::uint16_t>(static_cast<unsigned>(date.month())),
                             0,
                             static_cast<std::uint16_t>(static_cast<unsigned>(date.day())),
                             static_cast<std::uint16_t>(time.hours().count()),
                             static_cast<std::uint16_t>(time.minutes().count()),
                             static_cast<std::uint16_t>(time.seconds().count()),
                             0};
    }

    TPosixClock clock;
    QCOMPARE(clock.BackendName(), QStringLiteral("clock_settime"));
    const qint64 before = RealtimeSeconds();
    QVERIFY(!clock.SetSystemTime(record));
    const qint64 after = RealtimeSeconds();
    QVERIFY2(after >= before && after - before < 5,
             qPrintable(QStringLiteral("clock moved from %1 to %2").arg(before).arg(after)));
}

// Repeats the running test row in a child process that cannot hold CAP_SYS_TIME.
void TestClock::RunInUnprivilegedChild()
{
    if (qEnvironmentVariableIsSet(CUnprivilegedChild))
        QFAIL("the child still holds CAP_SYS_TIME");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        QSKIP("process holds CAP_SYS_TIME and setpriv is missing to drop it");

    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag())
        function += QLatin1Char(':') + QString::fromLatin1(tag);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(CUnprivilegedChild), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(setpriv,
                {QStringLiteral("--bounding-set=-sys_time"), QStringLiteral("--inh-caps=-sys_time"),
                 QStringLiteral("--"), QCoreApplication::applicationFilePath(), function});
    const bool finished = child.waitForFinished(static_cast<int>(CChildTimeout.count()));
    if (!finished)
        child.kill();
    const QByteArray output = child.readAll();
    QVERIFY2(finished, output.constData());
    if (!output.contains("Start testing"))
        QSKIP(qPrintable(QStringLiteral("setpriv could not drop CAP_SYS_TIME: ") +
                         QString::fromLocal8Bit(output)));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             output.constData());
}

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
