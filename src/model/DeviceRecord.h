#pragma once

#include "model/LocalTime.h"

#include <cstddef>
#include <cstdint>

namespace arx {

constexpr int UnitSlotCount = 64;
constexpr int MicEqBandCount = 4;
constexpr std::size_t DeviceTextWidth = 24;

// One band of a microphone equaliser. `eqHead` shares this layout.
struct MicEqBand {
    std::int32_t frequency = 0; // Hz
    std::int32_t gain = 0;      // gain code
    std::int32_t q = 0;         // Q code
    std::int32_t enabled = 0;
    std::int32_t spare = 0;
    std::int32_t shape = 0;     // EqShape
};
static_assert(sizeof(MicEqBand) == 24);

// Unit types as announced; the list shows families, not types.
enum UnitType : std::int32_t {
    UnitTypeArn1 = 1,
    UnitTypeVelK = 2,
    UnitTypePxl2 = 3,
    UnitTypeArn1Short = 4,
    UnitTypeVelKShort = 5,
};

// Everything the program knows about one microphone unit. Texts are bytes as the unit sent
// them (GBK), always NUL-terminated inside their width.
struct DeviceRecord {
    std::int32_t unitNumber = 0;
    char name[DeviceTextWidth] = {};
    char code[DeviceTextWidth] = {};
    char ip[DeviceTextWidth] = {};
    std::int32_t type = 0;
    std::int32_t levelHistory[4] = {};
    std::int32_t levelIndex = 0;
    std::int32_t gain = 0;
    std::int32_t level = 0;
    std::int32_t locate = 0;
    std::int32_t mode = 0;
    std::int32_t lowCut = 0;
    std::int32_t phantom = 0;
    std::int32_t micMute = 0;
    std::int32_t colourCall = 0;
    std::int32_t colourOpen = 0;
    std::int32_t colourMute = 0;
    MicEqBand eqHead;
    MicEqBand eqBands[MicEqBandCount];
    std::int32_t eqLowCutFrequency = 0;
    std::int32_t eqLowCutShape = 0;
    std::int32_t eqLowCutQ = 0;
    std::int32_t eqLowCutOn = 0;
    std::uint8_t locateActive = 0;
    std::uint8_t inUse = 0;
    LocalTime lastHeard;
    LocalTime locateStart;
    LocalTime eqSendTime;
};

static_assert(offsetof(DeviceRecord, name) == 4);
static_assert(offsetof(DeviceRecord, code) == 28);
static_assert(offsetof(DeviceRecord, ip) == 52);
static_assert(offsetof(DeviceRecord, type) == 76);
static_assert(offsetof(DeviceRecord, levelHistory) == 80);
static_assert(offsetof(DeviceRecord, levelIndex) == 96);
static_assert(offsetof(DeviceRecord, gain) == 100);
static_assert(offsetof(DeviceRecord, colourMute) == 136);
static_assert(offsetof(DeviceRecord, eqHead) == 140);
static_assert(offsetof(DeviceRecord, eqBands) == 164);
static_assert(offsetof(DeviceRecord, eqLowCutFrequency) == 260);
static_assert(offsetof(DeviceRecord, eqLowCutOn) == 272);
static_assert(offsetof(DeviceRecord, locateActive) == 276);
static_assert(offsetof(DeviceRecord, inUse) == 277);
static_assert(offsetof(DeviceRecord, lastHeard) == 278);
static_assert(offsetof(DeviceRecord, eqSendTime) == 310);

// The family name shown in the unit list, or an empty text for an unknown type.
const char *unitFamilyName(std::int32_t type);

} // namespace arx
