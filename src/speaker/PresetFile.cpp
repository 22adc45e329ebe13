#include "speaker/PresetFile.h"

#include "dsp/CoefficientDesigns.h"

#include <cstring>

namespace arx {

namespace {

// Every word of a channel in file order, for the writer and the reader alike, so that the
// layout is written down once. `Channel` is SpeakerChannel or const SpeakerChannel.
template <typename Channel, typename Visit>
constexpr void visitChannelWords(Channel &channel, Visit &&visit)
{
    for (auto &band : channel.bands) {
        visit(band.frequency);
        visit(band.gain);
        visit(band.q);
        visit(band.spare1);
        visit(band.spare2);
        visit(band.bandFlag);
    }
    for (auto &word : channel.unused1)
        visit(word);
    visit(channel.hpFrequency);
    visit(channel.hpType);
    visit(channel.hpQ);
    visit(channel.unused2);
    visit(channel.lpFrequency);
    visit(channel.lpType);
    visit(channel.lpQ);
    visit(channel.unused3);
    visit(channel.level);
    visit(channel.phase);
    visit(channel.unused4);
    visit(channel.threshold);
    visit(channel.attack);
    visit(channel.release);
    visit(channel.unused5);
    visit(channel.ratio);
    for (auto &word : channel.unused6)
        visit(word);
}

constexpr std::size_t channelWordCount()
{
    SpeakerChannel channel;
    std::size_t count = 0;
    visitChannelWords(channel, [&count](std::int32_t &) { ++count; });
    return count;
}
static_assert(channelWordCount() * 4 == PresetChannelSize, "every word of a channel is visited");
static_assert(PresetMainLevelOffset == 2 * PresetChannelSize);
static_assert(PresetReservedOffset == PresetMainLevelOffset + 4);
static_assert(PresetNameOffset == PresetReservedOffset + sizeof(SpeakerStore::reservedBytes));
static_assert(PresetFileSize == PresetNameOffset + sizeof(SpeakerStore::processorName));

void putWord(std::uint8_t *at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t getWord(const std::uint8_t *at)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

using Range = PresetRange;
constexpr Range FrequencyRange { .min = 20, .max = 20000 };
constexpr Range GainRange { .min = 0, .max = 300 };
constexpr Range BandQRange { .min = 1, .max = 1000 };
constexpr Range TypeRange { .min = CrossoverButterworth1, .max = CrossoverVariable };
// Start-up leaves the crossover Q codes at 0, so files saved right after start-up carry 0;
// a Variable crossover takes 1 in its place when it is sent.
constexpr Range CrossoverQRange { .min = 0, .max = 1000 };
constexpr Range LevelRange { .min = 0, .max = 254 };
constexpr Range ThresholdRange { .min = 0, .max = 60 };
constexpr Range TimeRange { .min = 1, .max = 100 };
constexpr Range RatioRange { .min = 10, .max = 2000 };

struct BandRule {
    const char *name;
    std::int32_t SpeakerBand::*field;
    Range range;
};
constexpr BandRule BandRules[] = {
    { .name = "frequency", .field = &SpeakerBand::frequency, .range = FrequencyRange },
    { .name = "gain", .field = &SpeakerBand::gain, .range = GainRange },
    { .name = "Q", .field = &SpeakerBand::q, .range = BandQRange },
};

// In file order, so that the first problem named is the first in the file.
struct ChannelRule {
    const char *name;
    std::int32_t SpeakerChannel::*field;
    Range range;
};
constexpr ChannelRule ChannelRules[] = {
    { .name = "high-pass frequency",
        .field = &SpeakerChannel::hpFrequency,
        .range = FrequencyRange },
    { .name = "high-pass type", .field = &SpeakerChannel::hpType, .range = TypeRange },
    { .name = "high-pass Q", .field = &SpeakerChannel::hpQ, .range = CrossoverQRange },
    { .name = "low-pass frequency",
        .field = &SpeakerChannel::lpFrequency,
        .range = FrequencyRange },
    { .name = "low-pass type", .field = &SpeakerChannel::lpType, .range = TypeRange },
    { .name = "low-pass Q", .field = &SpeakerChannel::lpQ, .range = CrossoverQRange },
    { .name = "level", .field = &SpeakerChannel::level, .range = LevelRange },
    { .name = "threshold", .field = &SpeakerChannel::threshold, .range = ThresholdRange },
    { .name = "attack", .field = &SpeakerChannel::attack, .range = TimeRange },
    { .name = "release", .field = &SpeakerChannel::release, .range = TimeRange },
    { .name = "ratio", .field = &SpeakerChannel::ratio, .range = RatioRange },
};

std::string outOfRange(const std::string &field, std::int32_t value, Range range)
{
    return field + " is " + std::to_string(value) + "; allowed " + std::to_string(range.min) + ".."
        + std::to_string(range.max);
}

} // namespace

PresetBytes encodePreset(const SpeakerStore &speaker)
{
    PresetBytes bytes {};
    std::uint8_t *at = bytes.data();
    const auto word = [&at](std::int32_t value) {
        putWord(at, value);
        at += 4;
    };
    for (const SpeakerChannel &channel : speaker.channels)
        visitChannelWords(channel, word);
    word(speaker.mainLevel);
    std::memcpy(at, speaker.reservedBytes, sizeof speaker.reservedBytes);
    at += sizeof speaker.reservedBytes;
    std::memcpy(at, speaker.processorName, sizeof speaker.processorName);
    return bytes;
}

void decodePreset(std::span<const std::uint8_t, PresetFileSize> bytes, SpeakerStore &speaker)
{
    const std::uint8_t *at = bytes.data();
    const auto word = [&at](std::int32_t &value) {
        value = getWord(at);
        at += 4;
    };
    for (SpeakerChannel &channel : speaker.channels)
        visitChannelWords(channel, word);
    word(speaker.mainLevel);
    std::memcpy(speaker.reservedBytes, at, sizeof speaker.reservedBytes);
    at += sizeof speaker.reservedBytes;
    std::memcpy(speaker.processorName, at, sizeof speaker.processorName);
}

std::optional<std::string> presetProblem(const SpeakerStore &speaker)
{
    for (int c = 0; c < SpeakerChannelCount; ++c) {
        const SpeakerChannel &channel = speaker.channels[c];
        const std::string channelName = std::string("channel ") + (c == 0 ? "A" : "B") + ", ";
        for (int b = 0; b < SpeakerBandCount; ++b) {
            for (const BandRule &rule : BandRules) {
                const std::int32_t value = channel.bands[b].*rule.field;
                if (!rule.range.contains(value))
                    return outOfRange(
                        channelName + "band " + std::to_string(b + 1) + " " + rule.name, value,
                        rule.range);
            }
        }
        for (const ChannelRule &rule : ChannelRules) {
            const std::int32_t value = channel.*rule.field;
            if (!rule.range.contains(value))
                return outOfRange(channelName + rule.name, value, rule.range);
        }
    }
    if (!LevelRange.contains(speaker.mainLevel))
        return outOfRange("main level", speaker.mainLevel, LevelRange);
    return std::nullopt;
}

std::optional<PresetRange> presetRange(std::int32_t SpeakerBand::*field)
{
    for (const BandRule &rule : BandRules) {
        if (rule.field == field)
            return rule.range;
    }
    return std::nullopt;
}

std::optional<PresetRange> presetRange(std::int32_t SpeakerChannel::*field)
{
    for (const ChannelRule &rule : ChannelRules) {
        if (rule.field == field)
            return rule.range;
    }
    return std::nullopt;
}

PresetRange presetMainLevelRange()
{
    return LevelRange;
}

std::string presetSizeProblem(std::uint64_t size)
{
    return "it holds " + std::to_string(size) + (size == 1 ? " byte" : " bytes")
        + ", and a preset holds exactly " + std::to_string(PresetFileSize);
}

PresetLoad loadPreset(std::span<const std::uint8_t> bytes, SpeakerStore &speaker)
{
    if (bytes.size() != PresetFileSize)
        return { .accepted = false, .problem = presetSizeProblem(bytes.size()) };
    SpeakerStore candidate = speaker;
    decodePreset(bytes.first<PresetFileSize>(), candidate);
    if (std::optional<std::string> problem = presetProblem(candidate))
        return { .accepted = false, .problem = std::move(*problem) };
    speaker = candidate;
    return { .accepted = true, .problem = {} };
}

} // namespace arx
