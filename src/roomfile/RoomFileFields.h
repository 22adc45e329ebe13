#pragma once

#include "control/ControlParameters.h"
#include "model/DeviceRecord.h"
#include "model/RoomObserver.h"
#include "model/SpeakerStore.h"
#include "speaker/PresetFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace arx {

// The settings a room file holds, compares and restores, each keyed as the command interface
// names it (GAIN is "gain" in the file, A_BAND3_GAIN is "a_band3_gain"), so that a file, a
// comparison and a command speak of the same thing in the same words.

// How a unit's setting is kept and written.
enum class UnitValueKind {
    Switch, // 0 or 1: false or true
    Gain, // the family's list: the gain in dB
    Mode, // "OFF", "ON", "PTT", "PTM"
    Colour, // a name of the eight colours, or #RRGGBB on PXL2
    EqBand, // frequency, gain, Q, shape and the band's switch
    EqLowCut, // the equaliser low cut's frequency and shape (its switch is "low_cut")
};

struct UnitFileField {
    const char *key;
    UnitParameter parameter; // its command interface name, and which families have it
    const char *label; // as the window names it
    UnitFields group; // what storing it changes, and so which frames carry it
    UnitValueKind kind;
    std::int32_t DeviceRecord::*member = nullptr; // Switch and Colour
    int band = 0; // EqBand: 1..4
};

// In the order they are written and judged.
std::span<const UnitFileField> unitFileFields();
// Whether the unit holds this field the same in both records.
bool sameUnitValue(const UnitFileField &field, const DeviceRecord &a, const DeviceRecord &b);
// The value in one word-or-phrase, as the comparison shows it: the command interface's text,
// an equaliser band with its shape and switch ("1000 -3.0 2.0 PEAKING ON"), and "code 9" for
// a code no control can name.
std::string unitFieldText(const UnitFileField &field, const DeviceRecord &record);
// Whether a code is one the strip's list can name (else it is kept as {"code": n}).
bool gainNamed(const DeviceRecord &record);
bool colourNamed(std::int32_t type, std::int32_t code);

// How a processor value is kept: on a CodeScale (levels and knobs), as a crossover type name,
// or as a phase switch.
struct ProcessorFileField {
    std::string key;
    const SpeakerParameterEntry *entry; // its command interface name, scale and text
    std::string label; // "channel A band 3 gain"
};

// Every processor value but the name, channel by channel in the order of the speaker page.
std::span<const ProcessorFileField> processorFileFields();
std::int32_t &processorCode(SpeakerStore &speaker, const ProcessorFileField &field);
std::int32_t processorCode(const SpeakerStore &speaker, const ProcessorFileField &field);
// The value as the command interface writes it ("-1.5", "Butterworth 2", "ON"); "code 7"
// for a phase no switch can name.
std::string processorFieldText(const SpeakerStore &speaker, const ProcessorFileField &field);
// The scale a level or a knob is written on.
CodeScale processorScale(const ProcessorFileField &field);
// What a preset allows for it; phases are not judged.
std::optional<PresetRange> processorRange(const ProcessorFileField &field);

// The processor's name as far as a room file keeps it: the text of its 16-byte field.
constexpr std::size_t ProcessorNameFileBytes = ProcessorNameWidth - 1;

// Takes every value a room file holds for the processor, with its name, from `from` into
// `to`; the connection state, the unused words and the further settings stay as they are.
void takeProcessorSetting(const SpeakerStore &from, SpeakerStore &to);

} // namespace arx
