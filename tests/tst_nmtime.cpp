// The time client against a scripted loopback server: whole, split, short, long
// and missing answers, host forms, failures and their timing, and how a query
// shares the GUI thread with everything else.

#include "LoopbackAddress.h"
#include "NMTime.h"
#include "ScriptedTimeServer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QtTest>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Script = ScriptedTimeServer::Script;
using Ending = ScriptedTimeServer::Ending;

// Top bit set and four distinct bytes, so sign and byte-order slips show.
constexpr quint32 Answer = 0x80A1B2C3u;
constexpr int ShortTimeOutMs = 300;
// For cases that must end long before it: a wait for the time-out is obvious.
constexpr int PatientTimeOutMs = 2000;
// A failure the system reports (refusal, close, reset) arrives within this.
constexpr qint64 PromptMs = 250;
// Scheduling slack allowed on either side of a time-out.
constexpr qint64 EarlyMs = 30;
constexpr qint64 LateMs = 500;

struct Outcome
{
    std::optional<quint32> value;
    QString error;
    qint64 ms = 0;

    QByteArray describe() const
    {
        const QString what = value ? QStringLiteral("value %1").arg(*value)
                                   : QStringLiteral("error \"%1\"").arg(error);
        return QStringLiteral("%1 after %2 ms").arg(what).arg(ms).toUtf8();
    }
};

// Any error other than ESockError escapes and fails the test.
Outcome query(TNMTime &client)
{
    Outcome outcome;
    QElapsedTimer clock;
    clock.start();
    try {
        outcome.value = client.TimeInt();
    } catch (const ESockError &error) {
        outcome.error = error.Message();
    }
    outcome.ms = clock.elapsed();
    return outcome;
}

// A %1 in the host text stands for port.
void aim(TNMTime &client, const QString &host, quint16 port, int timeOut)
{
    client.Host = host.contains(u"%1") ? host.arg(port) : host;
    client.Port = port;
    client.TimeOut = timeOut;
}

// The component's notifications in order; a wrong Sender shows in the text.
class SignalLog
{
public:
    explicit SignalLog(TNMTime &client)
    {
        QObject::connect(
            &client, &TNMTime::OnConnect, &m_context, [this, &client](QObject *sender) {
                m_events << (sender == &client ? QStringLiteral("connect")
                                               : QStringLiteral("connect from a stranger"));
            });
        QObject::connect(
            &client, &TNMTime::OnDisconnect, &m_context, [this, &client](QObject *sender) {
                m_events << (sender == &client ? QStringLiteral("disconnect")
                                               : QStringLiteral("disconnect from a stranger"));
            });
    }

    const QStringList &events() const noexcept { return m_events; }

private:
    QObject m_context; // ends the connections together with the log
    QStringList m_events;
};

const QStringList ConnectThenDisconnect{QStringLiteral("connect"), QStringLiteral("disconnect")};

// A listener whose accept queue is already full, so a further connect is never
// answered: the closest loopback gets to an address that stays silent.
class SilentListener
{
public:
    SilentListener()
    {
        m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = LoopbackAddress(0);
        socklen_t length = sizeof address;
        if (m_listenFd < 0 ||
            ::bind(m_listenFd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(m_listenFd, 0) != 0 ||
            ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_fillerFd = startConnect();
    }

    ~SilentListener()
    {
        for (const int fd : {m_fillerFd, m_listenFd})
            if (fd >= 0)
                ::close(fd);
    }

    quint16 port() const noexcept { return m_port; }

    // The kernel may still answer beyond the backlog; then there is nothing to test.
    bool isSilent() const
    {
        if (m_port == 0)
            return false;
        const int probe = startConnect();
        pollfd wait{probe, POLLOUT, 0};
        constexpr int ProbeMs = 100;
        const bool answered = ::poll(&wait, 1, ProbeMs) != 0;
        ::close(probe);
        return !answered;
    }

private:
    int startConnect() const
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const sockaddr_in address = LoopbackAddress(m_port);
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        return fd;
    }

    int m_listenFd = -1;
    int m_fillerFd = -1;
    quint16 m_port = 0;
};

} // namespace

