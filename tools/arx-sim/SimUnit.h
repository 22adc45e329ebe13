#pragma once

#include "Ipv4.h"
#include "Text.h"
#include "UnitFamily.h"

#include <array>
#include <optional>
#include <string>

namespace arxsim {

struct UnitSettings {
    int gain = 0;
    int lowCut = 0;
    int phantom = 0;
    int micMute = 0;
    int locate = 0;
    int mode = 0;
};

// One equaliser band as the unit holds it; `q` is Q × 100, the scale of its reports.
struct UnitEqBand {
    int enabled = 1;
    int shape = 0;
    int frequency = 1000;
    int q = 100;
    int gain = 300;
};

struct UnitEqLowCut {
    int on = 0;
    int frequency = 80;
    int shape = 4;
};

// The biquad of the last '%T' frame of a band, decoded; the frame carries the feedback terms
// negated.
struct EqCoefficients {
    double b0 = 0;
    double b1 = 0;
    double b2 = 0;
    double minusA1 = 0;
    double minusA2 = 0;
};

inline constexpr int EqBandCount = 4;
inline constexpr int EqFrameSlots = EqBandCount + 1; // the four bands and the low cut

// One simulated microphone unit: what it holds and what it has been sent.
struct SimUnit {
    int number = 1; // 1-based, in the order of the command line
    int type = 1;
    Ipv4 address = 0;
    std::string name;
    std::string code;
    UnitSettings settings;
    int colourOpen = 0;
    int colourMute = 0;
    int colourCall = 0;

    std::array<UnitEqBand, EqBandCount> eqBands {};
    UnitEqLowCut eqLowCut;
    // Sent in the '%H' announcement as the head record: Q, shape, enabled, spare.
    std::array<int, 4> eqHead { 10, 0, 1, 0 };
    std::array<std::optional<Bytes>, EqFrameSlots> eqFrames {};
    std::array<EqCoefficients, EqFrameSlots> eqCoefficients {};

    bool attached = false;
    std::optional<Endpoint> controller; // who attached it; level reports go there
    bool silent = false; // sends nothing at all
    int level = 0; // the last level reported
    std::uint32_t noise = 1; // state of the level's jitter

    std::vector<Bytes> received;
    int ignoredFrames = 0;

    const UnitFamily &family() const { return familyOf(type); }
};

// A unit of `type` with plausible start values for its family.
SimUnit makeUnit(int number, int type, Ipv4 address);

// What a unit makes of one datagram sent to it.
struct UnitHandling {
    std::string meaning;
    bool applied = false; // false: ignored, and `meaning` says why
    std::optional<Bytes> reply; // goes back to the sender
};

// Records the frame, applies it when the unit's family understands it and says what to answer.
UnitHandling applyUnitFrame(SimUnit &unit, const Bytes &frame, const Endpoint &from);

// '%D' (long or short by type) or '%H' for the equaliser family.
Bytes announcement(const SimUnit &unit);
// 'E' or 'J', whichever the family answers with.
Bytes settingsReport(const SimUnit &unit);
// A level report ('G' or 'L') with the unit's next level at `seconds` since the start.
Bytes nextLevelReport(SimUnit &unit, double seconds);

// Short human text for frames the unit sends.
std::string describeOutgoing(const SimUnit &unit, const Bytes &frame);

// Decodes a 24-bit two's-complement word with 21 fraction bits.
double fromFixed3_21(std::uint8_t high, std::uint8_t middle, std::uint8_t low);

} // namespace arxsim
