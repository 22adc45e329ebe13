#include "speaker/PresetFile.h"

#include "model/Store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace arx {
namespace {

std::int32_t wordAt(const PresetBytes &bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[offset])
        | static_cast<std::uint32_t>(bytes[offset + 1]) << 8
        | static_cast<std::uint32_t>(bytes[offset + 2]) << 16
        | static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void putWordAt(PresetBytes &bytes, std::size_t offset, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

// The preset part of the store as it lies in memory: 724 bytes without padding.
bool sameSetting(const SpeakerStore &a, const SpeakerStore &b)
{
    return std::memcmp(&a, &b, PresetFileSize) == 0;
}

std::unique_ptr<Store> startUpStore()
{
    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    return store;
}

// A valid setting with something other than the defaults in every word, unused ones too.
SpeakerStore everythingChanged()
{
    SpeakerStore speaker = startUpStore()->speaker;
    std::int32_t n = 0;
    for (SpeakerChannel &channel : speaker.channels) {
        for (SpeakerBand &band : channel.bands) {
            band.frequency = 100 + 37 * ++n;
            band.gain = 10 + n;
            band.q = 900 - n;
            band.spare1 = -n;
            band.spare2 = 0x7FFFFFFF - n;
            band.bandFlag = 1000 + n;
        }
        for (std::int32_t &word : channel.unused1)
            word = -1000 - ++n;
        channel.hpFrequency = 80 + n;
        channel.hpType = 4;
        channel.hpQ = 7;
        channel.unused2 = ++n;
        channel.lpFrequency = 15000 + n;
        channel.lpType = 2;
        channel.lpQ = 0;
        channel.unused3 = ++n;
        channel.level = 200 + n % 50;
        channel.phase = 5; // not judged: the phase is not sent by a recall
        channel.unused4 = ++n;
        channel.threshold = 33;
        channel.attack = 99;
        channel.release = 2;
        channel.unused5 = ++n;
        channel.ratio = 1999;
        for (std::int32_t &word : channel.unused6)
            word = static_cast<std::int32_t>(0x80000000u + static_cast<std::uint32_t>(++n));
    }
    speaker.mainLevel = 254;
    for (int i = 0; i < 16; ++i)
        speaker.reservedBytes[i] = static_cast<std::uint8_t>(0xF0 + i);
    // A name, then what was left in the field behind its NUL.
    std::memcpy(speaker.processorName, "RDA-7\0\x01\x02\x03garbage", 16);
    return speaker;
}

TEST(PresetFile, StartUpSettingIs724BytesOfDefaultBandsAndAnEmptyName)
{
    const PresetBytes bytes = encodePreset(startUpStore()->speaker);
    ASSERT_EQ(bytes.size(), 724u);
    const std::int32_t frequencies[] = { 50, 200, 800, 1000, 3000, 8000, 12000 };
    for (std::size_t channel = 0; channel < 2; ++channel) {
        for (std::size_t band = 0; band < 7; ++band) {
            const std::size_t at = channel * 344 + band * 24;
            EXPECT_EQ(wordAt(bytes, at), frequencies[band]) << "channel " << channel;
            EXPECT_EQ(wordAt(bytes, at + 4), 180) << "gain, band " << band + 1;
            EXPECT_EQ(wordAt(bytes, at + 8), 20) << "Q, band " << band + 1;
            EXPECT_EQ(wordAt(bytes, at + 20), 1) << "bandFlag, band " << band + 1;
        }
        EXPECT_EQ(wordAt(bytes, channel * 344 + 244), 20) << "hpFrequency";
        EXPECT_EQ(wordAt(bytes, channel * 344 + 260), 20000) << "lpFrequency";
        EXPECT_EQ(wordAt(bytes, channel * 344 + 304), 10) << "ratio";
    }
    for (std::size_t i = 708; i < 724; ++i)
        EXPECT_EQ(bytes[i], 0) << "name byte " << i;
}

TEST(PresetFile, FileOrderPutsMainLevelBeforeReservedBytesInLittleEndian)
{
    SpeakerStore speaker = everythingChanged();
    speaker.mainLevel = 0x11223344;
    speaker.channels[1].ratio = 0x01020304;
    const PresetBytes bytes = encodePreset(speaker);

    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 688, bytes.begin() + 692)),
        (std::vector<std::uint8_t> { 0x44, 0x33, 0x22, 0x11 }))
        << "mainLevel at 688, low byte first";
    EXPECT_EQ(bytes[692], 0xF0) << "reservedBytes from 692";
    EXPECT_EQ(bytes[707], 0xFF);
    EXPECT_EQ(std::memcmp(bytes.data() + 708, speaker.processorName, 16), 0)
        << "the name's 16 bytes from 708, garbage behind the NUL included";
    EXPECT_EQ(bytes[344 + 304], 0x04) << "channel B's ratio at 344 + 304";
    EXPECT_EQ(wordAt(bytes, 344 + 304), 0x01020304);
    EXPECT_EQ(std::memcmp(bytes.data(), &speaker.channels[0], 344), 0)
        << "a channel lies in the file as it lies in memory on a little-endian machine";
}