class TstNMTime : public QObject
{
    Q_OBJECT

private slots:
    void freshComponent();
    void answer_data();
    void answer();
    void failsAfterConnect_data();
    void failsAfterConnect();
    void hostForms_data();
    void hostForms();
    void badHostNeverConnects_data();
    void badHostNeverConnects();
    void refusedFailsPromptly_data();
    void refusedFailsPromptly();
    void silentAddressFailsAtTimeOut();
    void timersKeepFiringDuringQuery();
    void secondQueryIsRefusedWhileOneRuns();
    void quittingEndsQueryWithoutValue();
};

void TstNMTime::freshComponent()
{
    TNMTime client;
    QCOMPARE(client.Port, quint16(37));
    QCOMPARE(client.TimeOut, 500);
    QCOMPARE(client.ReportLevel, 0);
    QVERIFY(!client.Busy());

    // The form relies on OnDisconnect even when nothing was ever open.
    const SignalLog log(client);
    client.Disconnect();
    client.Disconnect();
    QCOMPARE(log.events(), QStringList({"disconnect", "disconnect"}));
}

void TstNMTime::answer_data()
{
    QTest::addColumn<Script>("script");
    QTest::newRow("four bytes at once") << Script{.value = Answer};
    QTest::newRow("one byte at a time") << Script{.pauseMs = 60, .value = Answer};
    QTest::newRow("eight bytes, the first four count") << Script{.bytes = 8, .value = Answer};
    QTest::newRow("four bytes, server keeps the line open")
        << Script{.ending = Ending::StayOpen, .value = Answer};
    QTest::newRow("zero") << Script{.value = 0u};
    QTest::newRow("all ones") << Script{.value = 0xFFFFFFFFu};
}

void TstNMTime::answer()
{
    QFETCH(Script, script);
    ScriptedTimeServer server;
    server.setScript(script);
    TNMTime client;
    aim(client, QStringLiteral("127.0.0.1"), server.port(), PatientTimeOutMs);
    const SignalLog log(client);

    // Twice on one component: nothing of the first answer may reach the second.
    for (int round = 0; round < 2; ++round) {
        const Outcome outcome = query(client);
        QVERIFY2(outcome.value, outcome.describe());
        QCOMPARE(*outcome.value, *script.value);
        // Four bytes suffice; waiting for the server's close would cost the time-out.
        QVERIFY2(outcome.ms < PatientTimeOutMs / 2, outcome.describe());
    }
    QCOMPARE(log.events(), ConnectThenDisconnect + ConnectThenDisconnect);
    QCOMPARE(server.connections(), 2);
    QVERIFY(!client.Busy());
}

void TstNMTime::failsAfterConnect_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("waitsForTimeOut");
    QTest::newRow("three bytes then close") << Script{.bytes = 3, .value = Answer} << false;
    QTest::newRow("one byte then close") << Script{.bytes = 1, .value = Answer} << false;
    QTest::newRow("nothing then close") << Script{.bytes = 0} << false;
    QTest::newRow("reset") << Script{.bytes = 0, .ending = Ending::Reset} << false;
    QTest::newRow("three bytes then reset")
        << Script{.bytes = 3, .ending = Ending::Reset, .value = Answer} << false;
    QTest::newRow("nothing, line stays open")
        << Script{.bytes = 0, .ending = Ending::StayOpen} << true;
    QTest::newRow("three bytes, line stays open")
        << Script{.bytes = 3, .ending = Ending::StayOpen, .value = Answer} << true;
}

void TstNMTime::failsAfterConnect()
{
    QFETCH(Script, script);
    QFETCH(bool, waitsForTimeOut);
    ScriptedTimeServer server;
    server.setScript(script);
    TNMTime client;
    aim(client, QStringLiteral("127.0.0.1"), server.port(), ShortTimeOutMs);
    const SignalLog log(client);

    const Outcome failed = query(client);
    QVERIFY2(!failed.value, failed.describe());
    if (waitsForTimeOut) {
        QVERIFY2(failed.ms >= ShortTimeOutMs - EarlyMs, failed.describe());
        QVERIFY2(failed.ms < ShortTimeOutMs + LateMs, failed.describe());
    } else {
        QVERIFY2(failed.ms < ShortTimeOutMs, failed.describe());
    }
    // The query closes its own connection; the form's Disconnect adds one more.
    QCOMPARE(log.events(), ConnectThenDisconnect);
    client.Disconnect();
    QCOMPARE(log.events(), ConnectThenDisconnect + QStringList{"disconnect"});

    server.setScript({.value = Answer});
    const Outcome next = query(client);
    QVERIFY2(next.value == Answer, next.describe());
}

