// Throughput of the receive path (socket -> receive thread -> UI thread) against a bare
// recvfrom loop on the same kind of socket, and the receive thread's idle wake-ups.
#include "BuildType.h"
#include "app/DatagramPump.h"
#include "protocol/UdpTransport.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr const char *ReceiverAddress = "127.0.3.1";
constexpr const char *SenderAddress = "127.0.3.10";
constexpr std::uint16_t Port = 39030;
constexpr int Datagrams = 200000;

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

// Sends `count` level reports, pacing itself by the receiver's progress so that the socket
// buffer never overflows and both paths see the same datagrams.
void sendLevelReports(int count, const std::atomic<int> &received)
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
}

void openOrExit(arx::UdpTransport &transport)
{
    if (!transport.open(ReceiverAddress, Port)) {
        std::fprintf(stderr, "bench_receive: %s:%d is taken\n", ReceiverAddress, Port);
        std::exit(1);
    }
}

double bareRecvfromRate()
{
    const int fd = boundSocket(ReceiverAddress, Port);
    std::atomic<int> received{0};
    QElapsedTimer timer;
    timer.start();
    std::thread sender(sendLevelReports, Datagrams, std::cref(received));
    std::uint8_t buffer[128];
    while (received.load() < Datagrams) {
        if (::recvfrom(fd, buffer, sizeof buffer, 0, nullptr, nullptr) > 0)
            received.fetch_add(1, std::memory_order_relaxed);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    sender.join();
    ::close(fd);
    return Datagrams / seconds;
}

double pumpRate(QCoreApplication &application)
{
    arx::UdpTransport transport;
    openOrExit(transport);
    arx::DatagramPump pump(transport);
    std::atomic<int> received{0};
    QObject::connect(&pump, &arx::DatagramPump::received, &pump, [&](const arx::Datagram &) {
        if (received.fetch_add(1, std::memory_order_relaxed) + 1 == Datagrams)
            application.quit();
    });
    pump.start();
    QElapsedTimer timer;
    timer.start();
    std::thread sender(sendLevelReports, Datagrams, std::cref(received));
    application.exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    sender.join();
    transport.stop();
    return Datagrams / seconds;
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
    const double bare = bareRecvfromRate();
    const double pumped = pumpRate(application);
    std::printf("bare recvfrom loop:            %10.0f datagrams/s\n", bare);
    std::printf("receive thread -> UI thread:   %10.0f datagrams/s\n", pumped);
    std::printf("ratio (pumped / bare):         %10.2f\n", pumped / bare);
    std::printf("receive thread idle wake-ups:  %10ld in 5 s\n", idleWakeUps(5));
    return 0;
}
