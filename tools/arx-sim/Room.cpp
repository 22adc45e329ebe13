#include "Room.h"

#include "Wire.h"

namespace arxsim {

namespace {

constexpr std::size_t SearchLength = 9;
// At most this many rounds of level reports make up for a stalled loop; the rest are dropped.
constexpr int MaxLevelCatchUp = 100;

} // namespace

std::string Device::label() const
{
    switch (kind) {
    case Search:
        return "search";
    case Unit:
        return "unit " + std::to_string(unit + 1);
    case Processor:
        return "processor";
    }
    return {};
}

Room::Room(const RoomConfig &config)
    : subnet_(subnetOf(config.subnet))
{
    int number = 1;
    for (int type : config.unitTypes) {
        const Ipv4 address = subnet_ + static_cast<Ipv4>(FirstUnitHost + number - 1);
        units_.push_back(makeUnit(number, type, address));
        ++number;
    }
    if (config.processor) {
        processor_.emplace();
        processor_->address = subnet_ + ProcessorHost;
    }
    if (config.levelRate > 0) {
        levelPeriod_ = 1.0 / config.levelRate;
        nextLevelTime_ = levelPeriod_;
    }
}

Reaction Room::onSearch(const Bytes &datagram, const Endpoint &)
{
    if (datagram.size() != SearchLength || datagram[0] != '%' || datagram[1] != 'C'
        || datagram.back() != '#')
        return { "ignored: not a search request ('%C', 9 bytes)", {} };
    const Endpoint carried { static_cast<Ipv4>(datagram[4]) << 24 | datagram[5] << 16
            | datagram[6] << 8 | datagram[7],
        static_cast<std::uint16_t>(datagram[2] << 8 | datagram[3]) };
    if (subnetOf(carried.address) != subnet_)
        return { "search request carrying " + formatEndpoint(carried)
                + ": not this room's subnet, not answered",
            {} };
    lastSearch_ = carried;
    Reaction reaction { "search request carrying " + formatEndpoint(carried), {} };
    for (std::size_t i = 0; i < units_.size(); ++i) {
        if (auto send = announce(static_cast<int>(i)))
            reaction.sends.push_back(std::move(*send));
    }
    if (processor_ && !processor_->silent)
        reaction.sends.push_back(
            { { Device::Processor }, carried, processorAnnouncement(*processor_),
                "announcement \"" + readableText(processor_->name) + "\"" });
    return reaction;
}

Reaction Room::onUnitFrame(int unit, const Bytes &datagram, const Endpoint &from)
{
    SimUnit &target = units_.at(static_cast<std::size_t>(unit));
    UnitHandling handling = applyUnitFrame(target, datagram, from);
    Reaction reaction { handling.meaning, {} };
    if (handling.reply && !target.silent)
        reaction.sends.push_back({ { Device::Unit, unit }, from, *handling.reply,
            describeOutgoing(target, *handling.reply) });
    return reaction;
}

Reaction Room::onProcessorFrame(const Bytes &datagram, const Endpoint &from)
{
    if (!processor_)
        return { "ignored: no processor", {} };
    ProcessorHandling handling = applyProcessorFrame(*processor_, datagram, from);
    Reaction reaction { handling.meaning, {} };
    if (handling.reply && !processor_->silent)
        reaction.sends.push_back({ { Device::Processor }, from, *handling.reply,
            "connection acknowledged, name \"" + readableText(processor_->name) + "\"" });
    return reaction;
}

std::optional<Outgoing> Room::announce(int unit) const
{
    const SimUnit &source = units_.at(static_cast<std::size_t>(unit));
    if (!lastSearch_ || source.silent)
        return std::nullopt;
    Bytes frame = announcement(source);
    std::string meaning = describeOutgoing(source, frame);
    return Outgoing { { Device::Unit, unit }, *lastSearch_, std::move(frame), std::move(meaning) };
}

std::optional<Outgoing> Room::reportSettings(int unit) const
{
    const SimUnit &source = units_.at(static_cast<std::size_t>(unit));
    if (!source.controller || source.silent)
        return std::nullopt;
    Bytes frame = settingsReport(source);
    std::string meaning = describeOutgoing(source, frame);
    return Outgoing { { Device::Unit, unit }, *source.controller, std::move(frame),
        std::move(meaning) };
}

std::vector<Outgoing> Room::levelReportsDue(double seconds)
{
    std::vector<Outgoing> sends;
    if (levelPeriod_ <= 0)
        return sends;
    for (int round = 0; round < MaxLevelCatchUp && nextLevelTime_ <= seconds; ++round) {
        for (std::size_t i = 0; i < units_.size(); ++i) {
            SimUnit &unit = units_[i];
            if (!unit.attached || !unit.controller || unit.silent)
                continue;
            Bytes frame = nextLevelReport(unit, nextLevelTime_);
            std::string meaning = describeOutgoing(unit, frame);
            sends.push_back({ { Device::Unit, static_cast<int>(i) }, *unit.controller,
                std::move(frame), std::move(meaning) });
        }
        nextLevelTime_ += levelPeriod_;
    }
    if (nextLevelTime_ <= seconds)
        nextLevelTime_ = seconds + levelPeriod_;
    return sends;
}

std::optional<double> Room::nextLevelTime() const
{
    if (levelPeriod_ <= 0)
        return std::nullopt;
    return nextLevelTime_;
}

bool Room::addressInUse(Ipv4 address) const
{
    for (const SimUnit &unit : units_) {
        if (unit.address == address)
            return true;
    }
    return processor_ && processor_->address == address;
}

} // namespace arxsim
