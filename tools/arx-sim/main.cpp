// arx-sim: a room of simulated microphone units and a loudspeaker processor on loopback.
#include "FrameLog.h"
#include "Options.h"
#include "Room.h"
#include "SimServer.h"
#include "Wire.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void announceReady(int fd, const std::optional<arxsim::Endpoint> &control)
{
    const std::string line = "ready control="
        + (control ? arxsim::formatEndpoint(*control) : std::string("none")) + "\n";
    if (::write(fd, line.data(), line.size()) < 0)
        std::perror("arx-sim: --ready-fd");
    // The standard streams stay open even when asked to report on one of them.
    if (fd > STDERR_FILENO)
        ::close(fd);
}

std::string summary(const arxsim::Room &room, const std::optional<arxsim::Endpoint> &control)
{
    std::string text = "arx-sim: " + std::to_string(room.units().size()) + " units";
    if (!room.units().empty())
        text += " at " + arxsim::formatIpv4(room.units().front().address) + ".."
            + arxsim::formatIpv4(room.units().back().address);
    if (const arxsim::SimProcessor *processor = room.processor())
        text += ", processor at " + arxsim::formatIpv4(processor->address);
    if (control)
        text += ", control on " + arxsim::formatEndpoint(*control);
    return text + "\n";
}

} // namespace

int main(int argc, char *argv[])
{
    const auto parsed = arxsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto *error = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "arx-sim: %s\n", error->c_str());
        return 2;
    }
    const arxsim::Options &options = std::get<arxsim::Options>(parsed);
    if (options.help) {
        std::fputs(arxsim::usageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("arx-sim " ARX_VERSION);
        return 0;
    }

    arxsim::Room room(options.room);
    arxsim::FrameLog log(options.quiet ? nullptr : stdout);
    arxsim::SimServer server(room, log);
    if (const auto error = server.open(options.control)) {
        std::fprintf(stderr, "arx-sim: %s\n", error->c_str());
        return 1;
    }
    if (!options.quiet)
        std::fputs(summary(room, server.controlEndpoint()).c_str(), stderr);
    if (options.readyFd >= 0)
        announceReady(options.readyFd, server.controlEndpoint());
    server.run();
    return 0;
}
