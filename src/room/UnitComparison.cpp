#include "room/UnitComparison.h"

#include "format/Gbk.h"
#include "format/UnitValueText.h"
#include "model/Store.h"

#include <string>

namespace arx {

namespace {

// A value as the unit's type shows it.
using ValueText = std::string (*)(std::int32_t type, std::int32_t value);

std::string switchText(std::int32_t, std::int32_t value)
{
    return onOff(value);
}

std::string gainValueText(std::int32_t type, std::int32_t value)
{
    return gainText(type, value);
}

std::string modeValueText(std::int32_t, std::int32_t value)
{
    return modeText(value);
}

// PXL2 units keep 24-bit colours, the others an index into the eight colours.
std::string colourText(std::int32_t type, std::int32_t value)
{
    return type == UnitTypePxl2 ? colourRgbText(value) : colourIndexText(value);
}

std::string hertzText(std::int32_t, std::int32_t value)
{
    return std::to_string(value) + " Hz";
}

std::string numberText(std::int32_t, std::int32_t value)
{
    return std::to_string(value);
}

std::string shapeValueText(std::int32_t, std::int32_t value)
{
    return shapeText(value);
}

std::string qValueText(std::int32_t, std::int32_t value)
{
    return qText(value, 100);
}

std::string eqGainText(std::int32_t, std::int32_t value)
{
    return micEqGainText(value);
}

struct SettingRow {
    UnitField group;
    const char *field;
    std::int32_t DeviceRecord::*member;
    ValueText text;
};

constexpr SettingRow SettingRows[] = {
    { .group = UnitField::Gain,
        .field = "gain",
        .member = &DeviceRecord::gain,
        .text = gainValueText },
    { .group = UnitField::LowCut,
        .field = "low cut",
        .member = &DeviceRecord::lowCut,
        .text = switchText },
    { .group = UnitField::Phantom,
        .field = "48V",
        .member = &DeviceRecord::phantom,
        .text = switchText },
    { .group = UnitField::Mute,
        .field = "mute",
        .member = &DeviceRecord::micMute,
        .text = switchText },
    { .group = UnitField::Locate,
        .field = "locate",
        .member = &DeviceRecord::locate,
        .text = switchText },
    { .group = UnitField::Mode,
        .field = "mode",
        .member = &DeviceRecord::mode,
        .text = modeValueText },
    { .group = UnitField::ColourOpen,
        .field = "open colour",
        .member = &DeviceRecord::colourOpen,
        .text = colourText },
    { .group = UnitField::ColourMute,
        .field = "mute colour",
        .member = &DeviceRecord::colourMute,
        .text = colourText },
    { .group = UnitField::ColourCall,
        .field = "call colour",
        .member = &DeviceRecord::colourCall,
        .text = colourText },
    { .group = UnitField::EqLowCut,
        .field = "EQ low cut frequency",
        .member = &DeviceRecord::eqLowCutFrequency,
        .text = hertzText },
    { .group = UnitField::EqLowCut,
        .field = "EQ low cut shape",
        .member = &DeviceRecord::eqLowCutShape,
        .text = numberText },
};

// The fields of each equaliser band that an announcement carries.
struct BandRow {
    const char *field;
    std::int32_t MicEqBand::*member;
    ValueText text;
};

constexpr BandRow BandRows[] = {
    { .field = "shape", .member = &MicEqBand::shape, .text = shapeValueText },
    { .field = "frequency", .member = &MicEqBand::frequency, .text = hertzText },
    { .field = "Q", .member = &MicEqBand::q, .text = qValueText },
    { .field = "gain", .member = &MicEqBand::gain, .text = eqGainText },
};

std::string typeText(std::int32_t type)
{
    const std::string family = unitFamilyName(type);
    const std::string number = "type " + std::to_string(type);
    return family.empty() ? number : family + " (" + number + ")";
}

} // namespace

std::vector<UnitDifference> identityDifferences(
    const DeviceRecord &record, const DeviceRecord &announced)
{
    std::vector<UnitDifference> differences;
    const auto note = [&](const char *field, std::string arx, std::string unit) {
        if (arx != unit)
            differences.push_back({ .group = UnitField::Identity,
                .field = field,
                .arx = std::move(arx),
                .unit = std::move(unit) });
    };
    note("name", gbkToUtf8(textOf(record.name)), gbkToUtf8(textOf(announced.name)));
    note("address", std::string(textOf(record.ip)), std::string(textOf(announced.ip)));
    if (record.type != announced.type)
        note("type", typeText(record.type), typeText(announced.type));
    return differences;
}

std::vector<UnitDifference> settingDifferences(
    const DeviceRecord &record, const DeviceRecord &announced, UnitFields carried)
{
    std::vector<UnitDifference> differences;
    for (const SettingRow &row : SettingRows) {
        const std::int32_t kept = record.*row.member;
        const std::int32_t held = announced.*row.member;
        if (carried.contains(row.group) && kept != held)
            differences.push_back({ .group = row.group,
                .field = row.field,
                .arx = row.text(record.type, kept),
                .unit = row.text(announced.type, held) });
    }
    for (int band = 0; band < MicEqBandCount; ++band) {
        const UnitField group = eqBandField(band + 1);
        if (!carried.contains(group))
            continue;
        for (const BandRow &row : BandRows) {
            const std::int32_t kept = record.eqBands[band].*row.member;
            const std::int32_t held = announced.eqBands[band].*row.member;
            if (kept != held)
                differences.push_back({ .group = group,
                    .field = "EQ band " + std::to_string(band + 1) + " " + row.field,
                    .arx = row.text(record.type, kept),
                    .unit = row.text(announced.type, held) });
        }
    }
    return differences;
}

} // namespace arx
