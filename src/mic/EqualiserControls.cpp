#include "mic/EqualiserControls.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace arx {

namespace {

// clang-format off
constexpr EqControl Controls[] = {
    { .id = 1096, .band = 1, .field = EqField::Gain, .slider = true },
    { .id = 1100, .band = 2, .field = EqField::Gain, .slider = true },
    { .id = 1104, .band = 3, .field = EqField::Gain, .slider = true },
    { .id = 1108, .band = 4, .field = EqField::Gain, .slider = true },
    { .id = 1097, .band = 1, .field = EqField::Frequency, .slider = true },
    { .id = 1101, .band = 2, .field = EqField::Frequency, .slider = true },
    { .id = 1105, .band = 3, .field = EqField::Frequency, .slider = true },
    { .id = 1109, .band = 4, .field = EqField::Frequency, .slider = true },
    { .id = 1098, .band = 1, .field = EqField::Q, .slider = true },
    { .id = 1102, .band = 2, .field = EqField::Q, .slider = true },
    { .id = 1106, .band = 3, .field = EqField::Q, .slider = true },
    { .id = 1110, .band = 4, .field = EqField::Q, .slider = true },
    { .id = 1111, .band = EqLowCutBand, .field = EqField::LowCutFrequency, .slider = true },
    { .id = 1160, .band = 1, .field = EqField::Gain, .slider = false },
    { .id = 1161, .band = 2, .field = EqField::Gain, .slider = false },
    { .id = 1162, .band = 3, .field = EqField::Gain, .slider = false },
    { .id = 1163, .band = 4, .field = EqField::Gain, .slider = false },
    { .id = 1015, .band = 1, .field = EqField::Frequency, .slider = false },
    { .id = 1018, .band = 2, .field = EqField::Frequency, .slider = false },
    { .id = 1020, .band = 3, .field = EqField::Frequency, .slider = false },
    { .id = 1022, .band = 4, .field = EqField::Frequency, .slider = false },
    { .id = 1016, .band = 1, .field = EqField::Q, .slider = false },
    { .id = 1019, .band = 2, .field = EqField::Q, .slider = false },
    { .id = 1021, .band = 3, .field = EqField::Q, .slider = false },
    { .id = 1023, .band = 4, .field = EqField::Q, .slider = false },
    { .id = 1017, .band = EqLowCutBand, .field = EqField::LowCutFrequency, .slider = false },
};
// clang-format on

// The rounding of log10 must not move a slider down a step: 1000 Hz is position 200.
constexpr double LogTolerance = 1e-9;

} // namespace

std::span<const EqControl> eqControls()
{
    return Controls;
}

std::optional<EqControl> eqControlById(int id)
{
    for (const EqControl &control : Controls)
        if (control.id == id)
            return control;
    return std::nullopt;
}

const EqControl &eqControlFor(int band, EqField field, bool slider)
{
    for (const EqControl &control : Controls)
        if (control.band == band && control.field == field && control.slider == slider)
            return control;
    throw std::out_of_range("no equaliser control for that band and field");
}

EqRange eqRange(EqField field, bool slider)
{
    switch (field) {
    case EqField::Gain:
        return { 0, 300 };
    case EqField::Frequency:
        return slider ? EqRange { 30, 330 } : EqRange { 20, 20000 };
    case EqField::Q:
        return slider ? EqRange { 0, 999 } : EqRange { 1, 1000 };
    case EqField::LowCutFrequency:
        return { 20, 200 };
    }
    return {};
}

int eqCodeFromControl(EqField field, bool slider, int value)
{
    switch (field) {
    case EqField::Gain:
        return value + 150; // both controls: 150 is 0 dB (code 300)
    case EqField::Frequency:
        return slider ? static_cast<int>(std::pow(10.0, (value + 100) / 100.0) + 0.5) : value;
    case EqField::Q:
        return slider ? value + 1 : value;
    case EqField::LowCutFrequency:
        return value;
    }
    return value;
}

int eqControlFromCode(EqField field, bool slider, int code)
{
    int value = code;
    switch (field) {
    case EqField::Gain:
        value = code - 150;
        break;
    case EqField::Frequency:
        if (slider)
            value = code > 0 ? static_cast<int>(std::log10(double(code)) * 100 - 100 + LogTolerance)
                             : 0;
        break;
    case EqField::Q:
        value = slider ? code - 1 : code;
        break;
    case EqField::LowCutFrequency:
        break;
    }
    const EqRange range = eqRange(field, slider);
    return std::clamp(value, range.minimum, range.maximum);
}

} // namespace arx
