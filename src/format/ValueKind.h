#pragma once

namespace arx {

// The integer code every knob carries. It selects the text a value is shown with, how the
// knob steps it and how a typed number is turned back into a code. Codes not named here are
// legal and format as "NULL"; cast them in with static_cast<ValueKind>(code).
enum class ValueKind : int {
    None = 0,
    Frequency = 4, // Hz, accelerates while held
    Q = 7, // tenths
    FrequencyBelowPartner = 8, // Hz, kept at or below its partner knob
    FrequencyAbovePartner = 9, // Hz, kept at or above its partner knob
    Gain = 10, // tenths of a dB around code 150
    Level = 11, // half dB steps down from +24 dB
    SpeakerGain = 12, // tenths of a dB around code 180, as the processor applies it
    LevelDbu = 42,
    Delay = 43, // samples at 48 kHz up to 10 ms, whole ms beyond
    Percentage = 44,
    Threshold = 45, // dB below full scale
    Attack = 46, // ms
    Release = 47, // ms
    Ratio = 48, // tenths, shown as 1:x
};

} // namespace arx