TEST(PresetFile, AnyBytesSurviveDecodeThenEncode)
{
    PresetBytes original {};
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 7 + 3);
    SpeakerStore speaker {};
    decodePreset(original, speaker);
    EXPECT_EQ(encodePreset(speaker), original);
}

TEST(PresetFile, SaveThenLoadLeavesTheSettingByteIdenticalAndTheConnectionAlone)
{
    const SpeakerStore saved = everythingChanged();
    const PresetBytes bytes = encodePreset(saved);

    SpeakerStore target = startUpStore()->speaker;
    target.rdaConnected = 1;
    target.rdaRetryCount = 2;
    target.rdaRequestTime = 12345;
    const PresetLoad load = loadPreset(bytes, target);
    ASSERT_TRUE(load.accepted) << load.problem;
    EXPECT_TRUE(sameSetting(target, saved)) << "unused words, reserved bytes and name included";
    EXPECT_EQ(target.rdaConnected, 1);
    EXPECT_EQ(target.rdaRetryCount, 2);
    EXPECT_EQ(target.rdaRequestTime, 12345);
}

TEST(PresetFile, EveryLimitOfEveryJudgedValueIsAccepted)
{
    for (const bool highest : { false, true }) {
        SpeakerStore speaker = everythingChanged();
        for (SpeakerChannel &channel : speaker.channels) {
            for (SpeakerBand &band : channel.bands) {
                band.frequency = highest ? 20000 : 20;
                band.gain = highest ? 300 : 0;
                band.q = highest ? 1000 : 1;
            }
            channel.hpFrequency = channel.lpFrequency = highest ? 20000 : 20;
            channel.hpType = channel.lpType = highest ? 4 : 0;
            channel.hpQ = channel.lpQ = highest ? 1000 : 0;
            channel.level = highest ? 254 : 0;
            channel.threshold = highest ? 60 : 0;
            channel.attack = channel.release = highest ? 100 : 1;
            channel.ratio = highest ? 2000 : 10;
        }
        speaker.mainLevel = highest ? 254 : 0;
        EXPECT_EQ(presetProblem(speaker), std::nullopt) << (highest ? "highest" : "lowest");
    }
}

struct RefusedWord {
    const char *name;
    std::size_t offset;
    std::int32_t value;
    const char *problem;
};

void PrintTo(const RefusedWord &row, std::ostream *out)
{
    *out << row.name;
}

class PresetRefusedWord : public ::testing::TestWithParam<RefusedWord> { };

TEST_P(PresetRefusedWord, IsNamedAndLeavesTheStoreUntouched)
{
    const RefusedWord &row = GetParam();
    PresetBytes bytes = encodePreset(everythingChanged());
    putWordAt(bytes, row.offset, row.value);

    auto store = startUpStore();
    const SpeakerStore before = store->speaker;
    const PresetLoad load = loadPreset(bytes, store->speaker);
    EXPECT_FALSE(load.accepted);
    EXPECT_EQ(load.problem, row.problem);
    EXPECT_TRUE(sameSetting(store->speaker, before));
}

