#include "ControlCommands.h"

#include "Wire.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace arxsim {

namespace {

using Words = std::vector<std::string>;

// A command's failure; its text becomes the "error" reply.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Words split(const std::string &line)
{
    Words words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

int number(const std::string &word, int low, int high, const char *what)
{
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < low || value > high)
        throw CommandError(std::string(what) + " must be a number from " + std::to_string(low)
            + " to " + std::to_string(high) + ", not \"" + word + "\"");
    return value;
}

bool onOff(const std::string &word)
{
    if (word == "on")
        return true;
    if (word == "off")
        return false;
    throw CommandError("expected on or off, not \"" + word + "\"");
}

const std::string &wordAt(const Words &words, std::size_t index, const char *usage)
{
    if (index >= words.size())
        throw CommandError(std::string("usage: ") + usage);
    return words[index];
}

void expectCount(const Words &words, std::size_t count, const char *usage)
{
    if (words.size() != count)
        throw CommandError(std::string("usage: ") + usage);
}

int unitIndex(const Room &room, const std::string &word)
{
    if (room.units().empty())
        throw CommandError("this room has no units");
    return number(word, 1, static_cast<int>(room.units().size()), "the unit number") - 1;
}

SimProcessor &processorOf(Room &room)
{
    if (!room.processor())
        throw CommandError("this room has no processor (--no-processor)");
    return *room.processor();
}

std::string field(const std::string &key, const std::string &value)
{
    return " " + key + "=" + value;
}

std::string field(const std::string &key, int value)
{
    return field(key, std::to_string(value));
}

std::string endpointOrNone(const std::optional<Endpoint> &endpoint)
{
    return endpoint ? formatEndpoint(*endpoint) : "none";
}

std::string frameList(const std::vector<Bytes> &frames)
{
    std::string list;
    for (const Bytes &frame : frames) {
        if (!list.empty())
            list += ',';
        list += toHex(frame);
    }
    return "ok" + field("count", static_cast<int>(frames.size())) + field("frames", list);
}

std::string unitState(const SimUnit &unit)
{
    const UnitSettings &s = unit.settings;
    std::string reply = "ok" + field("unit", unit.number) + field("type", unit.type)
        + field("family", unit.family().name) + field("address", formatIpv4(unit.address))
        + field("name", percentEscape(unit.name)) + field("attached", unit.attached)
        + field("controller", endpointOrNone(unit.controller)) + field("silent", unit.silent)
        + field("gain", s.gain) + field("lowCut", s.lowCut) + field("phantom", s.phantom)
        + field("micMute", s.micMute) + field("locate", s.locate) + field("mode", s.mode)
        + field("code", percentEscape(unit.code)) + field("colourOpen", unit.colourOpen)
        + field("colourMute", unit.colourMute) + field("colourCall", unit.colourCall)
        + field("level", unit.level) + field("frames", static_cast<int>(unit.received.size()))
        + field("ignored", unit.ignoredFrames);
    if (!unit.family().hasEqualiser)
        return reply;
    for (int band = 0; band < EqBandCount; ++band) {
        const UnitEqBand &b = unit.eqBands[band];
        reply += field("eq" + std::to_string(band + 1),
            std::to_string(b.enabled) + "," + std::to_string(b.shape) + ","
                + std::to_string(b.frequency) + "," + std::to_string(b.q) + ","
                + std::to_string(b.gain));
    }
    const UnitEqLowCut &lowCut = unit.eqLowCut;
    reply += field("lowcut",
        std::to_string(lowCut.on) + "," + std::to_string(lowCut.frequency) + ","
            + std::to_string(lowCut.shape));
    for (int slot = 0; slot < EqFrameSlots; ++slot) {
        const auto &frame = unit.eqFrames[slot];
        reply += field("eqframe" + std::to_string(slot + 1), frame ? toHex(*frame) : "none");
    }
    return reply;
}

std::string processorState(const SimProcessor &p)
{
    return "ok" + field("address", formatIpv4(p.address)) + field("name", percentEscape(p.name))
        + field("connected", p.connected) + field("controller", endpointOrNone(p.controller))
        + field("ignore", p.ignoreRequests) + field("silent", p.silent)
        + field("mainLevel", p.mainLevel) + field("levelA", p.levelA) + field("levelB", p.levelB)
        + field("phaseA", p.phaseA) + field("phaseB", p.phaseB) + field("resets", p.resets)
        + field("frames", static_cast<int>(p.received.size())) + field("ignored", p.ignoredFrames);
}

std::string listCommand(const Words &words, Room &room, RoomActions &)
{
    expectCount(words, 1, "list");
    const SimProcessor *processor = room.processor();
    return "ok" + field("subnet", formatIpv4(room.subnet()))
        + field("units", static_cast<int>(room.units().size()))
        + field("processor", processor ? formatIpv4(processor->address) : "none")
        + field("search", endpointOrNone(room.lastSearch()));
}

std::string statsCommand(const Words &words, Room &, RoomActions &actions)
{
    expectCount(words, 1, "stats");
    const Traffic traffic = actions.traffic();
    return "ok" + field("searches", std::to_string(traffic.searches))
        + field("received", std::to_string(traffic.received))
        + field("sent", std::to_string(traffic.sent))
        + field("levelReports", std::to_string(traffic.levelReports))
        + field("failed", std::to_string(traffic.failed));
}

std::string unitCommand(const Words &words, Room &room, RoomActions &)
{
    const char *usage = "unit N [frames]";
    const SimUnit &unit = room.units()[unitIndex(room, wordAt(words, 1, usage))];
    if (words.size() == 2)
        return unitState(unit);
    expectCount(words, 3, usage);
    if (words[2] != "frames")
        throw CommandError(std::string("usage: ") + usage);
    return frameList(unit.received);
}

std::string announceCommand(const Words &words, Room &room, RoomActions &actions)
{
    const char *usage = "announce N|all";
    expectCount(words, 2, usage);
    if (!room.lastSearch())
        throw CommandError("no search request has reached this room yet");
    std::vector<int> which;
    if (words[1] == "all") {
        for (std::size_t i = 0; i < room.units().size(); ++i)
            which.push_back(static_cast<int>(i));
    } else {
        const int index = unitIndex(room, words[1]);
        if (room.units()[index].silent)
            throw CommandError("unit " + words[1] + " is silent");
        which.push_back(index);
    }
    int sent = 0;
    for (int index : which) {
        if (auto outgoing = room.announce(index)) {
            actions.send(*outgoing);
            ++sent;
        }
    }
    return "ok" + field("sent", sent);
}

std::string renameCommand(const Words &words, Room &room, RoomActions &)
{
    const char *usage = "rename N [NAME]  (NAME percent-escaped; none for an empty name)";
    if (words.size() < 2 || words.size() > 3)
        throw CommandError(std::string("usage: ") + usage);
    SimUnit &unit = room.units()[unitIndex(room, words[1])];
    std::string name;
    if (words.size() == 3) {
        const auto unescaped = percentUnescape(words[2]);
        if (!unescaped)
            throw CommandError("the name has a broken %XX escape");
        name = *unescaped;
    }
    if (name.size() > 255)
        throw CommandError("a name has at most 255 bytes, its length travels in one byte");
    unit.name = name;
    return "ok" + field("name", percentEscape(unit.name));
}

std::string moveCommand(const Words &words, Room &room, RoomActions &actions)
{
    const char *usage = "move N ADDRESS";
    expectCount(words, 3, usage);
    const int index = unitIndex(room, words[1]);
    const auto address = parseIpv4(words[2]);
    if (!address)
        throw CommandError("\"" + words[2] + "\" is not a dotted IPv4 address");
    if (!isLoopback(*address))
        throw CommandError("refusing " + words[2] + ": only loopback addresses are allowed");
    if (subnetOf(*address) != room.subnet())
        throw CommandError(
            words[2] + " lies outside this room's subnet " + formatIpv4(room.subnet()) + "/24");
    SimUnit &unit = room.units()[index];
    if (*address == unit.address)
        return "ok" + field("address", formatIpv4(unit.address));
    if (room.addressInUse(*address))
        throw CommandError(words[2] + " is taken by another device of this room");
    if (auto error = actions.rebindUnit(index, *address))
        throw CommandError(*error);
    unit.address = *address;
    return "ok" + field("address", formatIpv4(unit.address));
}

std::string typeCommand(const Words &words, Room &room, RoomActions &)
{
    expectCount(words, 3, "type N TYPE");
    SimUnit &unit = room.units()[unitIndex(room, words[1])];
    unit.type = number(words[2], FirstUnitType, LastUnitType, "the type");
    return "ok" + field("type", unit.type) + field("family", unit.family().name);
}

std::string silentCommand(const Words &words, Room &room, RoomActions &)
{
    expectCount(words, 3, "silent N on|off");
    SimUnit &unit = room.units()[unitIndex(room, words[1])];
    unit.silent = onOff(words[2]);
    return "ok" + field("silent", unit.silent);
}

std::string setCommand(const Words &words, Room &room, RoomActions &actions)
{
    const char *usage = "set N gain|lowCut|phantom|micMute|locate|mode VALUE [quiet]";
    const bool quiet = words.size() == 5 && words[4] == "quiet";
    if (words.size() != 4 && !quiet)
        throw CommandError(std::string("usage: ") + usage);
    const int index = unitIndex(room, words[1]);
    UnitSettings &s = room.units()[index].settings;
    const std::pair<const char *, int *> fields[]
        = { { "gain", &s.gain }, { "lowCut", &s.lowCut }, { "phantom", &s.phantom },
              { "micMute", &s.micMute }, { "locate", &s.locate }, { "mode", &s.mode } };
    const auto target = std::find_if(
        std::begin(fields), std::end(fields), [&](const auto &f) { return words[2] == f.first; });
    if (target == std::end(fields))
        throw CommandError(std::string("usage: ") + usage);
    *target->second = number(words[3], 0, 255, "the value");
    // As if changed on the unit itself: it reports to whoever attached it, unless quiet (a
    // report lost on the way, or a change made while nobody listened).
    const auto report = quiet ? std::nullopt : room.reportSettings(index);
    if (report)
        actions.send(*report);
    return "ok" + field("reported", report.has_value());
}

std::string processorCommand(const Words &words, Room &room, RoomActions &)
{
    const char *usage = "processor [frames | ignore on|off | silent on|off]";
    SimProcessor &processor = processorOf(room);
    if (words.size() == 1)
        return processorState(processor);
    if (words.size() == 2 && words[1] == "frames")
        return frameList(processor.received);
    expectCount(words, 3, usage);
    if (words[1] == "ignore")
        processor.ignoreRequests = onOff(words[2]);
    else if (words[1] == "silent")
        processor.silent = onOff(words[2]);
    else
        throw CommandError(std::string("usage: ") + usage);
    return "ok" + field("ignore", processor.ignoreRequests) + field("silent", processor.silent);
}

std::string clearCommand(const Words &words, Room &room, RoomActions &)
{
    expectCount(words, 1, "clear");
    for (SimUnit &unit : room.units()) {
        unit.received.clear();
        unit.ignoredFrames = 0;
    }
    if (SimProcessor *processor = room.processor()) {
        processor->received.clear();
        processor->ignoredFrames = 0;
    }
    return "ok";
}

std::string quitCommand(const Words &words, Room &, RoomActions &actions)
{
    expectCount(words, 1, "quit");
    actions.quit();
    return "ok";
}

std::string helpCommand(const Words &, Room &, RoomActions &);

struct Command {
    const char *name;
    std::string (*run)(const Words &, Room &, RoomActions &);
};

constexpr Command Commands[] = {
    { "help", helpCommand },
    { "list", listCommand },
    { "stats", statsCommand },
    { "unit", unitCommand },
    { "announce", announceCommand },
    { "rename", renameCommand },
    { "move", moveCommand },
    { "type", typeCommand },
    { "silent", silentCommand },
    { "set", setCommand },
    { "processor", processorCommand },
    { "clear", clearCommand },
    { "quit", quitCommand },
};

std::string helpCommand(const Words &, Room &, RoomActions &)
{
    std::string names;
    for (const Command &command : Commands)
        names += names.empty() ? command.name : std::string(",") + command.name;
    return "ok" + field("commands", names);
}

} // namespace

std::string executeControl(const std::string &line, Room &room, RoomActions &actions)
{
    const Words words = split(line);
    if (words.empty())
        return "error empty command; try help";
    const auto command = std::find_if(std::begin(Commands), std::end(Commands),
        [&](const Command &c) { return words[0] == c.name; });
    if (command == std::end(Commands))
        return "error unknown command \"" + words[0] + "\"; try help";
    try {
        return command->run(words, room, actions);
    } catch (const CommandError &error) {
        return std::string("error ") + error.what();
    }
}

} // namespace arxsim
