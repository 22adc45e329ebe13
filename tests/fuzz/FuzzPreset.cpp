// libFuzzer target: the preset loader. The input is the content of a file chosen for a recall.
//
// Whatever the bytes, the loader reads none past them (ASan watches the input's exact-size
// copy), leaves the store exactly as it was when it refuses, and accepts exactly the files
// whose every judged value lies in the range documented for its control, which it then
// writes back byte for byte.

#include "FuzzRequire.h"
#include "model/Store.h"
#include "speaker/PresetFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using namespace arx;

// The ranges of the speaker page's controls, written out here a second time on purpose: the
// loader's own table is what is being checked.
bool documented(const SpeakerStore &speaker)
{
    const auto within = [](std::int32_t value, std::int32_t low, std::int32_t high) {
        return value >= low && value <= high;
    };
    for (const SpeakerChannel &channel : speaker.channels) {
        for (const SpeakerBand &band : channel.bands) {
            if (!within(band.frequency, 20, 20000) || !within(band.gain, 0, 300)
                || !within(band.q, 1, 1000))
                return false;
        }
        if (!within(channel.hpFrequency, 20, 20000) || !within(channel.lpFrequency, 20, 20000)
            || !within(channel.hpType, 0, 4) || !within(channel.lpType, 0, 4)
            || !within(channel.hpQ, 0, 1000) || !within(channel.lpQ, 0, 1000)
            || !within(channel.level, 0, 254) || !within(channel.threshold, 0, 60)
            || !within(channel.attack, 1, 100) || !within(channel.release, 1, 100)
            || !within(channel.ratio, 10, 2000))
            return false;
    }
    return within(speaker.mainLevel, 0, 254);
}

// The setting brought into range by the documented limits, every other word as it was.
SpeakerStore clamped(SpeakerStore speaker)
{
    const auto clamp = [](std::int32_t &value, std::int32_t low, std::int32_t high) {
        value = std::clamp(value, low, high);
    };
    for (SpeakerChannel &channel : speaker.channels) {
        for (SpeakerBand &band : channel.bands) {
            clamp(band.frequency, 20, 20000);
            clamp(band.gain, 0, 300);
            clamp(band.q, 1, 1000);
        }
        clamp(channel.hpFrequency, 20, 20000);
        clamp(channel.lpFrequency, 20, 20000);
        clamp(channel.hpType, 0, 4);
        clamp(channel.lpType, 0, 4);
        clamp(channel.hpQ, 0, 1000);
        clamp(channel.lpQ, 0, 1000);
        clamp(channel.level, 0, 254);
        clamp(channel.threshold, 0, 60);
        clamp(channel.attack, 1, 100);
        clamp(channel.release, 1, 100);
        clamp(channel.ratio, 10, 2000);
    }
    clamp(speaker.mainLevel, 0, 254);
    return speaker;
}

bool sameStore(const SpeakerStore &a, const SpeakerStore &b)
{
    return std::memcmp(&a, &b, PresetFileSize) == 0 && a.rdaConnected == b.rdaConnected
        && a.rdaRetryCount == b.rdaRetryCount && a.rdaConnecting == b.rdaConnecting
        && a.rdaRequestTime == b.rdaRequestTime;
}

SpeakerStore startingStore()
{
    Store store;
    SetDefaults(store);
    store.speaker.rdaConnected = 1;
    store.speaker.rdaRetryCount = 3;
    store.speaker.rdaRequestTime = 987654321;
    setText(store.speaker.processorName, "BEFORE");
    return store.speaker;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const SpeakerStore before = startingStore();
    const std::span<const std::uint8_t> bytes(data, size);

    SpeakerStore store = before;
    const PresetLoad load = loadPreset(bytes, store);
    require(load.accepted == load.problem.empty());
    if (!load.accepted) {
        require(sameStore(store, before));
    } else {
        require(size == PresetFileSize);
        require(std::equal(bytes.begin(), bytes.end(), encodePreset(store).begin()));
        SpeakerStore connection = before;
        std::memcpy(&connection, &store, PresetFileSize);
        require(sameStore(store, connection)); // the connection state is not the file's
    }
    if (size != PresetFileSize)
        return 0;

    // Any 724 bytes survive a decode and an encode, and the decision follows the ranges alone.
    SpeakerStore decoded = before;
    decodePreset(bytes.first<PresetFileSize>(), decoded);
    require(std::equal(bytes.begin(), bytes.end(), encodePreset(decoded).begin()));
    require(load.accepted == documented(decoded));

    // What the program writes from a setting in range, it takes back unchanged.
    const SpeakerStore valid = clamped(decoded);
    const PresetBytes written = encodePreset(valid);
    SpeakerStore recalled = before;
    require(loadPreset(written, recalled).accepted);
    require(sameStore(recalled, valid));
    return 0;
}
