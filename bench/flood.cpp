// 64 emulated units send level reports as fast as arx-sim can for 5 s against the
// application's receive path as the program runs it: the command socket, the receive thread,
// the hand-over to the user-interface thread and the reply parser writing the store. Prints
// what the emulator sent, what reached the store, and the application's CPU time.
//   bench_flood [--journal [FILE]] [--capture FILE]
// --journal records every datagram in the traffic journal as the program does, and with FILE
// also appends it there as the program's --journal does; compare with a run without it.
// --capture FILE records in the journal too and writes every datagram to FILE as the
// program's --capture does (bench_capture compares the two).
#include "BuildType.h"
#include "app/DatagramPump.h"
#include "journal/CaptureFile.h"
#include "journal/JournalFile.h"
#include "journal/JournalRecording.h"
#include "protocol/CommandSocket.h"
#include "protocol/Discovery.h"
#include "protocol/LocalAddress.h"
#include "protocol/Ports.h"

#include "SimControl.h"
#include "SimProcess.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr const char *Subnet = "127.0.30";
constexpr int Units = 64;
constexpr int FloodMs = 5000;
// Between the resumed flood and the measured window, for the paths to reach their pace.
constexpr int WarmUpMs = 200;
constexpr int GuardMs = 30000;
// A flood has ended once nothing has been handled for this long.
constexpr int QuietMs = 300;

