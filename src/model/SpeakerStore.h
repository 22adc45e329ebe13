#pragma once

#include <cstddef>
#include <cstdint>

namespace arx {

constexpr int SpeakerBandCount = 7;
constexpr int SpeakerChannelCount = 2;
constexpr std::size_t ProcessorNameWidth = 16;

struct SpeakerBand {
    std::int32_t frequency = 0; // Hz, 20..20000
    std::int32_t gain = 0;      // 0..300 in 0.1 dB steps, 180 is flat
    std::int32_t q = 0;         // Q x 10, 1..1000
    std::int32_t spare1 = 0;
    std::int32_t spare2 = 0;
    std::int32_t bandFlag = 0;
};
static_assert(sizeof(SpeakerBand) == 24);
static_assert(offsetof(SpeakerBand, frequency) == 0);
static_assert(offsetof(SpeakerBand, gain) == 4);
static_assert(offsetof(SpeakerBand, q) == 8);
static_assert(offsetof(SpeakerBand, spare1) == 12);
static_assert(offsetof(SpeakerBand, spare2) == 16);
static_assert(offsetof(SpeakerBand, bandFlag) == 20);

// One output channel of the processor. The unused words are part of the preset file format.
struct SpeakerChannel {
    SpeakerBand bands[SpeakerBandCount];
    std::int32_t unused1[19] = {};
    std::int32_t hpFrequency = 0;
    std::int32_t hpType = 0;
    std::int32_t hpQ = 0;
    std::int32_t unused2 = 0;
    std::int32_t lpFrequency = 0;
    std::int32_t lpType = 0;
    std::int32_t lpQ = 0;
    std::int32_t unused3 = 0;
    std::int32_t level = 0; // dB = 24 - 0.5 x code
    std::int32_t phase = 0;
    std::int32_t unused4 = 0;
    std::int32_t threshold = 0; // dB = -code
    std::int32_t attack = 0;    // ms
    std::int32_t release = 0;   // ms
    std::int32_t unused5 = 0;
    std::int32_t ratio = 0; // ratio x 10
    std::int32_t unused6[9] = {};
};
static_assert(sizeof(SpeakerChannel) == 344);
static_assert(offsetof(SpeakerChannel, bands) == 0);
static_assert(offsetof(SpeakerChannel, unused1) == 168);
static_assert(offsetof(SpeakerChannel, hpFrequency) == 244);
static_assert(offsetof(SpeakerChannel, hpType) == 248);
static_assert(offsetof(SpeakerChannel, hpQ) == 252);
static_assert(offsetof(SpeakerChannel, lpFrequency) == 260);
static_assert(offsetof(SpeakerChannel, lpType) == 264);
static_assert(offsetof(SpeakerChannel, lpQ) == 268);
static_assert(offsetof(SpeakerChannel, level) == 276);
static_assert(offsetof(SpeakerChannel, phase) == 280);
static_assert(offsetof(SpeakerChannel, threshold) == 288);
static_assert(offsetof(SpeakerChannel, attack) == 292);
static_assert(offsetof(SpeakerChannel, release) == 296);
static_assert(offsetof(SpeakerChannel, ratio) == 304);
static_assert(offsetof(SpeakerChannel, unused6) == 308);

// The loudspeaker processor's settings and the connection to it. The first 724 bytes are
// the preset file's blocks; the connection state behind them is never saved.
struct SpeakerStore {
    SpeakerChannel channels[SpeakerChannelCount];
    std::uint8_t reservedBytes[16] = {};
    std::int32_t mainLevel = 0;
    char processorName[ProcessorNameWidth] = {};
    std::uint8_t rdaConnected = 0;
    std::int32_t rdaRetryCount = 0;
    std::uint8_t rdaConnecting = 0;
    // Monotonic milliseconds of the last connection request; retries are timed on it so
    // that a change of the wall clock cannot stall or hurry them.
    std::int64_t rdaRequestTime = 0;
};
static_assert(offsetof(SpeakerStore, channels) == 0);
static_assert(offsetof(SpeakerStore, channels) + sizeof(SpeakerChannel) == 344);
static_assert(offsetof(SpeakerStore, reservedBytes) == 688);
static_assert(offsetof(SpeakerStore, mainLevel) == 704);
static_assert(offsetof(SpeakerStore, processorName) == 708);
static_assert(offsetof(SpeakerStore, rdaConnected) == 724);

} // namespace arx
