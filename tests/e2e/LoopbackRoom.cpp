#include "LoopbackRoom.h"

#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"

#include <stdexcept>

namespace arx::e2e {

namespace {

std::vector<std::string> roomArguments(
    const std::string &subnet, const std::vector<std::string> &simArguments)
{
    std::vector<std::string> arguments { "--subnet", subnet + ".0" };
    arguments.insert(arguments.end(), simArguments.begin(), simArguments.end());
    return arguments;
}

constexpr std::chrono::milliseconds PollStep { 10 };

} // namespace

LoopbackRoom::LoopbackRoom(const std::string &subnet, const std::vector<std::string> &simArguments,
    const std::string &logPath)
    : subnet_(subnet)
    , sim(roomArguments(subnet, simArguments), logPath)
    , control(sim.control())
    , room({ .store = store,
          .link = transport,
          .clock = clock,
          .prompts = prompts,
          .files = files,
          .ownAddress = [own = appAddress()] { return findLocalAddress(own); },
          .presetFolder = "/nonexistent" })
    , discovery(room.discovery())
{
    room.observers().add(view);
    if (!openCommandSocket(transport, appAddress(), prompts))
        throw std::runtime_error("cannot open the command socket on " + appAddress());
    transport.start([this](const Datagram &datagram) { queue_.push(datagram); });
}

LoopbackRoom::~LoopbackRoom()
{
    transport.stop();
}

bool LoopbackRoom::pumpUntil(const std::function<bool()> &done, std::chrono::milliseconds guard)
{
    const auto deadline = std::chrono::steady_clock::now() + guard;
    while (true) {
        while (const auto datagram = queue_.pop(std::chrono::milliseconds(0)))
            deliver(*datagram);
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (const auto datagram = queue_.pop(PollStep))
            deliver(*datagram);
    }
}

void LoopbackRoom::deliver(const Datagram &datagram)
{
    ++delivered_[datagram.sender];
    discovery.received(datagram);
}

int LoopbackRoom::deliveredFrom(const std::string &address) const
{
    const auto found = delivered_.find(address);
    return found == delivered_.end() ? 0 : found->second;
}

int LoopbackRoom::registeredUnits() const
{
    int count = 0;
    for (const DeviceRecord &record : store.unitTable)
        count += record.inUse ? 1 : 0;
    return count;
}

bool LoopbackRoom::searchAndSettle(int units, int attachFrames)
{
    discovery.startSearch();
    return pumpUntil([&] {
        for (int unit = 1; unit <= units; ++unit) {
            if (control.unit(unit).number("frames") < attachFrames)
                return false;
        }
        return true;
    });
}

} // namespace arx::e2e