class PrintedPrompts final : public arx::Prompts {
public:
    void message(const std::string &text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool confirm(const std::string &text) override
    {
        message(text);
        return true;
    }
    std::optional<std::string> openFileName(const std::string &, const std::string &) override
    {
        return {};
    }
    std::optional<std::string> saveFileName(const std::string &, const std::string &) override
    {
        return {};
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return {}; }
};

// The bench shows no window; the discovery's calls to it change nothing.
class NoWindow final : public arx::RoomObserver { };

bool isLevelReport(const arx::Datagram &datagram)
{
    return datagram.length == 4 && datagram.bytes[0] == '%'
        && (datagram.bytes[1] == 'G' || datagram.bytes[1] == 'L') && datagram.bytes[3] == '#';
}

bool isAnnouncement(const arx::Datagram &datagram)
{
    return datagram.length > 9 && datagram.bytes[0] == '%'
        && (datagram.bytes[1] == 'D' || datagram.bytes[1] == 'H');
}

double seconds(const timeval &time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// User and system seconds of the whole process, or of the calling thread.
double cpuSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long peakResidentKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// User and system seconds of one thread of this process, from /proc.
double threadCpuSeconds(int threadId)
{
    std::ifstream file("/proc/self/task/" + std::to_string(threadId) + "/stat");
    std::string line;
    std::getline(file, line);
    // The fields after the command name, which is in parentheses and may hold spaces.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index == 14 || index == 15) // utime, stime
            ticks += std::stod(field);
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Runs the event loop until `done` holds (asked every 10 ms) or `guardMs` has passed.
bool runUntil(const std::function<bool()> &done, int guardMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(10);
    QTimer::singleShot(guardMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

// Runs the event loop until `count` has not moved for QuietMs.
void runUntilQuiet(const std::uint64_t &count)
{
    std::uint64_t lastSeen = count;
    QElapsedTimer quiet;
    quiet.start();
    runUntil(
        [&] {
            if (count != lastSeen) {
                lastSeen = count;
                quiet.restart();
            }
            return quiet.elapsed() >= QuietMs;
        },
        GuardMs);
}

void runFor(int milliseconds)
{
    QEventLoop loop;
    // Precise: a coarse timer may end the window 5 % early.
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Snapshot {
    std::uint64_t simSent;
    std::uint64_t simLevelReports;
    std::uint64_t simFailed;
    std::uint64_t handledLevelReports;
    double processCpu;
    double receiveThreadCpu;
    double userInterfaceThreadCpu;
    qint64 elapsedMs;
};

} // namespace

int main(int argc, char *argv[])
{
    printBuildType();
    QCoreApplication application(argc, argv);
    const std::string own = std::string(Subnet) + ".1";
    const QStringList arguments = QCoreApplication::arguments();
    // The file after an option, or nothing when the next word is another option.
    const auto fileAfter = [&](const char *option) {
        const qsizetype at = arguments.indexOf(QLatin1String(option));
        return at > 0 && at + 1 < arguments.size() && !arguments[at + 1].startsWith('-')
            ? arguments[at + 1].toStdString()
            : std::string();
    };
    const std::string journalPath = fileAfter("--journal");
    const std::string capturePath = fileAfter("--capture");
    const bool journalOn = arguments.contains(QStringLiteral("--journal")) || !capturePath.empty();

    arxsim::SimProcess sim({ "--subnet", std::string(Subnet) + ".0", "--units",
        std::to_string(Units), "--no-processor", "--level-rate", "100000", "--quiet" });
    arxsim::SimControl control(sim.control());

    arx::Store store;
    arx::SetDefaults(store);
    arx::SystemClock clock;
    PrintedPrompts prompts;
    NoWindow noWindow;
    arx::UdpTransport transport;
    if (!arx::openCommandSocket(transport, own, prompts))
        return 1;
    arx::Journal journal;
    journal.setLocalEndpoint(own, arx::LocalPort);
    arx::JournalingLink journalingLink(journal, store, clock, arx::SendReporting::AtCall);
    journalingLink.setNext(transport);
    std::unique_ptr<arx::JournalFile> journalFile;
    if (!journalPath.empty()) {
        journalFile = std::make_unique<arx::JournalFile>(journal, journalPath, own + ":39030");
        if (!journalFile->isOpen()) {
            std::fprintf(
                stderr, "cannot open %s: %s\n", journalPath.c_str(), journalFile->error().c_str());
            return 1;
        }
    }
    std::unique_ptr<arx::CaptureFile> captureFile;
    if (!capturePath.empty()) {
        captureFile = std::make_unique<arx::CaptureFile>(journal, capturePath);
        if (!captureFile->isOpen()) {
            std::fprintf(
                stderr, "cannot open %s: %s\n", capturePath.c_str(), captureFile->error().c_str());
            return 1;
        }
    }
    arx::Link &link = journalOn ? static_cast<arx::Link &>(journalingLink) : transport;
    arx::DatagramPump pump(transport);
    if (journalOn) {
        transport.setDropped(
            [&](const arx::Datagram &d, arx::DropReason reason, std::size_t length) {
                arx::recordTransportDrop(journal, clock, d, reason, length);
            });
        pump.setDropped([&](const arx::Datagram &d) {
            arx::recordReceived(
                journal, nullptr, clock.monotonicMs(), d, arx::DropReason::QueueFull);
        });
    }
    arx::Discovery discovery(
        store, link, clock, prompts, noWindow, [&] { return arx::findLocalAddress(own); });

    std::uint64_t announcements = 0;
    std::uint64_t levelReports = 0;
    QObject::connect(&pump, &arx::DatagramPump::received, &pump, [&](const arx::Datagram &d) {
        if (isLevelReport(d))
            ++levelReports;
        else if (isAnnouncement(d))
            ++announcements;
        if (!journalOn) {
            discovery.received(d);
            return;
        }
        const std::int64_t handled = clock.monotonicMs();
        journalingLink.holdRecords();
        const arx::Discovery::Received outcome = discovery.received(d);
        arx::recordReceived(journal, &store, handled, d, outcome.dropped, outcome.slot);
        journalingLink.releaseRecords();
    });
    pump.start();

    discovery.startSearch();
    // Every unit announces once per search request, and both requests went out.
    if (!runUntil([&] { return announcements >= 2 * Units; }, GuardMs)) {
        std::fprintf(stderr, "only %llu of %d announcements were handled\n",
            static_cast<unsigned long long>(announcements), 2 * Units);
        return 1;
    }
    int registered = 0;
    for (const arx::DeviceRecord &record : store.unitTable)
        registered += record.inUse ? 1 : 0;
    // The units flood from their attach on, while the user-interface thread still sleeps in
    // the registrations' pauses. Silenced, they let that backlog drain, so that the window
    // measures the steady pace and not the backlog.
    for (int unit = 1; unit <= Units; ++unit)
        control.setSilent(unit, true);
    runUntilQuiet(levelReports);
    const std::uint64_t beforeWindow = levelReports;
    const long peakBeforeWindowKb = peakResidentKb();
    for (int unit = 1; unit <= Units; ++unit)
        control.setSilent(unit, false);
    runFor(WarmUpMs);

    QElapsedTimer elapsed;
    elapsed.start();
    const auto snapshot = [&] {
        const arxsim::ControlReply stats = control.stats();
        const qint64 at = elapsed.elapsed(); // when the emulator's count came back
        return Snapshot { stats.counter("sent"), stats.counter("levelReports"),
            stats.counter("failed"), levelReports, cpuSeconds(RUSAGE_SELF),
            threadCpuSeconds(transport.receiveThreadId()), cpuSeconds(RUSAGE_THREAD), at };
    };
    const Snapshot start = snapshot();
    runFor(FloodMs);
    const Snapshot end = snapshot();

    // What was still on its way when the window closed.
    sim.stop();
    runUntilQuiet(levelReports);
    transport.stop();

    const double window = static_cast<double>(end.elapsedMs - start.elapsedMs) / 1000.0;
    const auto perSecond = [&](std::uint64_t from, std::uint64_t to) {
        return static_cast<double>(to - from) / window;
    };
    const double sent = perSecond(start.simLevelReports, end.simLevelReports);
    const double delivered = perSecond(start.handledLevelReports, end.handledLevelReports);
    const double processCpu = end.processCpu - start.processCpu;

    std::printf("flood: %d units on %s.0/24, each sending level reports as fast as arx-sim can\n",
        registered, Subnet);
    std::printf("journal:                                 %s\n",
        !journalOn                ? "off"
            : journalPath.empty() ? "on (ring only)"
                                  : ("on, file " + journalPath).c_str());
    std::printf("capture:                                 %s\n",
        capturePath.empty() ? "off" : ("on, file " + capturePath).c_str());
    std::printf("level reports handled before the window: %10llu (the search and its backlog)\n",
        static_cast<unsigned long long>(beforeWindow));
    std::printf("measured window:                         %10.2f s\n", window);
    std::printf("level reports sent by arx-sim:           %10.0f datagrams/s\n", sent);
    std::printf("  all datagrams sent:                    %10.0f datagrams/s\n",
        perSecond(start.simSent, end.simSent));
    std::printf("  refused by the network stack:          %10llu\n",
        static_cast<unsigned long long>(end.simFailed - start.simFailed));
    std::printf("level reports delivered to the store:    %10.0f datagrams/s (%.1f %% of sent)\n",
        delivered, sent > 0 ? 100.0 * delivered / sent : 0.0);
    std::printf("application CPU in the window:           %10.2f s (%.2f cores)\n", processCpu,
        processCpu / window);
    std::printf("  receive thread:                        %10.2f s\n",
        end.receiveThreadCpu - start.receiveThreadCpu);
    std::printf("  user-interface thread (parser):        %10.2f s\n",
        end.userInterfaceThreadCpu - start.userInterfaceThreadCpu);
    const std::uint64_t after = levelReports - end.handledLevelReports;
    std::printf("level reports handled after the window:  %10llu (queued at its close, or sent "
                "before arx-sim stopped)\n",
        static_cast<unsigned long long>(after));
    std::printf("peak resident memory, by the window:     %10.1f MB\n",
        static_cast<double>(peakBeforeWindowKb) / 1024.0);
    std::printf("peak resident memory, at the end:        %10.1f MB\n",
        static_cast<double>(peakResidentKb()) / 1024.0);
    return 0;
}
