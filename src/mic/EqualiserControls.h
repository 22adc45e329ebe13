#pragma once

#include <optional>
#include <span>

namespace arx {

// The equaliser dialog's controls: which band and field each knob and slider edits, their
// ranges, and the two mappings between a control's value and the record's code.

enum class EqField { Gain, Frequency, Q, LowCutFrequency };

constexpr int EqLowCutBand = 5; // the band number of the low cut, as sendMicEqBand takes it

struct EqControl {
    int id = 0;
    int band = 0; // 1..4, or EqLowCutBand
    EqField field = EqField::Gain;
    bool slider = false; // else a spin knob
};

// Every knob and slider of the dialog, one row each.
std::span<const EqControl> eqControls();
std::optional<EqControl> eqControlById(int id);
// The knob or slider of a band's field.
const EqControl &eqControlFor(int band, EqField field, bool slider);

struct EqRange {
    int minimum = 0;
    int maximum = 0;
};
EqRange eqRange(EqField field, bool slider);

// A control's value to the record's code (dB x 10 + 300 for gain, Hz, Q x 10) and back; the
// reverse clamps to the control's range.
int eqCodeFromControl(EqField field, bool slider, int value);
int eqControlFromCode(EqField field, bool slider, int code);

// Ids of the other controls.
namespace eqid {
constexpr int Plot = 1152;
constexpr int BandTitle = 1158;
constexpr int GainTitle = 1153;
constexpr int FrequencyTitle = 1154;
constexpr int QTitle = 1155;
constexpr int ColumnTitles[5] = { 1093, 1099, 1103, 1107, 1112 };
constexpr int BandFrames[5] = { 1088, 1089, 1090, 1091, 1092 };
constexpr int LowCutSwitch = 1156;
constexpr int Reset = 1157;
} // namespace eqid

} // namespace arx
