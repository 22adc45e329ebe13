// Launch to first paint, against a bare Qt window started the same way, and window close to
// process exit. Each run is a fresh process, started the way a desktop starts a program; the
// child reports on a pipe the monotonic time of its window's first paint and, for ARX, the
// moment it closes its window once painted, so the parent times the exit as seen from
// outside (waitpid). ARX and the bare window take turns, so that both see the same load.
//   bench_startup [RUNS]     (default 15; a display, e.g. xvfb-run, or QT_QPA_PLATFORM)
// The application binds 127.0.112.1 (--interface), so runs never leave loopback.
#include "BuildType.h"
#include "app/CARNApp.h"
#include "app/CARNDlg.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr const char *ArxChild = "--arx-child";
constexpr const char *BareChild = "--bare-child";
constexpr const char *Interface = "127.0.112.1";
constexpr double GoalRatio = 1.2;
constexpr double GoalCloseMs = 10.0;

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

void report(int fd, long long at)
{
    if (::write(fd, &at, sizeof at) != sizeof at)
        std::perror("write");
}

// Reports the first paint of any window of the process (ARX's main window paints first
// while it is still being built), then runs `afterPaint` on the next turn of the loop, if any.
class FirstPaint : public QObject {
public:
    FirstPaint(int fd, std::function<void()> afterPaint = {})
        : fd_(fd)
        , afterPaint_(std::move(afterPaint))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !reported_ && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            reported_ = true;
            report(fd_, monotonicNs());
            if (afterPaint_)
                QTimer::singleShot(0, qApp, afterPaint_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int fd_;
    std::function<void()> afterPaint_;
    bool reported_ = false;
};

// The program as `arx --interface 127.0.112.1` runs it. It reports its first paint, when the
// window is complete (every control and page made), and, on the next turn of the loop, when
// it closes its window as the operator does; then it ends as arx does.
int arxChild(int argc, char *argv[], int fd)
{
    QApplication application(argc, argv);
    FirstPaint firstPaint(fd);
    auto app = std::make_unique<arx::CARNApp>(
        arx::StartOptions { .interfaceAddress = QString::fromLatin1(Interface) });
    report(fd, monotonicNs());
    arx::CARNDlg &window = app->window();
    QTimer::singleShot(0, &window, [&window, fd] {
        report(fd, monotonicNs());
        window.close();
    });
    return arx::runToProcessEnd(std::move(app));
}

// One plain widget of the main window's size, nothing in it.
int bareChild(int argc, char *argv[], int fd)
{
    QApplication application(argc, argv);
    FirstPaint firstPaint(fd, [] { QCoreApplication::quit(); });
    QWidget window;
    window.resize(1280, 768);
    window.show();
    return QApplication::exec();
}

struct Launch {
    double firstPaintMs = -1; // from spawning
    double completeMs = -1; // from spawning, when the window has all its controls (ARX)
    double closeToExitMs = -1; // from closing its window (ARX)
};

// One run of `self` in the given child mode.
Launch launch(const char *self, const char *mode)
{
    Launch result;
    int fds[2];
    if (::pipe(fds) != 0)
        return result;
    const std::string fd = std::to_string(fds[1]);
    char *const args[] = { const_cast<char *>(self), const_cast<char *>(mode),
        const_cast<char *>(fd.c_str()), nullptr };
    const long long started = monotonicNs();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, args, environ) != 0)
        return result;
    ::close(fds[1]);
    long long painted = 0;
    long long complete = 0;
    long long closed = 0;
    const bool paintReported = ::read(fds[0], &painted, sizeof painted) == sizeof painted;
    const bool completeReported = ::read(fds[0], &complete, sizeof complete) == sizeof complete;
    const bool closeReported = ::read(fds[0], &closed, sizeof closed) == sizeof closed;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const long long exited = monotonicNs();
    ::close(fds[0]);
    if (paintReported)
        result.firstPaintMs = (painted - started) / 1e6;
    if (completeReported)
        result.completeMs = (complete - started) / 1e6;
    if (closeReported)
        result.closeToExitMs = (exited - closed) / 1e6;
    return result;
}

struct Spread {
    double min, median, max;
};

Spread spreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return { values.front(), values[values.size() / 2], values.back() };
}

void printSpread(const char *what, const Spread &spread)
{
    std::printf("%-38s min %6.1f ms, median %6.1f ms, max %6.1f ms\n", what, spread.min,
        spread.median, spread.max);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], ArxChild) == 0)
        return arxChild(1, argv, std::atoi(argv[2]));
    if (argc >= 3 && std::strcmp(argv[1], BareChild) == 0)
        return bareChild(1, argv, std::atoi(argv[2]));

    printBuildType();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::vector<double> arxPaint, barePaint, arxComplete, arxClose;
    for (int run = 0; run < runs; ++run) {
        const Launch arx = launch(argv[0], ArxChild);
        const Launch bare = launch(argv[0], BareChild);
        if (arx.firstPaintMs < 0 || arx.completeMs < 0 || arx.closeToExitMs < 0
            || bare.firstPaintMs < 0) {
            std::fprintf(stderr, "run %d: a child reported nothing\n", run + 1);
            return 1;
        }
        arxPaint.push_back(arx.firstPaintMs);
        arxComplete.push_back(arx.completeMs);
        barePaint.push_back(bare.firstPaintMs);
        arxClose.push_back(arx.closeToExitMs);
    }
    const Spread arx = spreadOf(arxPaint);
    const Spread bare = spreadOf(barePaint);
    const Spread complete = spreadOf(arxComplete);
    const Spread close = spreadOf(arxClose);
    std::printf("over %d runs of each, taking turns:\n", runs);
    printSpread("ARX, launch to first paint:", arx);
    printSpread("bare Qt window, launch to first paint:", bare);
    const double ratio = arx.median / bare.median;
    std::printf("ratio of the medians (ARX / bare):     %6.2f (goal <= %.1f): %s\n", ratio,
        GoalRatio, ratio <= GoalRatio ? "within" : "OVER");
    printSpread("ARX, launch to every control made:", complete);
    printSpread("ARX, window close to process exit:", close);
    std::printf("close to exit, median:                 %6.1f ms (goal <= %.0f): %s\n",
        close.median, GoalCloseMs, close.median <= GoalCloseMs ? "within" : "OVER");
    return 0;
}
