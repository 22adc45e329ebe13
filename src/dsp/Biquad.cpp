#include "dsp/Biquad.h"

#include <cmath>

namespace arx {

double Biquad::magnitudeDb(double theta) const
{
    return magnitudeDbAt(std::cos(theta), std::sin(theta));
}

double Biquad::magnitudeDbAt(double cosTheta, double sinTheta) const
{
    const double numeratorReal = b0 * cosTheta + b1 + b2 * cosTheta;
    const double numeratorImaginary = b0 * sinTheta - b2 * sinTheta;
    const double denominatorReal = cosTheta + a1 + a2 * cosTheta;
    const double denominatorImaginary = sinTheta - a2 * sinTheta;
    return 20.0
        * std::log10(std::sqrt(
            (numeratorReal * numeratorReal + numeratorImaginary * numeratorImaginary)
            / (denominatorReal * denominatorReal + denominatorImaginary * denominatorImaginary)));
}

Biquad normalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    return { b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0 };
}

} // namespace arx
