// Wall time of one time query through TNMTime, against a plain blocking socket
// client doing the same exchange and against rdate as a whole process, all on
// one loopback server in the same run; and how long a refused port takes to fail.

#include "LoopbackAddress.h"
#include "NMTime.h"
#include "ScriptedTimeServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int Queries = 200;
constexpr int RdateRuns = 50;
constexpr int RefusedRuns = 50;
constexpr int WarmUps = 5;
constexpr int BenchTimeOutMs = 2000;
constexpr double TargetRatio = 1.5;
constexpr double RefusedTargetMs = 50.0;
constexpr qsizetype AnswerBytes = 4;

struct Timing
{
    std::vector<double> ms;
    int failures = 0;

    double percentile(double p) const
    {
        if (ms.empty())
            return 0.0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(p * double(sorted.size() - 1) + 0.5)];
    }
    double median() const { return percentile(0.5); }
};

// Runs once and adds the wall time; false counts as a failure.
void timeOnce(Timing &timing, const std::function<bool()> &run)
{
    QElapsedTimer clock;
    clock.start();
    const bool ok = run();
    timing.ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    if (!ok)
        ++timing.failures;
}

// The same exchange with nothing but blocking calls: connect, read four bytes, close.
bool blockingQuery(quint16 port, quint32 &value)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const sockaddr_in address = LoopbackAddress(port);
    unsigned char answer[AnswerBytes];
    qsizetype got = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        while (got < AnswerBytes) {
            const ssize_t n = ::recv(fd, answer + got, AnswerBytes - got, 0);
            if (n <= 0)
                break;
            got += n;
        }
    }
    ::close(fd);
    if (got < AnswerBytes)
        return false;
    value = quint32(answer[0]) << 24 | quint32(answer[1]) << 16 | quint32(answer[2]) << 8 |
            quint32(answer[3]);
    return true;
}

bool tnmQuery(TNMTime &client, quint32 &value)
{
    try {
        value = client.TimeInt();
        return true;
    } catch (const ESockError &) {
        return false;
    }
}

// rdate -p only prints; its output goes to /dev/null.
bool runRdate(const QByteArray &path, quint16 port)
{
    const QByteArray portText = QByteArray::number(port);
    char *argv[] = {const_cast<char *>(path.constData()),
                    const_cast<char *>("-p"),
                    const_cast<char *>("-o"),
                    const_cast<char *>(portText.constData()),
                    const_cast<char *>("127.0.0.1"),
                    nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void printRow(const char *name, const Timing &timing, const Timing *baseline)
{
    std::printf("%-34s %5zu %9.3f %9.3f %6d", name, timing.ms.size(), timing.median(),
                timing.percentile(0.9), timing.failures);
    if (baseline)
        std::printf("   %5.2fx", timing.median() / baseline->median());
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ScriptedTimeServer server;
    if (!server.isListening()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }

    TNMTime client;
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = server.port();
    client.TimeOut = BenchTimeOutMs;

    quint32 viaClient = 0;
    quint32 viaBlocking = 0;
    for (int i = 0; i < WarmUps; ++i) {
        tnmQuery(client, viaClient);
        blockingQuery(server.port(), viaBlocking);
    }

    // Interleaved, so drift in the machine's load hits both alike.
    Timing tnm;
    Timing blocking;
    for (int i = 0; i < Queries; ++i) {
        timeOnce(tnm, [&] { return tnmQuery(client, viaClient); });
        timeOnce(blocking, [&] { return blockingQuery(server.port(), viaBlocking); });
    }

    Timing rdate;
    QString rdatePath = QStandardPaths::findExecutable(QStringLiteral("rdate"));
    if (rdatePath.isEmpty())
        rdatePath = QStandardPaths::findExecutable(
            QStringLiteral("rdate"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (!rdatePath.isEmpty()) {
        const QByteArray path = rdatePath.toLocal8Bit();
        for (int i = 0; i < RdateRuns; ++i)
            timeOnce(rdate, [&] { return runRdate(path, server.port()); });
    }

    TNMTime refusedClient;
    refusedClient.Host = QStringLiteral("127.0.0.1");
    refusedClient.Port = ScriptedTimeServer::unusedPort();
    refusedClient.TimeOut = BenchTimeOutMs;
    Timing refused;
    for (int i = 0; i < RefusedRuns; ++i)
        timeOnce(refused, [&] {
            quint32 ignored = 0;
            return !tnmQuery(refusedClient, ignored); // here a failure is the success
        });

    std::printf("time query on 127.0.0.1:%u, server connections %d\n", unsigned(server.port()),
                server.connections());
    std::printf("%-34s %5s %9s %9s %6s   %s\n", "", "runs", "median ms", "p90 ms", "failed",
                "vs blocking");
    printRow("blocking POSIX client", blocking, nullptr);
    printRow("TNMTime::TimeInt", tnm, &blocking);
    if (rdate.ms.empty())
        std::printf("%-34s not installed\n", "rdate -p (whole process)");
    else
        printRow("rdate -p (whole process)", rdate, &blocking);
    printRow("TNMTime, refused port (to fail)", refused, nullptr);

    const double ratio = tnm.median() / blocking.median();
    std::printf("\nTNMTime / blocking median ratio %.2f (aim <= %.1f): %s\n", ratio, TargetRatio,
                ratio <= TargetRatio ? "ok" : "above aim");
    std::printf("refused port median %.3f ms (aim < %.0f ms): %s\n", refused.median(),
                RefusedTargetMs, refused.median() < RefusedTargetMs ? "ok" : "above aim");
    std::printf("answers agree: %s\n",
                std::abs(qint64(viaBlocking) - qint64(viaClient)) <= 1 ? "yes" : "no");
    return tnm.failures + blocking.failures + refused.failures == 0 ? 0 : 1;
}
