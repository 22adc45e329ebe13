#pragma once

#include "dsp/Biquad.h"

#include <optional>

namespace arx {

// The devices run their filters at this rate; the dynamics time constants use 96000 Hz.
constexpr double DEVICE_RATE = 48000.0;
constexpr double DynamicsRate = 96000.0;

// Crossover filter types, in the order of the type selectors.
enum CrossoverType : int {
    CrossoverButterworth1 = 0,
    CrossoverButterworth2 = 1,
    CrossoverBessel2 = 2,
    CrossoverLinkwitz2 = 3,
    CrossoverVariable = 4,
};

// A microphone equaliser band (any shape: units run shelf bands with these coefficients too).
// gainCode is dB x 10 + 300; qCode is the Q the dialog shows x 10.
Biquad micPeakingCoefficients(double frequency, int gainCode, int qCode);

// The microphone equaliser's low cut: a second-order Butterworth high-pass.
Biquad micLowCutCoefficients(double frequency);

// A loudspeaker equaliser band. gainCode / 10 - 18 is the gain in dB; qCode is Q x 10.
Biquad speakerPeakingCoefficients(double frequency, int gainCode, int qCode);

// The loudspeaker crossover filters; qCode (Q x 10) is read by CrossoverVariable only.
// A type outside 0..4 has no design.
std::optional<Biquad> crossoverHighPassCoefficients(int type, double frequency, int qCode);
std::optional<Biquad> crossoverLowPassCoefficients(int type, double frequency, int qCode);

// The compressor/limiter's smoothing factors and static curve, each as sent.
struct DynamicsCoefficients {
    double average; // level averaging, fixed
    double attack; // per-sample factor for the attack time
    double release; // per-sample factor for the release time
    double threshold; // how far below +24 dB, in factors of 2 (6.0206 dB), negated
    double slope; // 1 / ratio - 1
};

// attackMs and releaseMs in milliseconds, thresholdCode = -dB, ratioCode = ratio x 10.
// e is the store's eulerConstant, which the devices' designs have always been computed with.
DynamicsCoefficients dynamicsCoefficients(
    int thresholdCode, int attackMs, int releaseMs, int ratioCode, double e);

} // namespace arx
