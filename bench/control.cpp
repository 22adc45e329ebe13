// The room-control port of `arx --headless`, measured from outside the program on
// 127.0.152.0/24:
// 1. a SET that comes in while ARX is idle: from the client's send to the unit's first frame
//    (goal: within 5 ms);
// 2. 16 clients at a meter rate of 100 ms while 64 arx-sim units report their levels: ARX's CPU
//    time, against the same room without clients (goal: below 5 % of one core);
// 3. what a REP costs: ARX's CPU time per SET whose REP goes to 1 and to 16 clients.
#include "BuildType.h"

#include "HeadlessArx.h"
#include "SimControl.h"
#include "SimProcess.h"
#include "SimUnit.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using arx::test::HeadlessArx;
using arx::test::RawControlClient;

const std::string Arx = "127.0.152.1";
const std::string BenchUnit = "127.0.152.9";
constexpr int LatencyRuns = 200;
constexpr auto MeterWindow = 10s;
constexpr int RepSets = 50000;

std::unique_ptr<HeadlessArx> startArx(bool search)
{
    std::vector<std::string> arguments { "--interface", Arx, "--control", Arx + ":0" };
    if (search)
        arguments.push_back("--search");
    auto arx = std::make_unique<HeadlessArx>(arguments, "bench-control-arx.log");
    if (arx->controlPort() == 0) {
        std::fprintf(stderr, "arx did not start:\n%s\n", arx->log().c_str());
        std::exit(1);
    }
    return arx;
}

// ARX's CPU seconds so far, every thread's, from the scheduler's nanosecond counts (the tick
// counts of /proc/PID/stat are too coarse for the REP's cost).
double cpuSeconds(pid_t pid)
{
    double nanoseconds = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            nanoseconds += onCpu;
    }
    return nanoseconds / 1e9;
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// A unit played by this program: it announces itself and times the frames it is sent.
class BenchUnitSocket {
public:
    BenchUnitSocket()
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const sockaddr_in local = address(BenchUnit, 39030);
        ::bind(fd_, reinterpret_cast<const sockaddr *>(&local), sizeof local);
    }
    ~BenchUnitSocket() { ::close(fd_); }
    void announce()
    {
        arxsim::SimUnit unit;
        unit.type = 1;
        unit.name = "Bench";
        unit.code = "12345678";
        const arxsim::Bytes bytes = arxsim::announcement(unit);
        const sockaddr_in to = address(Arx, 39030);
        ::sendto(
            fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    }
    // Waits for a datagram; when it came, or nothing after `timeout`.
    std::optional<Clock::time_point> receive(std::chrono::milliseconds timeout)
    {
        pollfd wait { fd_, POLLIN, 0 };
        if (::poll(&wait, 1, static_cast<int>(timeout.count())) <= 0)
            return std::nullopt;
        const Clock::time_point at = Clock::now();
        char buffer[256];
        ::recv(fd_, buffer, sizeof buffer, 0);
        return at;
    }
    void drain()
    {
        while (receive(0ms)) { }
    }

private:
    static sockaddr_in address(const std::string &text, std::uint16_t port)
    {
        sockaddr_in result {};
        result.sin_family = AF_INET;
        result.sin_port = htons(port);
        ::inet_pton(AF_INET, text.c_str(), &result.sin_addr);
        return result;
    }
    int fd_ = -1;
};

void waitAnswered(RawControlClient &client)
{
    client.sendLine("< GET ARX VERSION >");
    while (const auto line = client.line(10s)) {
        if (line->starts_with("< REP ARX VERSION"))
            return;
    }
    std::fprintf(stderr, "no answer from arx\n");
    std::exit(1);
}

void measureSetToWire()
{
    BenchUnitSocket unit;
    auto arx = startArx(true);
    std::this_thread::sleep_for(200ms); // the search is on
    unit.announce();
    if (!unit.receive(2s)) {
        std::fprintf(stderr, "the bench unit was never attached\n");
        std::exit(1);
    }
    RawControlClient client(Arx, arx->controlPort());
    waitAnswered(client);
    std::vector<double> latencies;
    for (int run = 0; run < LatencyRuns; ++run) {
        std::this_thread::sleep_for(60ms); // the repeat and its pauses are long gone: idle
        unit.drain();
        while (client.line(0ms)) { }
        const Clock::time_point sent = Clock::now();
        client.sendLine("< SET 1 MUTE TOGGLE >");
        const auto arrived = unit.receive(1s);
        if (!arrived)
            continue;
        latencies.push_back(std::chrono::duration<double, std::milli>(*arrived - sent).count());
    }
    std::printf("SET to the first frame on the wire, ARX idle (%zu runs): median %.2f ms, 99th "
                "percentile %.2f ms, worst %.2f ms (goal: within 5 ms)\n",
        latencies.size(), percentile(latencies, 0.5), percentile(latencies, 0.99),
        percentile(latencies, 1.0));
}

