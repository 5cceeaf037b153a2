// The client against independent peers: xinetd's built-in time service must
// agree with the machine's clock, and rdate must read the scripted server's
// answers, whole or short, the way the client does.

#include "NMTime.h"
#include "ScriptedTimeServer.h"
#include "XinetdTimeService.h"

#include <QDateTime>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

constexpr int PeerTimeOutMs = 2000; // real daemons: no reason to be tight
constexpr int RdateRunTimeOutMs = 10000;
constexpr qint64 ClockToleranceSecs = 2;

QString findTool(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}

quint32 serverSeconds(const QDateTime &utc)
{
    return static_cast<quint32>(utc.toSecsSinceEpoch() + SecondsFrom1900To1970);
}

QDateTime fromServerSeconds(quint32 value)
{
    return QDateTime::fromSecsSinceEpoch(qint64(value) - SecondsFrom1900To1970, Qt::UTC);
}

// rdate prints ctime's form, "Thu Feb  7 06:28:15 UTC 2036", under LC_ALL=C TZ=UTC.
QDateTime parseRdate(const QString &output)
{
    static const QRegularExpression date(
        QStringLiteral(R"(\w{3} \w{3} +\d{1,2} \d\d:\d\d:\d\d UTC \d{4})"));
    const QRegularExpressionMatch match = date.match(output);
    if (!match.hasMatch())
        return {};
    const QDateTime parsed = QLocale::c().toDateTime(
        match.captured().simplified(), QStringLiteral("ddd MMM d HH:mm:ss 'UTC' yyyy"));
    return parsed.isValid() ? QDateTime(parsed.date(), parsed.time(), Qt::UTC) : QDateTime();
}

} // namespace

class TstTimePeers : public QObject
{
    Q_OBJECT

private slots:
    void xinetdAnswersTheMachineTime();
    void rdateReadsAsWeDo_data();
    void rdateReadsAsWeDo();
};

void TstTimePeers::xinetdAnswersTheMachineTime()
{
    if (XinetdTimeService::executable().isEmpty())
        QSKIP("xinetd is not installed");
    XinetdTimeService xinetd;
    QVERIFY2(xinetd.start(), qPrintable(xinetd.errorString()));
    TNMTime client;
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = xinetd.port();
    client.TimeOut = PeerTimeOutMs;

    const qint64 before = QDateTime::currentSecsSinceEpoch();
    const quint32 value = client.TimeInt();
    const qint64 after = QDateTime::currentSecsSinceEpoch();

    const qint64 unixSeconds = qint64(value) - SecondsFrom1900To1970;
    QVERIFY2(
        unixSeconds >= before - ClockToleranceSecs && unixSeconds <= after + ClockToleranceSecs,
        qPrintable(QStringLiteral("xinetd says %1, the clock %2")
                       .arg(fromServerSeconds(value).toString(Qt::ISODate),
                            QDateTime::fromSecsSinceEpoch(before, Qt::UTC).toString(Qt::ISODate))));
}

void TstTimePeers::rdateReadsAsWeDo_data()
{
    const quint32 leapDay =
        serverSeconds(QDateTime(QDate(2024, 2, 29), QTime(12, 34, 56), Qt::UTC));
    QTest::addColumn<ScriptedTimeServer::Script>("script");
    QTest::addColumn<bool>("complete");
    QTest::newRow("leap day 2024") << ScriptedTimeServer::Script{.value = leapDay} << true;
    QTest::newRow("last second before the 2036 wrap")
        << ScriptedTimeServer::Script{.value = 0xFFFFFFFFu} << true;
    QTest::newRow("three bytes then close")
        << ScriptedTimeServer::Script{.bytes = 3, .value = leapDay} << false;
    QTest::newRow("nothing then close") << ScriptedTimeServer::Script{.bytes = 0} << false;
}

void TstTimePeers::rdateReadsAsWeDo()
{
    QFETCH(ScriptedTimeServer::Script, script);
    QFETCH(bool, complete);
    const QString rdate = findTool(QStringLiteral("rdate"));
    if (rdate.isEmpty())
        QSKIP("rdate is not installed");
    ScriptedTimeServer server;
    server.setScript(script);

    // -p only prints; it never sets the clock.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(environment);
    process.start(rdate, {QStringLiteral("-p"), QStringLiteral("-o"),
                          QString::number(server.port()), QStringLiteral("127.0.0.1")});
    QVERIFY2(process.waitForFinished(RdateRunTimeOutMs), qPrintable(process.errorString()));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    const bool rdateRead = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    QCOMPARE(rdateRead, complete);

    TNMTime client;
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = server.port();
    client.TimeOut = PeerTimeOutMs;
    if (!complete) {
        QVERIFY_THROWS_EXCEPTION(ESockError, client.TimeInt());
        return;
    }
    QCOMPARE(parseRdate(output), fromServerSeconds(*script.value));
    QCOMPARE(client.TimeInt(), *script.value);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

QTEST_MAIN(TstTimePeers)
#include "tst_timepeers.moc"