constexpr std::size_t B = 344;
INSTANTIATE_TEST_SUITE_P(Ranges, PresetRefusedWord,
    ::testing::Values(RefusedWord { "BandFrequencyLow", 0, 19,
                          "channel A, band 1 frequency is 19; allowed 20..20000" },
        RefusedWord { "BandFrequencyHigh", B + 2 * 24, 30000,
            "channel B, band 3 frequency is 30000; allowed 20..20000" },
        RefusedWord {
            "BandGainHigh", 6 * 24 + 4, 301, "channel A, band 7 gain is 301; allowed 0..300" },
        RefusedWord {
            "BandGainNegative", B + 4, -1, "channel B, band 1 gain is -1; allowed 0..300" },
        RefusedWord { "BandQZero", 24 + 8, 0, "channel A, band 2 Q is 0; allowed 1..1000" },
        RefusedWord { "HighPassFrequency", 244, 20001,
            "channel A, high-pass frequency is 20001; allowed 20..20000" },
        RefusedWord { "HighPassType", B + 248, 5, "channel B, high-pass type is 5; allowed 0..4" },
        RefusedWord { "HighPassQ", 252, 1001, "channel A, high-pass Q is 1001; allowed 0..1000" },
        RefusedWord { "LowPassFrequency", B + 260, 0,
            "channel B, low-pass frequency is 0; allowed 20..20000" },
        RefusedWord { "LowPassType", 264, -1, "channel A, low-pass type is -1; allowed 0..4" },
        RefusedWord { "LowPassQ", B + 268, -5, "channel B, low-pass Q is -5; allowed 0..1000" },
        RefusedWord { "Level", 276, 255, "channel A, level is 255; allowed 0..254" },
        RefusedWord { "Threshold", B + 288, 61, "channel B, threshold is 61; allowed 0..60" },
        RefusedWord { "Attack", 292, 0, "channel A, attack is 0; allowed 1..100" },
        RefusedWord { "Release", B + 296, 101, "channel B, release is 101; allowed 1..100" },
        RefusedWord { "RatioLow", 304, 9, "channel A, ratio is 9; allowed 10..2000" },
        RefusedWord {
            "RatioHuge", B + 304, 0x7FFFFFFF, "channel B, ratio is 2147483647; allowed 10..2000" },
        RefusedWord { "MainLevel", 688, 300, "main level is 300; allowed 0..254" }),
    [](const ::testing::TestParamInfo<RefusedWord> &info) { return info.param.name; });

TEST(PresetFile, TheFirstProblemInFileOrderIsNamed)
{
    PresetBytes bytes = encodePreset(everythingChanged());
    putWordAt(bytes, 688, -1); // main level, last in the file
    putWordAt(bytes, B + 0, 5); // channel B band 1
    putWordAt(bytes, 304, 1); // channel A ratio: first
    SpeakerStore speaker {};
    EXPECT_EQ(loadPreset(bytes, speaker).problem, "channel A, ratio is 1; allowed 10..2000");
}

TEST(PresetFile, UnjudgedWordsAreKeptWhateverTheyHold)
{
    PresetBytes bytes = encodePreset(everythingChanged());
    putWordAt(bytes, 280, -77); // phase
    putWordAt(bytes, 168, -1); // unused
    putWordAt(bytes, B + 20, 99999); // bandFlag
    for (std::size_t i = 692; i < 724; ++i)
        bytes[i] = 0xFF; // reserved bytes and a name without its NUL
    SpeakerStore speaker {};
    ASSERT_TRUE(loadPreset(bytes, speaker).accepted);
    EXPECT_EQ(encodePreset(speaker), bytes);
}

TEST(PresetFile, WrongSizesAreRefusedWithTheSizeAndLeaveTheStoreUntouched)
{
    const PresetBytes good = encodePreset(everythingChanged());
    for (const std::size_t size : { 0u, 723u, 725u, 100000u }) {
        std::vector<std::uint8_t> bytes(size, 0);
        std::copy_n(good.begin(), std::min(size, good.size()), bytes.begin());
        auto store = startUpStore();
        const SpeakerStore before = store->speaker;
        const PresetLoad load = loadPreset(bytes, store->speaker);
        EXPECT_FALSE(load.accepted) << size;
        EXPECT_EQ(load.problem,
            "it holds " + std::to_string(size) + " bytes, and a preset holds exactly 724");
        EXPECT_TRUE(sameSetting(store->speaker, before)) << size;
    }
    EXPECT_EQ(presetSizeProblem(1), "it holds 1 byte, and a preset holds exactly 724");
}

} // namespace
} // namespace arx
