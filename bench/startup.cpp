// Launch to first paint: how long after the program is started its main window first
// paints, with every page built. Each run is a fresh process, started the way a desktop
// starts the program; the child reports the monotonic time of its window's first paint.
//   bench_startup [RUNS]     (default 15; needs a display, e.g. under xvfb-run)
// The application binds 127.0.112.1 (--interface), so runs never leave loopback.
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
#include <ctime>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr const char *ChildFlag = "--child";
constexpr const char *Interface = "127.0.112.1";
constexpr double BudgetMs = 300.0;

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Writes the time of the window's first paint to the pipe and ends the event loop.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(int fd)
        : fd_(fd)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            const long long at = monotonicNs();
            if (::write(fd_, &at, sizeof at) != sizeof at)
                std::perror("write");
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int fd_;
    bool reported_ = false;
};

int child(int argc, char *argv[], int fd)
{
    QApplication application(argc, argv);
    arx::CARNApp app({ .interfaceAddress = QString::fromLatin1(Interface) });
    FirstPaint firstPaint(fd);
    app.window().installEventFilter(&firstPaint);
    return app.run();
}

// One launch; the milliseconds from spawning the process to its first paint, or -1.
double launch(const char *self)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const std::string fd = std::to_string(fds[1]);
    char *const args[] = { const_cast<char *>(self), const_cast<char *>(ChildFlag),
        const_cast<char *>(fd.c_str()), nullptr };
    const long long started = monotonicNs();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, args, environ) != 0)
        return -1;
    ::close(fds[1]);
    long long painted = 0;
    const bool reported = ::read(fds[0], &painted, sizeof painted) == sizeof painted;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return reported ? (painted - started) / 1e6 : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && std::string(argv[1]) == ChildFlag)
        return child(1, argv, std::atoi(argv[2]));

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double ms = launch(argv[0]);
        if (ms < 0) {
            std::fprintf(stderr, "run %d: no first paint reported\n", run + 1);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("launch to first paint over %d runs: min %.1f ms, median %.1f ms, max %.1f ms "
                "(budget %.0f ms): %s\n",
        runs, times.front(), median, times.back(), BudgetMs,
        median <= BudgetMs ? "within" : "OVER");
    return 0;
}
