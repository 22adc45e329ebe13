#pragma once

#include "model/DeviceRecord.h"
#include "model/SpeakerStore.h"

#include <array>
#include <cstdint>
#include <optional>

namespace arx {

// One microphone equaliser band, or the low cut, for a unit: '%T'.
using MicEqFrame = std::array<std::uint8_t, 27>;
// One loudspeaker equaliser band for the processor: command 1.
using SpeakerEqFrame = std::array<std::uint8_t, 33>;
// A crossover filter for the processor: command 2 (high-pass) or 3 (low-pass).
using CrossoverFrame = std::array<std::uint8_t, 31>;
// A compressor/limiter for the processor: command 5.
using DynamicsFrame = std::array<std::uint8_t, 47>;

constexpr int MicLowCutBand = 5; // the band number that stands for the low cut

constexpr std::uint8_t SpeakerEqCommand = 0x01;
constexpr std::uint8_t HighPassCommand = 0x02;
constexpr std::uint8_t LowPassCommand = 0x03;
constexpr std::uint8_t DynamicsCommand = 0x05;

// band 1..4 is that band of eqBands, MicLowCutBand the low cut; nothing for other numbers.
std::optional<MicEqFrame> buildMicEqFrame(const DeviceRecord &record, int band);

// band 1..7 of the channel's bands; channelNumber (0 = A, 1 = B) goes into the frame.
std::optional<SpeakerEqFrame> buildSpeakerEqFrame(
    const SpeakerChannel &channel, int channelNumber, int band);

// Nothing for a crossover type outside 0..4, which has no design.
std::optional<CrossoverFrame> buildHighPassFrame(const SpeakerChannel &channel, int channelNumber);
std::optional<CrossoverFrame> buildLowPassFrame(const SpeakerChannel &channel, int channelNumber);

DynamicsFrame buildDynamicsFrame(
    const SpeakerChannel &channel, int channelNumber, double eulerConstant);

} // namespace arx