void measureMeters()
{
    arxsim::SimProcess sim(
        { "--subnet", "127.0.152.0", "--units", "64", "--no-processor" }, "bench-control-sim.log");
    arxsim::SimControl room(sim.control());
    auto arx = startArx(true);
    room.waitUntil([](arxsim::SimControl &r) { return r.unit(64).text("attached") == "1"; }, 10s);
    std::this_thread::sleep_for(1s);

    const auto cpuShare = [&](std::chrono::seconds window) {
        const double before = cpuSeconds(arx->pid());
        std::this_thread::sleep_for(window);
        return (cpuSeconds(arx->pid()) - before) / std::chrono::duration<double>(window).count();
    };
    const double alone = cpuShare(std::chrono::duration_cast<std::chrono::seconds>(MeterWindow));

    std::vector<std::unique_ptr<RawControlClient>> clients;
    std::atomic<std::size_t> samples { 0 };
    std::atomic<bool> reading { true };
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<RawControlClient>(Arx, arx->controlPort()));
        clients.back()->sendLine("< SET ARX METER_RATE 100 >");
    }
    std::vector<std::thread> readers;
    for (auto &client : clients) {
        readers.emplace_back([&, c = client.get()] {
            while (reading) {
                if (const auto line = c->line(100ms); line && line->starts_with("< SAMPLE"))
                    ++samples;
            }
        });
    }
    std::this_thread::sleep_for(1s);
    samples = 0;
    const double withClients
        = cpuShare(std::chrono::duration_cast<std::chrono::seconds>(MeterWindow));
    const std::size_t received = samples;
    reading = false;
    for (std::thread &reader : readers)
        reader.join();
    std::printf("64 units reporting levels, no client: %.2f %% of one core\n", 100 * alone);
    std::printf("the same with 16 clients at a meter rate of 100 ms: %.2f %% of one core, %.0f "
                "samples a second delivered (goal: below 5 %%)\n",
        100 * withClients,
        static_cast<double>(received) / std::chrono::duration<double>(MeterWindow).count());
}

void measureRepCost()
{
    auto arx = startArx(false);
    for (const int listeners : { 1, 16 }) {
        std::vector<std::unique_ptr<RawControlClient>> clients;
        for (int i = 0; i < listeners; ++i) {
            clients.push_back(std::make_unique<RawControlClient>(Arx, arx->controlPort()));
            waitAnswered(*clients.back());
        }
        std::atomic<bool> reading { true };
        std::vector<std::thread> readers;
        for (std::size_t i = 1; i < clients.size(); ++i)
            readers.emplace_back([&, c = clients[i].get()] {
                while (reading)
                    c->line(50ms);
            });
        // No processor is connected: each SET changes the store, sends nothing, and is pushed.
        std::string burst;
        for (int i = 0; i < 100; ++i)
            burst += i % 2 ? "< SET SPEAKER LEVEL_MAIN -6 >\r\n"
                           : "< SET SPEAKER LEVEL_MAIN -7 >\r\n";
        const double before = cpuSeconds(arx->pid());
        for (int sent = 0; sent < RepSets; sent += 100) {
            clients[0]->sendBytes(burst);
            for (int answers = 0; answers < 100 && clients[0]->line(5s); ++answers) { }
        }
        const double spent = cpuSeconds(arx->pid()) - before;
        reading = false;
        for (std::thread &reader : readers)
            reader.join();
        std::printf("a SET and its REP to %d client%s: %.1f us of ARX's CPU time\n", listeners,
            listeners == 1 ? "" : "s", 1e6 * spent / RepSets);
    }
}

} // namespace

int main()
{
    printBuildType();
    measureSetToWire();
    measureMeters();
    measureRepCost();
    return 0;
}