void TstNMTime::hostForms_data()
{
    // %1 stands for the server's port; portInHost leaves the component's Port useless.
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("portInHost");
    const QString v4 = QStringLiteral("127.0.0.1");
    const QString v6 = QStringLiteral("::1");
    QTest::newRow("dotted quad") << "127.0.0.1" << v4 << false;
    QTest::newRow("dotted quad:port") << "127.0.0.1:%1" << v4 << true;
    // Read as octal, "010" would be 8: the query would go to another host.
    QTest::newRow("leading zeros are decimal") << "127.0.0.010:%1"
                                               << "127.0.0.10" << true;
    QTest::newRow("name") << "localhost" << v4 << false;
    QTest::newRow("name:port") << "localhost:%1" << v4 << true;
    QTest::newRow("bare IPv6 literal has no port") << "::1" << v6 << false;
    QTest::newRow("[IPv6]") << "[::1]" << v6 << false;
    QTest::newRow("[IPv6]:port") << "[::1]:%1" << v6 << true;
}

void TstNMTime::hostForms()
{
    QFETCH(QString, host);
    QFETCH(QString, server);
    QFETCH(bool, portInHost);
    ScriptedTimeServer peer(server.toLatin1().constData());
    if (!peer.isListening())
        QSKIP("no such loopback address here");
    peer.setScript({.value = Answer});
    TNMTime client;
    const quint16 port = peer.port();
    aim(client, host.contains(u"%1") ? host.arg(port) : host,
        portInHost ? ScriptedTimeServer::unusedPort() : port, PatientTimeOutMs);

    const Outcome outcome = query(client);
    QVERIFY2(outcome.value == Answer, outcome.describe());
    QCOMPARE(peer.connections(), 1);
}

void TstNMTime::badHostNeverConnects_data()
{
    // %1 stands for the live server's port, so a wrongly made connection shows.
    QTest::addColumn<QString>("host");
    QTest::newRow("empty") << "";
    // Names the resolver refuses before asking any server, so no query leaves the machine.
    QTest::newRow("name that cannot be looked up") << "no such host.invalid";
    QTest::newRow("name that cannot be looked up, with port") << "no such host.invalid:%1";
    QTest::newRow("wildcard address") << "0.0.0.0";
    QTest::newRow("wildcard address with port") << "0.0.0.0:%1";
    QTest::newRow("port out of range") << "127.0.0.1:65536";
    QTest::newRow("port zero") << "127.0.0.1:0";
    QTest::newRow("port not a number") << "127.0.0.1:3x";
    QTest::newRow("empty port") << "127.0.0.1:";
    QTest::newRow("port without host") << ":%1";
    QTest::newRow("IPv4 in brackets") << "[127.0.0.1]:%1";
    QTest::newRow("unclosed bracket") << "[::1";
}

void TstNMTime::badHostNeverConnects()
{
    QFETCH(QString, host);
    ScriptedTimeServer server;
    server.setScript({.value = Answer});
    TNMTime client;
    aim(client, host, server.port(), ShortTimeOutMs);
    const SignalLog log(client);

    const Outcome outcome = query(client);
    QVERIFY2(!outcome.value, outcome.describe());
    QVERIFY2(outcome.ms < ShortTimeOutMs + LateMs, outcome.describe());
    QCOMPARE(log.events(), QStringList());
    QCOMPARE(server.connections(), 0);
}

void TstNMTime::refusedFailsPromptly_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("IPv4 literal") << "127.0.0.1:%1";
    QTest::newRow("name") << "localhost:%1";
    QTest::newRow("IPv6 literal") << "[::1]:%1";
}

