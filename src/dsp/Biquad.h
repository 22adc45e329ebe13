#pragma once

namespace arx {

// One second-order section normalised to a0 = 1:
// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
// The identity section (b0 = 1, the rest 0) passes the signal unchanged.
struct Biquad {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;

    // Magnitude in dB at the angle theta (radians per sample), evaluated as the response
    // plot has always drawn it: numerator and denominator multiplied by e^(j theta).
    double magnitudeDb(double theta) const;
    // The same from the angle's cosine and sine, for callers that evaluate many sections at
    // one angle.
    double magnitudeDbAt(double cosTheta, double sinTheta) const;
};

// Divides every coefficient by a0, for designs that produce an unnormalised section.
Biquad normalised(double b0, double b1, double b2, double a0, double a1, double a2);

} // namespace arx
