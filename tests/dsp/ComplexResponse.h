#pragma once

#include "dsp/Biquad.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace arx::test {

// |H(e^jw)| in dB of b0 + b1 z^-1 + b2 z^-2 over 1 + a1 z^-1 + a2 z^-2, evaluated directly with
// complex numbers: a check that does not share the code under test's own evaluation.
inline double complexMagnitudeDb(
    double b0, double b1, double b2, double a1, double a2, double frequency, double sampleRate)
{
    const std::complex<double> zInverse
        = std::polar(1.0, -2.0 * std::numbers::pi * frequency / sampleRate);
    const std::complex<double> numerator = b0 + b1 * zInverse + b2 * zInverse * zInverse;
    const std::complex<double> denominator = 1.0 + a1 * zInverse + a2 * zInverse * zInverse;
    return 20.0 * std::log10(std::abs(numerator / denominator));
}

inline double complexMagnitudeDb(const Biquad &section, double frequency, double sampleRate)
{
    return complexMagnitudeDb(
        section.b0, section.b1, section.b2, section.a1, section.a2, frequency, sampleRate);
}

} // namespace arx::test
