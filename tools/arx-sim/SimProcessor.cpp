#include "SimProcessor.h"

#include <algorithm>
#include <cstdio>

namespace arxsim {

namespace {

constexpr std::uint8_t Sync1 = 0xAA;
constexpr std::uint8_t Sync2 = 0x55;
constexpr std::uint8_t End = 0xA5;
constexpr std::size_t DataStart = 4;

int be16(const Bytes &frame, std::size_t at)
{
    return frame[at] << 8 | frame[at + 1];
}

std::string channelName(int channel)
{
    return channel == 0 ? "A" : channel == 1 ? "B" : "?";
}

ProcessorHandling ignored(std::string why)
{
    return { "ignored: " + std::move(why), false, {} };
}

std::string nameText(const Bytes &frame)
{
    std::string name(frame.begin() + DataStart, frame.end() - 1);
    return name.substr(0, name.find('\0'));
}

ProcessorHandling applyEqualiser(SimProcessor &, const Bytes &f, const Endpoint &)
{
    return { "equaliser channel " + channelName(f[4]) + " band " + std::to_string(f[5])
            + " frequency=" + std::to_string(be16(f, 6)) + " q=" + std::to_string(be16(f, 8))
            + " gain=" + std::to_string(be16(f, 10)),
        true, {} };
}

ProcessorHandling applyCrossover(SimProcessor &, const Bytes &f, const Endpoint &)
{
    return { std::string(f[3] == 2 ? "high-pass" : "low-pass") + " channel " + channelName(f[4])
            + " frequency=" + std::to_string(be16(f, 5)) + " type=" + std::to_string(f[27])
            + " q=" + std::to_string(be16(f, 28)),
        true, {} };
}

ProcessorHandling applyLevel(SimProcessor &p, const Bytes &f, const Endpoint &)
{
    int *levels[] = { &p.mainLevel, &p.levelA, &p.levelB };
    static const char *const names[] = { "main", "A", "B" };
    const int selector = f[4];
    if (selector > 2)
        return ignored("level selector " + std::to_string(selector) + " is not 0, 1 or 2");
    *levels[selector] = f[5];
    return { std::string("level ") + names[selector] + "=" + std::to_string(f[5]), true, {} };
}

ProcessorHandling applyDynamics(SimProcessor &, const Bytes &f, const Endpoint &)
{
    return { "dynamics channel " + channelName(f[4]) + " ratio=" + std::to_string(be16(f, 5))
            + " threshold=" + std::to_string(f[7]) + " attack=" + std::to_string(f[8])
            + " release=" + std::to_string(f[9]),
        true, {} };
}

ProcessorHandling applyName(SimProcessor &p, const Bytes &f, const Endpoint &)
{
    p.name = nameText(f);
    return { "name \"" + readableText(p.name) + "\"", true, {} };
}

ProcessorHandling applyConnect(SimProcessor &p, const Bytes &f, const Endpoint &from)
{
    const Endpoint carried { static_cast<Ipv4>(f[6]) << 24 | f[7] << 16 | f[8] << 8 | f[9],
        static_cast<std::uint16_t>(be16(f, 4)) };
    const std::string meaning = "connection request carrying " + formatEndpoint(carried);
    if (p.ignoreRequests)
        return { meaning + " (left unanswered on request of the control channel)", true, {} };
    p.connected = true;
    p.controller = from;
    return { meaning, true, processorAnnouncement(p) };
}

ProcessorHandling applyReset(SimProcessor &p, const Bytes &, const Endpoint &)
{
    ++p.resets;
    p.mainLevel = p.levelA = p.levelB = 0;
    p.phaseA = p.phaseB = 0;
    return { "device reset", true, {} };
}

ProcessorHandling applyPhase(SimProcessor &p, const Bytes &f, const Endpoint &)
{
    const int selector = f[4];
    if (selector > 1)
        return ignored("phase selector " + std::to_string(selector) + " is not 0 or 1");
    (selector == 0 ? p.phaseA : p.phaseB) = f[5];
    return { "phase " + channelName(selector) + "=" + std::to_string(f[5]), true, {} };
}

struct CommandRule {
    std::uint8_t command;
    std::size_t length; // the frame's L: command byte and data
    ProcessorHandling (*apply)(SimProcessor &, const Bytes &, const Endpoint &);
};

constexpr CommandRule CommandRules[] = {
    { 0x01, 29, applyEqualiser },
    { 0x02, 27, applyCrossover },
    { 0x03, 27, applyCrossover },
    { 0x04, 3, applyLevel },
    { 0x05, 43, applyDynamics },
    { 0x06, 11, applyName },
    { 0x07, 7, applyConnect },
    { 0x08, 1, applyReset },
    { 0x0A, 3, applyPhase },
};

std::string commandText(int command)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x", command);
    return text;
}

ProcessorHandling interpret(SimProcessor &processor, const Bytes &frame, const Endpoint &from)
{
    if (frame.size() < 5 || frame[0] != Sync1 || frame[1] != Sync2 || frame.back() != End
        || frame[2] + 4u != frame.size())
        return ignored("not a processor frame (AA 55 L ... A5, L + 4 bytes)");
    const int command = frame[3];
    const auto rule = std::find_if(std::begin(CommandRules), std::end(CommandRules),
        [&](const CommandRule &r) { return r.command == command; });
    if (rule == std::end(CommandRules))
        return ignored("unknown command " + commandText(command));
    if (frame[2] != rule->length)
        return ignored("command " + commandText(command) + " must have length "
            + std::to_string(rule->length) + ", not " + std::to_string(frame[2]));
    return rule->apply(processor, frame, from);
}

} // namespace

ProcessorHandling applyProcessorFrame(
    SimProcessor &processor, const Bytes &frame, const Endpoint &from)
{
    processor.received.push_back(frame);
    ProcessorHandling handling = interpret(processor, frame, from);
    if (!handling.applied)
        ++processor.ignoredFrames;
    return handling;
}

Bytes processorAnnouncement(const SimProcessor &processor)
{
    const std::size_t length = std::min(processor.name.size(), ProcessorNameWidth);
    // Sized once and filled by index: growing a braced-initialised vector with insert()
    // made GCC 12 at -O2 see a copy past the end of the initial four bytes.
    Bytes frame(length + 5);
    frame[0] = Sync1;
    frame[1] = Sync2;
    frame[2] = static_cast<std::uint8_t>(length + 1);
    frame[3] = 0x07;
    for (std::size_t i = 0; i < length; ++i)
        frame[4 + i] = static_cast<std::uint8_t>(processor.name[i]);
    frame[4 + length] = End;
    return frame;
}

} // namespace arxsim
