#pragma once

#include "model/SpeakerStore.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace arx {

// A ".box" preset: the loudspeaker setting as 724 bytes without header or version. Channel A
// (344), channel B (344), mainLevel (4), reservedBytes (16), processorName (16); every word
// little-endian. Files written by earlier versions of the program use this layout, so it is
// fixed byte for byte; note that mainLevel comes before reservedBytes here, unlike in memory.
constexpr std::size_t PresetChannelSize = 344;
constexpr std::size_t PresetMainLevelOffset = 688;
constexpr std::size_t PresetReservedOffset = 692;
constexpr std::size_t PresetNameOffset = 708;
constexpr std::size_t PresetFileSize = 724;

using PresetBytes = std::array<std::uint8_t, PresetFileSize>;

PresetBytes encodePreset(const SpeakerStore &speaker);

// Writes the file's fields into `speaker` as they are, without looking at them; the
// connection state behind the name is left alone. `bytes` must be exactly one preset.
void decodePreset(std::span<const std::uint8_t, PresetFileSize> bytes, SpeakerStore &speaker);

// The first value that would be sent to the processor outside the range its control allows,
// in file order, described for the operator ("channel B, band 3 frequency is 30000; allowed
// 20..20000"); nothing when every value is acceptable. Unused words, reservedBytes, the
// phase and the name are not judged: they are kept whatever they hold.
std::optional<std::string> presetProblem(const SpeakerStore &speaker);

// What the speaker page's control allows for a value that a recall sends, in stored codes.
struct PresetRange {
    std::int32_t min;
    std::int32_t max;
    constexpr bool contains(std::int32_t value) const { return value >= min && value <= max; }
};
// The range a preset allows for a band's or a channel's field, and for the main level;
// nothing for the fields kept whatever they hold (unused words, the phase).
std::optional<PresetRange> presetRange(std::int32_t SpeakerBand::*field);
std::optional<PresetRange> presetRange(std::int32_t SpeakerChannel::*field);
PresetRange presetMainLevelRange();

// "it holds 723 bytes, and a preset holds exactly 724".
std::string presetSizeProblem(std::uint64_t size);

// Why a preset was refused; an empty `problem` means it was taken.
struct PresetLoad {
    bool accepted = false;
    std::string problem;
};

// Takes the preset into `speaker` only when it is exactly 724 bytes and every judged value is
// in range; otherwise `speaker` is not touched and the problem is described.
PresetLoad loadPreset(std::span<const std::uint8_t> bytes, SpeakerStore &speaker);

} // namespace arx
