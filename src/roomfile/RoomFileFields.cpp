#include "roomfile/RoomFileFields.h"

#include "control/ControlSyntax.h"
#include "control/ControlValues.h"
#include "mic/UnitController.h"
#include "model/RingColours.h"
#include "speaker/SpeakerEditing.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <tuple>
#include <vector>

namespace arx {

namespace {

using enum UnitParameter;
using Kind = UnitValueKind;

// clang-format off
constexpr UnitFileField UnitFileFieldRows[] = {
    {.key = "gain", .parameter = Gain, .label = "gain", .group = UnitField::Gain,
     .kind = Kind::Gain},
    {.key = "low_cut", .parameter = LowCut, .label = "low cut", .group = UnitField::LowCut,
     .kind = Kind::Switch, .member = &DeviceRecord::lowCut},
    {.key = "phantom", .parameter = Phantom, .label = "48V", .group = UnitField::Phantom,
     .kind = Kind::Switch, .member = &DeviceRecord::phantom},
    {.key = "mute", .parameter = Mute, .label = "mute", .group = UnitField::Mute,
     .kind = Kind::Switch, .member = &DeviceRecord::micMute},
    {.key = "mode", .parameter = Mode, .label = "mode", .group = UnitField::Mode,
     .kind = Kind::Mode},
    {.key = "colour_open", .parameter = ColourOpen, .label = "open colour",
     .group = UnitField::ColourOpen, .kind = Kind::Colour, .member = &DeviceRecord::colourOpen},
    {.key = "colour_mute", .parameter = ColourMute, .label = "mute colour",
     .group = UnitField::ColourMute, .kind = Kind::Colour, .member = &DeviceRecord::colourMute},
    {.key = "colour_call", .parameter = ColourCall, .label = "call colour",
     .group = UnitField::ColourCall, .kind = Kind::Colour, .member = &DeviceRecord::colourCall},
    {.key = "eq1", .parameter = Eq1, .label = "EQ band 1", .group = eqBandField(1),
     .kind = Kind::EqBand, .band = 1},
    {.key = "eq2", .parameter = Eq2, .label = "EQ band 2", .group = eqBandField(2),
     .kind = Kind::EqBand, .band = 2},
    {.key = "eq3", .parameter = Eq3, .label = "EQ band 3", .group = eqBandField(3),
     .kind = Kind::EqBand, .band = 3},
    {.key = "eq4", .parameter = Eq4, .label = "EQ band 4", .group = eqBandField(4),
     .kind = Kind::EqBand, .band = 4},
    {.key = "eq_low_cut", .parameter = EqLowCut, .label = "EQ low cut",
     .group = UnitField::EqLowCut, .kind = Kind::EqLowCut},
};
// clang-format on

constexpr const char *ShapeWords[] = { "PEAKING", "LOW_SHELF", "HIGH_SHELF" };

std::string codeText(std::int32_t code)
{
    return "code " + std::to_string(code);
}

std::string switchWord(std::int32_t value)
{
    return value == 0 || value == 1 ? switchText(value != 0) : codeText(value);
}

const MicEqBand &bandOf(const DeviceRecord &record, const UnitFileField &field)
{
    return record.eqBands[field.band - 1];
}

// "A_BAND3_GAIN" as "channel A band 3 gain", "LEVEL_MAIN" as "main level".
std::string labelOf(const std::string &name)
{
    std::vector<std::string> words;
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('_', start), name.size());
        words.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    if ((words[0] == "LEVEL" || words[0] == "PHASE") && words.size() == 2) {
        const std::string what = words[0] == "LEVEL" ? "level" : "phase";
        return words[1] == "MAIN" ? "main " + what : "channel " + words[1] + " " + what;
    }
    std::string label = "channel " + words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string word = words[i];
        if (word == "HP")
            word = "high-pass";
        else if (word == "LP")
            word = "low-pass";
        else if (word.starts_with("BAND"))
            word = "band " + word.substr(4);
        else if (word != "Q")
            std::transform(word.begin(), word.end(), word.begin(),
                [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        label += " " + word;
    }
    return label;
}

std::string keyOf(const std::string &name)
{
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

// Where a value stands on the page: the main level first, then channel A and B, each with
// its level, phase, bands (frequency, gain, Q), crossovers (type, frequency, Q) and dynamics.
std::tuple<int, int, int, int> pageOrder(const SpeakerParameterEntry &entry)
{
    constexpr SpeakerParameter Bands[]
        = { SpeakerParameter::BandFrequency, SpeakerParameter::BandGain, SpeakerParameter::BandQ };
    switch (entry.kind) {
    case SpeakerParameterKind::Level:
        return { entry.channel, 0, 0, 0 };
    case SpeakerParameterKind::Phase:
        return { entry.channel, 1, 0, 0 };
    case SpeakerParameterKind::CrossoverType:
        return { entry.channel, entry.pass == CrossoverPass::HighPass ? 3 : 4, 0, 0 };
    default:
        break;
    }
    const SpeakerKnobRow &row = *entry.knob.row;
    const int position = static_cast<int>(
        std::find(std::begin(Bands), std::end(Bands), row.parameter) - std::begin(Bands));
    switch (row.parameter) {
    case SpeakerParameter::HighPassFrequency:
        return { entry.channel, 3, 0, 1 };
    case SpeakerParameter::HighPassQ:
        return { entry.channel, 3, 0, 2 };
    case SpeakerParameter::LowPassFrequency:
        return { entry.channel, 4, 0, 1 };
    case SpeakerParameter::LowPassQ:
        return { entry.channel, 4, 0, 2 };
    case SpeakerParameter::Threshold:
    case SpeakerParameter::Ratio:
    case SpeakerParameter::Attack:
    case SpeakerParameter::Release:
        return { entry.channel, 5, 0, static_cast<int>(row.parameter) };
    default:
        return { entry.channel, 2, entry.knob.band, position };
    }
}

std::vector<ProcessorFileField> listProcessorFields()
{
    std::vector<ProcessorFileField> fields;
    for (const SpeakerParameterEntry &entry : speakerParameters()) {
        switch (entry.kind) {
        case SpeakerParameterKind::Level:
        case SpeakerParameterKind::Phase:
        case SpeakerParameterKind::Knob:
        case SpeakerParameterKind::CrossoverType:
            fields.push_back(
                { .key = keyOf(entry.name), .entry = &entry, .label = labelOf(entry.name) });
            break;
        default:
            break;
        }
    }
    std::stable_sort(
        fields.begin(), fields.end(), [](const ProcessorFileField &a, const ProcessorFileField &b) {
            return pageOrder(*a.entry) < pageOrder(*b.entry);
        });
    return fields;
}

template <class Speaker> auto &codeIn(Speaker &speaker, const ProcessorFileField &field)
{
    const SpeakerParameterEntry &entry = *field.entry;
    switch (entry.kind) {
    case SpeakerParameterKind::Level:
        return entry.channel < 0 ? speaker.mainLevel : speaker.channels[entry.channel].level;
    case SpeakerParameterKind::Phase:
        return speaker.channels[entry.channel].phase;
    case SpeakerParameterKind::CrossoverType:
        return entry.pass == CrossoverPass::HighPass ? speaker.channels[entry.channel].hpType
                                                     : speaker.channels[entry.channel].lpType;
    default:
        break;
    }
    auto &channel = speaker.channels[entry.knob.channel];
    const SpeakerKnobRow &row = *entry.knob.row;
    return row.bandField ? channel.bands[entry.knob.band - 1].*row.bandField
                         : channel.*row.channelField;
}

} // namespace

std::span<const UnitFileField> unitFileFields()
{
    return UnitFileFieldRows;
}

bool gainNamed(const DeviceRecord &record)
{
    const int entries = static_cast<int>(gainListFor(record.type).size());
    if (record.type == UnitTypePxl2)
        return record.gain % 3 == 0 && record.gain / 3 >= 0 && record.gain / 3 < entries;
    return record.gain >= 0 && record.gain < entries;
}

bool colourNamed(std::int32_t type, std::int32_t code)
{
    if (type == UnitTypePxl2)
        return code >= 0 && code <= 0xFFFFFF;
    return code >= 0 && code < static_cast<std::int32_t>(std::size(colourIndexTable));
}

bool sameUnitValue(const UnitFileField &field, const DeviceRecord &a, const DeviceRecord &b)
{
    switch (field.kind) {
    case Kind::Switch:
    case Kind::Colour:
        return a.*field.member == b.*field.member;
    case Kind::Gain:
        return a.gain == b.gain;
    case Kind::Mode:
        return a.mode == b.mode;
    case Kind::EqBand: {
        const MicEqBand &x = bandOf(a, field);
        const MicEqBand &y = bandOf(b, field);
        return x.frequency == y.frequency && x.gain == y.gain && x.q == y.q && x.shape == y.shape
            && x.enabled == y.enabled;
    }
    case Kind::EqLowCut:
        break;
    }
    return a.eqLowCutFrequency == b.eqLowCutFrequency && a.eqLowCutShape == b.eqLowCutShape;
}

std::string unitFieldText(const UnitFileField &field, const DeviceRecord &record)
{
    switch (field.kind) {
    case Kind::Switch:
        return switchWord(record.*field.member);
    case Kind::Gain:
        return gainNamed(record) ? unitGainText(settingValue(record, UnitSetting::Gain))
                                 : codeText(record.gain);
    case Kind::Mode:
        return record.mode >= 0 && record.mode < ModeCount ? ModeNames[record.mode]
                                                           : codeText(record.mode);
    case Kind::Colour: {
        const std::int32_t code = record.*field.member;
        return colourNamed(record.type, code) ? colourText(record.type, code) : codeText(code);
    }
    case Kind::EqBand: {
        const MicEqBand &band = bandOf(record, field);
        const bool named = band.shape >= 0 && band.shape < static_cast<int>(std::size(ShapeWords));
        return formatCode(band.frequency, EqFrequencyScale) + " "
            + formatCode(band.gain, EqGainScale) + " " + formatCode(band.q, EqQScale) + " "
            + (named ? std::string(ShapeWords[band.shape]) : "shape " + std::to_string(band.shape))
            + " " + switchWord(band.enabled);
    }
    case Kind::EqLowCut:
        break;
    }
    return formatCode(record.eqLowCutFrequency, EqLowCutScale) + " shape "
        + std::to_string(record.eqLowCutShape);
}

std::span<const ProcessorFileField> processorFileFields()
{
    static const std::vector<ProcessorFileField> fields = listProcessorFields();
    return fields;
}

std::int32_t &processorCode(SpeakerStore &speaker, const ProcessorFileField &field)
{
    return codeIn(speaker, field);
}

std::int32_t processorCode(const SpeakerStore &speaker, const ProcessorFileField &field)
{
    return codeIn(speaker, field);
}

CodeScale processorScale(const ProcessorFileField &field)
{
    if (field.entry->kind == SpeakerParameterKind::Knob)
        return knobScale(*field.entry->knob.row);
    return ProcessorLevelScale;
}

std::optional<PresetRange> processorRange(const ProcessorFileField &field)
{
    const SpeakerParameterEntry &entry = *field.entry;
    switch (entry.kind) {
    case SpeakerParameterKind::Level:
        return entry.channel < 0 ? presetMainLevelRange() : presetRange(&SpeakerChannel::level);
    case SpeakerParameterKind::CrossoverType:
        return presetRange(&SpeakerChannel::hpType);
    case SpeakerParameterKind::Knob: {
        const SpeakerKnobRow &row = *entry.knob.row;
        return row.bandField ? presetRange(row.bandField) : presetRange(row.channelField);
    }
    default:
        return std::nullopt;
    }
}

std::string processorFieldText(const SpeakerStore &speaker, const ProcessorFileField &field)
{
    const std::int32_t code = processorCode(speaker, field);
    switch (field.entry->kind) {
    case SpeakerParameterKind::Phase:
        return switchWord(code);
    case SpeakerParameterKind::CrossoverType:
        return code >= 0 && code < static_cast<int>(std::size(filterTypeNames))
            ? filterTypeNames[code]
            : codeText(code);
    default:
        return formatCode(code, processorScale(field));
    }
}

void takeProcessorSetting(const SpeakerStore &from, SpeakerStore &to)
{
    for (const ProcessorFileField &field : processorFileFields())
        processorCode(to, field) = processorCode(from, field);
    std::memcpy(to.processorName, from.processorName, sizeof to.processorName);
}

} // namespace arx