void TstNMTime::refusedFailsPromptly()
{
    QFETCH(QString, host);
    TNMTime client;
    aim(client, host.arg(ScriptedTimeServer::unusedPort()), TNMTime::TimePort, PatientTimeOutMs);
    const SignalLog log(client);

    const Outcome outcome = query(client);
    QVERIFY2(!outcome.value, outcome.describe());
    QVERIFY2(outcome.ms < PromptMs, outcome.describe());
    QCOMPARE(log.events(), QStringList());
}

void TstNMTime::silentAddressFailsAtTimeOut()
{
    const SilentListener listener;
    if (!listener.isSilent())
        QSKIP("this system answers connections beyond a full backlog");
    TNMTime client;
    aim(client, QStringLiteral("127.0.0.1"), listener.port(), ShortTimeOutMs);
    const SignalLog log(client);

    const Outcome outcome = query(client);
    QVERIFY2(!outcome.value, outcome.describe());
    QVERIFY2(outcome.ms >= ShortTimeOutMs - EarlyMs, outcome.describe());
    QVERIFY2(outcome.ms < ShortTimeOutMs + LateMs, outcome.describe());
    QCOMPARE(log.events(), QStringList());
}

void TstNMTime::timersKeepFiringDuringQuery()
{
    constexpr int PauseMs = 100; // three pauses: the answer takes about 300 ms
    constexpr int TickMs = 20;
    constexpr int MinTicks = 5; // about 15 are due; a blocked thread gets one at most
    ScriptedTimeServer server;
    server.setScript({.pauseMs = PauseMs, .value = Answer});
    TNMTime client;
    aim(client, QStringLiteral("127.0.0.1"), server.port(), PatientTimeOutMs);

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&ticks] { ++ticks; });
    ticker.start(TickMs);
    const Outcome outcome = query(client);
    ticker.stop();

    QVERIFY2(outcome.value == Answer, outcome.describe());
    QVERIFY2(ticks >= MinTicks, QByteArray::number(ticks));
}

void TstNMTime::secondQueryIsRefusedWhileOneRuns()
{
    constexpr int PauseMs = 100;
    constexpr int ClickAfterMs = 50; // inside the first query's read
    ScriptedTimeServer server;
    server.setScript({.pauseMs = PauseMs, .value = Answer});
    TNMTime client;
    aim(client, QStringLiteral("127.0.0.1"), server.port(), PatientTimeOutMs);
    const SignalLog log(client);

    // What a click handled during the wait does: query, and Disconnect on failure.
    std::optional<Outcome> second;
    bool busyAtClick = false;
    QTimer::singleShot(ClickAfterMs, &client, [&] {
        busyAtClick = client.Busy();
        second = query(client);
        if (!second->value)
            client.Disconnect();
    });
    const Outcome first = query(client);

    QVERIFY(busyAtClick);
    QVERIFY(second);
    QVERIFY2(!second->value, second->describe());
    QVERIFY2(second->ms < ClickAfterMs, second->describe());
    QVERIFY2(first.value == Answer, first.describe());
    QCOMPARE(server.connections(), 1);
    // The refused caller's Disconnect leaves the running query alone, signal included.
    QCOMPARE(log.events(), ConnectThenDisconnect);
    QVERIFY(!client.Busy());
}

void TstNMTime::quittingEndsQueryWithoutValue()
{
    constexpr int PauseMs = 200; // the whole answer would take 600 ms
    constexpr int QuitAfterMs = 100;
    ScriptedTimeServer server;
    server.setScript({.pauseMs = PauseMs, .value = Answer});
    TNMTime client;
    aim(client, QStringLiteral("127.0.0.1"), server.port(), PatientTimeOutMs);

    // As in the program: the query starts from the main loop and the user quits.
    std::optional<Outcome> outcome;
    QTimer::singleShot(0, &client, [&] { outcome = query(client); });
    QTimer::singleShot(QuitAfterMs, &QCoreApplication::quit);
    QCoreApplication::exec();

    QVERIFY(outcome);
    QVERIFY2(!outcome->value, outcome->describe());
    QVERIFY2(outcome->ms < QuitAfterMs + PromptMs, outcome->describe());
    QVERIFY(!client.Busy());
}

QTEST_MAIN(TstNMTime)
#include "tst_nmtime.moc"
