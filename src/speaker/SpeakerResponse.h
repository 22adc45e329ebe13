#pragma once

#include "dsp/FrequencyGrid.h"
#include "model/SpeakerStore.h"

namespace arx {

// What a processor channel does to the signal: the seven band sections and the two crossover
// sections exactly as they are designed for sending (at the device rate of 48 kHz), evaluated
// on the display grid and summed in dB. The Variable crossover's Q rule is applied to a copy,
// so that the curve is the one the processor gets. A crossover type without a design adds
// nothing.
void channelResponse(const SpeakerChannel &channel, ResponseCurve &curve);

// The response view's axes: frequency on a log scale from 20 Hz to 20 kHz across `width`
// pixels, dB linear from `topDb` at y 0 to `bottomDb` at `height`. Forward and inverse pairs.
struct ResponseAxes {
    double width;
    double height;
    double topDb;
    double bottomDb;

    static constexpr double LowestFrequency = 20.0;
    static constexpr double HighestFrequency = 20000.0;

    double x(double frequency) const;
    double frequency(double x) const;
    double y(double db) const;
    double db(double y) const;
};

} // namespace arx
