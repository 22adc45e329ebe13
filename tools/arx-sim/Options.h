#pragma once

#include "Room.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace arxsim {

struct Options {
    RoomConfig room;
    std::optional<Endpoint> control; // port 0: any free port
    int readyFd = -1;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// The options, or a message that says what is wrong with the command line.
std::variant<Options, std::string> parseOptions(const std::vector<std::string> &arguments);

std::string usageText();

} // namespace arxsim
