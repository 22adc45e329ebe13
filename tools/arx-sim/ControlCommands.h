#pragma once

#include "Room.h"

#include <optional>
#include <string>

namespace arxsim {

// What control commands need beyond the room itself: the sockets and the loop.
class RoomActions {
public:
    virtual ~RoomActions() = default;
    virtual void send(const Outgoing &outgoing) = 0;
    // Moves a unit's socket to `address`; an error text when that address cannot be bound.
    virtual std::optional<std::string> rebindUnit(int unit, Ipv4 address) = 0;
    virtual void quit() = 0;
};

// Runs one line of the control channel and returns the one-line reply: "ok" followed by
// key=value words, or "error " followed by a message. The commands are listed in the README.
std::string executeControl(const std::string &line, Room &room, RoomActions &actions);

} // namespace arxsim
