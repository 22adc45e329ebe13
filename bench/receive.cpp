// Throughput of the receive path (socket -> receive thread -> UI thread -> reply parser)
// against a bare recvfrom loop on the same kind of socket, and the receive thread's idle
// wake-ups. The two take turns for a few rounds, so that both see the same load; the ratio is
// that of their medians.
#include "BuildType.h"
#include "app/DatagramPump.h"
#include "model/Store.h"
#include "protocol/ReplyParser.h"
#include "protocol/UdpTransport.h"
#include "seams/Clock.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char *ReceiverAddress = "127.0.3.1";
constexpr const char *SenderAddress = "127.0.3.10";
constexpr std::uint16_t Port = 39030;
constexpr int Datagrams = 200000;
constexpr int Rounds = 5;
constexpr double GoalRatio = 0.9;

int boundSocket(const char *address, std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    inet_pton(AF_INET, address, &local.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        std::perror("bind");
        std::exit(1);
    }
    return fd;
}

double cpuSeconds(clockid_t clock)
{
    timespec used {};
    clock_gettime(clock, &used);
    return used.tv_sec + used.tv_nsec / 1e9;
}

// Sends `count` level reports, pacing itself by the receiver's progress so that the socket
// buffer never overflows and both paths see the same datagrams. `cpu` gets the CPU time the
// sending took, which the receiving side's figure leaves out.
void sendLevelReports(int count, const std::atomic<int> &received, double &cpu)
{
    const int fd = boundSocket(SenderAddress, 0);
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(Port);
    inet_pton(AF_INET, ReceiverAddress, &destination.sin_addr);
    const std::uint8_t frame[] = {0x25, 0x47, 0x30, 0x23};
    for (int i = 0; i < count; ++i) {
        while (i - received.load(std::memory_order_relaxed) > 64)
            std::this_thread::yield();
        ::sendto(fd, frame, sizeof frame, 0, reinterpret_cast<sockaddr *>(&destination),
                 sizeof destination);
    }
    ::close(fd);
    cpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

// One run of a receiving path: datagrams per second, and the CPU time of the receiving side
// (every thread of the process but the sender) per datagram.
struct Rate {
    double perSecond = 0;
    double cpuMicroseconds = 0;
};

// Runs `receive` (which returns once every datagram was taken) against the sender.
template <class Receive> Rate measure(Receive receive)
{
    std::atomic<int> received { 0 };
    double senderCpu = 0;
    const double cpuBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer timer;
    timer.start();
    std::thread sender(sendLevelReports, Datagrams, std::cref(received), std::ref(senderCpu));
    receive(received);
    const double seconds = timer.nsecsElapsed() / 1e9;
    sender.join();
    const double cpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore - senderCpu;
    return { Datagrams / seconds, cpu / Datagrams * 1e6 };
}

void openOrExit(arx::UdpTransport &transport)
{
    if (!transport.open(ReceiverAddress, Port)) {
        std::fprintf(stderr, "bench_receive: %s:%d is taken\n", ReceiverAddress, Port);
        std::exit(1);
    }
}

Rate bareRecvfromRate()
{
    const int fd = boundSocket(ReceiverAddress, Port);
    const Rate rate = measure([fd](std::atomic<int> &received) {
        std::uint8_t buffer[128];
        while (received.load() < Datagrams) {
            if (::recvfrom(fd, buffer, sizeof buffer, 0, nullptr, nullptr) > 0)
                received.fetch_add(1, std::memory_order_relaxed);
        }
    });
    ::close(fd);
    return rate;
}

// The program's path: the receive thread reads, the pump hands the datagrams to this (the
// UI) thread, and the reply parser stores each level report in the record of the unit that
// sent it, as it does while the search is on.
Rate pumpRate(QCoreApplication &application)
{
    arx::UdpTransport transport;
    openOrExit(transport);
    auto store = std::make_unique<arx::Store>();
    store->scanActive = true;
    arx::DeviceRecord &unit = store->unitTable[0];
    unit.inUse = 1;
    arx::setText(unit.ip, SenderAddress);
    arx::ProcessorListModel processors;
    arx::SystemClock clock;

    arx::DatagramPump pump(transport);
    const Rate rate = measure([&](std::atomic<int> &received) {
        QObject::connect(
            &pump, &arx::DatagramPump::received, &pump, [&](const arx::Datagram &datagram) {
                arx::HandleReply(*store, processors, transport, clock, datagram);
                if (received.fetch_add(1, std::memory_order_relaxed) + 1 == Datagrams)
                    application.quit();
            });
        pump.start();
        application.exec();
    });
    transport.stop();
    if (unit.level != 0x30)
        std::fprintf(stderr, "bench_receive: the parser did not store the level\n");
    return rate;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long voluntarySwitches(int threadId)
{
    std::ifstream status("/proc/self/task/" + std::to_string(threadId) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    }
    return -1;
}

long idleWakeUps(int seconds)
{
    arx::UdpTransport transport;
    openOrExit(transport);
    transport.start([](const arx::Datagram &) {});
    const long before = voluntarySwitches(transport.receiveThreadId());
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const long after = voluntarySwitches(transport.receiveThreadId());
    transport.stop();
    return after - before;
}

} // namespace

int main(int argc, char *argv[])
{
    printBuildType();
    QCoreApplication application(argc, argv);
    std::vector<double> bare, pumped, bareCpu, pumpedCpu;
    for (int round = 0; round < Rounds; ++round) {
        const Rate plain = bareRecvfromRate();
        const Rate program = pumpRate(application);
        bare.push_back(plain.perSecond);
        bareCpu.push_back(plain.cpuMicroseconds);
        pumped.push_back(program.perSecond);
        pumpedCpu.push_back(program.cpuMicroseconds);
    }
    const double ratio = median(pumped) / median(bare);
    std::printf("medians of %d rounds, %d level reports each (CPU: the receiving side's):\n",
        Rounds, Datagrams);
    std::printf("bare recvfrom loop:                     %10.0f datagrams/s, CPU %5.2f us each\n",
        median(bare), median(bareCpu));
    std::printf("receive thread -> UI thread -> parser:  %10.0f datagrams/s, CPU %5.2f us each\n",
        median(pumped), median(pumpedCpu));
    std::printf("ratio (program's path / bare):          %10.2f (goal >= %.1f): %s\n", ratio,
        GoalRatio, ratio >= GoalRatio ? "within" : "UNDER");
    std::printf("receive thread idle wake-ups:           %10ld in 5 s\n", idleWakeUps(5));
    return 0;
}
