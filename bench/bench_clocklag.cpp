// Live-clock lag: for 30 ticks, how long after each whole second of the system clock the
// live clock panel shows it, against a plain 1000 ms timer started at the same moment.
//   bench_clocklag [ticks]

#include "DisplayForm.h"
#include "FakeSystemClock.h"
#include "Panel.h"
#include "ScriptedTimeServer.h"
#include "UntQuorvel.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kDefaultTicks = 30;

struct TLag
{
    std::vector<int> ms;
    void Record() { ms.push_back(int(QDateTime::currentMSecsSinceEpoch() % 1000)); }
    int Median() const
    {
        auto v = ms;
        std::sort(v.begin(), v.end());
        return v.empty() ? -1 : v[v.size() / 2];
    }
    int Max() const { return ms.empty() ? -1 : *std::max_element(ms.begin(), ms.end()); }
};
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int ticks = argc >= 2 ? std::max(3, atoi(argv[1])) : kDefaultTicks;

    TFakeSystemClock::TLog log;
    const QString closed = QStringLiteral("127.0.0.1:%1").arg(ScriptedTimeServer::unusedPort());
    TForm1 form(std::make_unique<TFakeSystemClock>(log), QStringList{closed});
    form.show();

    // The lag is the part of the second already gone when the panel changes to it.
    TLag live, naive;
    QObject::connect(form.tmUpdate, &QTimer::timeout, &form, [&] {
        live.Record();
        if (int(live.ms.size()) >= ticks)
            QCoreApplication::quit();
    });

    QTimer plain;
    plain.setTimerType(Qt::PreciseTimer);
    plain.start(1000);
    QObject::connect(&plain, &QTimer::timeout, &form, [&] { naive.Record(); });

    QApplication::exec();
    std::printf("%d ticks\n%-28s %10s %8s\n", ticks, "timer", "median ms", "max ms");
    std::printf("%-28s %10d %8d\n", "live clock (phase-locked)", live.Median(), live.Max());
    std::printf("%-28s %10d %8d\n", "plain 1000 ms timer", naive.Median(), naive.Max());
    return 0;
}
