#pragma once

#include "Room.h"

#include <cstdint>
#include <optional>
#include <string>

namespace arxsim {

// Datagrams the room's sockets have moved since the start, so that a load test can tell
// what was offered from what arrived.
struct Traffic {
    // At the search group, whichever room they were for: rooms side by side all hear them.
    std::uint64_t searches = 0;
    std::uint64_t received = 0; // by the units and the processor
    std::uint64_t sent = 0; // accepted by the network stack, level reports included
    std::uint64_t levelReports = 0; // of `sent`
    std::uint64_t failed = 0; // refused by the network stack
};

// What control commands need beyond the room itself: the sockets and the loop.
class RoomActions {
public:
    virtual ~RoomActions() = default;
    virtual void send(const Outgoing &outgoing) = 0;
    virtual Traffic traffic() const = 0;
    // Moves a unit's socket to `address`; an error text when that address cannot be bound.
    virtual std::optional<std::string> rebindUnit(int unit, Ipv4 address) = 0;
    virtual void quit() = 0;
};

// Runs one line of the control channel and returns the one-line reply: "ok" followed by
// key=value words, or "error " followed by a message. The commands are listed in the README.
std::string executeControl(const std::string &line, Room &room, RoomActions &actions);

} // namespace arxsim
