#pragma once

#include "SimProcessor.h"
#include "SimUnit.h"

#include <optional>
#include <string>
#include <vector>

namespace arxsim {

struct RoomConfig {
    Ipv4 subnet = 127u << 24; // the /24 the room lives on
    std::vector<int> unitTypes;
    bool processor = true;
    double levelRate = 10; // level reports per second per attached unit; 0 for none
};

// Which device of the room sends or receives a datagram.
struct Device {
    enum Kind { Search, Unit, Processor } kind;
    int unit = -1; // index into the room's units for Unit

    std::string label() const;
};

struct Outgoing {
    Device from;
    Endpoint to;
    Bytes bytes;
    std::string meaning;
};

// What the room made of one received datagram.
struct Reaction {
    std::string meaning;
    std::vector<Outgoing> sends;
};

// The simulated room: every unit, the processor, and the last search that reached them. Pure
// logic; the server moves the datagrams.
class Room {
public:
    explicit Room(const RoomConfig &config);

    Ipv4 subnet() const { return subnet_; }
    std::vector<SimUnit> &units() { return units_; }
    const std::vector<SimUnit> &units() const { return units_; }
    SimProcessor *processor() { return processor_ ? &*processor_ : nullptr; }
    const SimProcessor *processor() const { return processor_ ? &*processor_ : nullptr; }
    const std::optional<Endpoint> &lastSearch() const { return lastSearch_; }

    Reaction onSearch(const Bytes &datagram, const Endpoint &from);
    Reaction onUnitFrame(int unit, const Bytes &datagram, const Endpoint &from);
    Reaction onProcessorFrame(const Bytes &datagram, const Endpoint &from);

    // The unit's announcement to the last search's address; empty when no search came yet or
    // the unit is silent.
    std::optional<Outgoing> announce(int unit) const;
    // The unit's settings report to whoever attached it, if anyone did and it is not silent.
    std::optional<Outgoing> reportSettings(int unit) const;

    // Level reports due by `seconds` since the start; a late caller gets a bounded catch-up.
    std::vector<Outgoing> levelReportsDue(double seconds);
    // When the next level reports fall due, if ever.
    std::optional<double> nextLevelTime() const;

    bool addressInUse(Ipv4 address) const;

private:
    Ipv4 subnet_;
    std::vector<SimUnit> units_;
    std::optional<SimProcessor> processor_;
    std::optional<Endpoint> lastSearch_;
    double levelPeriod_ = 0; // seconds, 0 for none
    double nextLevelTime_ = 0;
};

} // namespace arxsim
