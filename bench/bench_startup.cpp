// Start-up: process start to the main window's first paint, for Quorvel's window against
// a bare Qt window of the same size, each started as a new process, in the same run.
//   bench_startup [runs]      prints medians and ratios
// The window's first query goes to loopback only: to a port nobody listens on ("window")
// or to a scripted server that answers ("with refresh").

#include "Application.h"
#include "FakeSystemClock.h"
#include "ScriptedTimeServer.h"
#include "UntQuorvel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kDefaultRuns = 15;
constexpr int kChildTimeoutMs = 30'000;

// Prints "shown" at the window's first paint, then ends the loop.
class TFirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            std::puts("shown");
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }
};

int Child(int argc, char **argv, const QString &mode, const QString &host)
{
    QApplication qtApplication(argc, argv);
    TFirstPaint firstPaint;
    qtApplication.installEventFilter(&firstPaint);
    if (mode == u"bare" || mode == u"text") {
        QWidget window;
        window.resize(371, 425);
        window.move(192, 107);
        // The same window with one line of Japanese text: what font start-up alone costs.
        QLabel label(mode == u"text" ? QStringLiteral("ＮＴＰから情報を取得しました。") : QString(),
                     &window);
        window.show();
        return QApplication::exec();
    }
    TFakeSystemClock::TLog log;
    TApplication application;
    return RunApplication(application, [&] {
        return std::make_unique<TForm1>(std::make_unique<TFakeSystemClock>(log), QStringList{host});
    });
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeChild(const QString &program, const QStringList &arguments)
{
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
    if (!child.waitForReadyRead(kChildTimeoutMs))
        return -1;
    const double ms = timer.nsecsElapsed() / 1e6;
    child.waitForFinished(kChildTimeoutMs);
    return ms;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0)
        return Child(argc, argv, QString::fromLatin1(argv[2]),
                     argc >= 4 ? QString::fromLatin1(argv[3]) : QString());

    QCoreApplication app(argc, argv);
    const int runs = argc >= 2 ? std::max(3, atoi(argv[1])) : kDefaultRuns;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    ScriptedTimeServer server;
    const QString answering = QStringLiteral("127.0.0.1:%1").arg(server.port());
    const QString closed = QStringLiteral("127.0.0.1:%1").arg(ScriptedTimeServer::unusedPort());
    const QString self = QCoreApplication::applicationFilePath();

    struct Case
    {
        const char *name;
        QStringList arguments;
        std::vector<double> ms;
    };
    std::vector<Case> cases{{"bare Qt window", {"--child", "bare"}, {}},
                            {"bare window, Japanese label", {"--child", "text"}, {}},
                            {"window (first query refused)", {"--child", "form", closed}, {}},
                            {"window with first refresh", {"--child", "form", answering}, {}}};
    TimeChild(self, cases[0].arguments); // warm the page cache
    for (int i = 0; i < runs; ++i)
        for (Case &c : cases) // interleaved, so drift hits every case alike
            c.ms.push_back(TimeChild(self, c.arguments));

    const double baseline = Median(cases[0].ms);
    std::printf("platform: %s, %d runs each\n", qgetenv("QT_QPA_PLATFORM").constData(), runs);
    std::printf("%-32s %10s %10s %8s\n", "case", "median ms", "max ms", "ratio");
    for (const Case &c : cases)
        std::printf("%-32s %10.1f %10.1f %7.2fx\n", c.name, Median(c.ms),
                    *std::max_element(c.ms.begin(), c.ms.end()), Median(c.ms) / baseline);
    return 0;
}
