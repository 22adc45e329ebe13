#pragma once

#include "Ipv4.h"
#include "Text.h"

#include <optional>
#include <string>
#include <vector>

namespace arxsim {

inline constexpr std::size_t ProcessorNameWidth = 10;

// The simulated loudspeaker processor: what it holds and every frame it was sent.
struct SimProcessor {
    Ipv4 address = 0;
    std::string name = "RDA-SIM";
    bool ignoreRequests = false; // leaves connection requests unanswered
    bool silent = false; // answers nothing, not even the search
    bool connected = false; // has acknowledged a connection request
    std::optional<Endpoint> controller;
    int mainLevel = 0;
    int levelA = 0;
    int levelB = 0;
    int phaseA = 0;
    int phaseB = 0;
    int resets = 0;
    std::vector<Bytes> received;
    int ignoredFrames = 0;
};

struct ProcessorHandling {
    std::string meaning;
    bool applied = true; // false: ignored, and `meaning` says why
    std::optional<Bytes> reply; // goes back to the sender
};

// Records the frame, applies what the processor keeps and answers a connection request.
ProcessorHandling applyProcessorFrame(
    SimProcessor &processor, const Bytes &frame, const Endpoint &from);

// The 07 frame with the processor's name: its answer to the search and to a connection request.
Bytes processorAnnouncement(const SimProcessor &processor);

} // namespace arxsim
