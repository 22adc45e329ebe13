#include "dsp/ResponseCurves.h"

#include <algorithm>
#include <cmath>

namespace arx {

namespace {

constexpr double Ln2AsStored = 0.69314718;
constexpr double ShelfSlope = 1.05;
// Shelf corners are moved before the design so that the drawn shelf sits where the operator
// expects it: up for the low shelf, down for the high shelf.
constexpr double LowShelfCornerScale = 1.2727272727;
constexpr double HighShelfCornerScale = 0.76923076923;
constexpr double ZeroA0Replacement = 1e-10;

enum class Pass { Low, High };

double nonZero(double a0)
{
    return a0 == 0.0 ? ZeroA0Replacement : a0;
}

SectionChain butterworthSections(Pass pass, int slope, double frequency)
{
    slope = std::clamp(slope, 0, SlopeCount - 1);
    std::array<double, MaxSectionCount> damping = ButterworthOrderTable[slope];
    if (pass == Pass::High && slope == 6)
        damping[0] = HighPassSlope6FirstDamping;

    const double omega0 = frequency * DisplayDesignAnglePerHz;
    const double c = std::cos(omega0);
    const double s = std::sin(omega0);
    const double t = std::tan(omega0 / 2.0);

    SectionChain sections {}; // identity sections: 0 dB
    for (int k = 0; k < MaxSectionCount; ++k) {
        const double d = damping[k];
        if (d == FirstOrderSection) {
            sections[k] = pass == Pass::Low
                ? normalised(t, t, 0.0, nonZero(1.0 + t), t - 1.0, 0.0)
                : normalised(1.0, -1.0, 0.0, nonZero(t + 1.0), t - 1.0, 0.0);
        } else if (d != 0.0) {
            const double a0 = nonZero(1.0 + d * s);
            const double a1 = -2.0 * c;
            const double a2 = 1.0 - d * s;
            sections[k] = pass == Pass::Low
                ? normalised((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, a0, a1, a2)
                : normalised((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, a0, a1, a2);
        }
    }
    return sections;
}

// Cosine and sine of every grid angle, computed once: every curve needs the same ones.
struct GridAngles {
    std::array<double, GridPointCount> cosines;
    std::array<double, GridPointCount> sines;

    GridAngles()
    {
        for (std::size_t k = 0; k < GridPointCount; ++k) {
            cosines[k] = std::cos(gridAngle(k));
            sines[k] = std::sin(gridAngle(k));
        }
    }
};

const GridAngles &gridAngles()
{
    static const GridAngles angles;
    return angles;
}

void evaluate(const Biquad &section, ResponseCurve &curve)
{
    const GridAngles &angles = gridAngles();
    for (std::size_t k = 0; k < GridPointCount; ++k)
        curve[k] = section.magnitudeDbAt(angles.cosines[k], angles.sines[k]);
}

// The sum, in dB, of the sections' magnitudes.
void evaluate(const SectionChain &sections, ResponseCurve &curve)
{
    const GridAngles &angles = gridAngles();
    for (std::size_t k = 0; k < GridPointCount; ++k) {
        double sum = 0.0;
        for (const Biquad &section : sections)
            sum += section.magnitudeDbAt(angles.cosines[k], angles.sines[k]);
        curve[k] = sum;
    }
}

} // namespace

double gridAngle(std::size_t k)
{
    return FrequencyGrid[k] * 6.283185307179586 / DISPLAY_RATE;
}

Biquad displayPeakingSection(double frequency, double gainDb, double bandwidth)
{
    const double f0 = FrequencyGrid[nearestGridIndex(frequency)];
    const double A = std::pow(10.0, gainDb / 40.0);
    const double omega0 = f0 * DisplayDesignAnglePerHz;
    const double alpha
        = std::sin(omega0) * std::sinh(Ln2AsStored * bandwidth * omega0 / std::sin(omega0));
    const double a0 = 1.0 + alpha / A;
    return normalised(1.0 + alpha * A, -2.0 * std::cos(omega0), 1.0 - alpha * A, a0,
        -2.0 * std::cos(omega0), 1.0 - alpha / A);
}

Biquad displayShelfSection(int shape, double frequency, double gainDb)
{
    if (gainDb == 0.0 || (shape != EqShapeLowShelf && shape != EqShapeHighShelf))
        return {};

    const double A = std::pow(10.0, gainDb / 40.0);
    const double S = ShelfSlope;
    const double omega = frequency * DisplayDesignAnglePerHz
        * (shape == EqShapeLowShelf ? LowShelfCornerScale : HighShelfCornerScale);
    const double c = std::cos(omega);
    const double s = std::sin(omega);
    const double beta
        = 2.0 * std::sqrt(A) * (s / 2.0) * std::sqrt((1.0 / S - 1.0) * (A + 1.0 / A) + 2.0);

    if (shape == EqShapeLowShelf) {
        const double a0 = (A + 1.0) + (A - 1.0) * c + beta;
        return { A * ((A + 1.0) - (A - 1.0) * c + beta) / a0,
            2.0 * A * ((A - 1.0) - (A + 1.0) * c) / a0, A * ((A + 1.0) - (A - 1.0) * c - beta) / a0,
            -2.0 * ((A - 1.0) + (A + 1.0) * c) / a0, ((A + 1.0) + (A - 1.0) * c - beta) / a0 };
    }
    const double a0 = (A + 1.0) - (A - 1.0) * c + beta;
    return { A * ((A + 1.0) + (A - 1.0) * c + beta) / a0,
        -2.0 * A * ((A - 1.0) + (A + 1.0) * c) / a0, A * ((A + 1.0) + (A - 1.0) * c - beta) / a0,
        2.0 * ((A - 1.0) - (A + 1.0) * c) / a0, ((A + 1.0) - (A - 1.0) * c - beta) / a0 };
}

SectionChain displayLowPassSections(int slope, double frequency)
{
    return butterworthSections(Pass::Low, slope, frequency);
}

SectionChain displayHighPassSections(int slope, double frequency)
{
    return butterworthSections(Pass::High, slope, frequency);
}

void peakingResponse(double frequency, double gainDb, double bandwidth, ResponseCurve &curve)
{
    evaluate(displayPeakingSection(frequency, gainDb, bandwidth), curve);
}

void shelfResponse(int shape, double frequency, double gainDb, ResponseCurve &curve)
{
    evaluate(displayShelfSection(shape, frequency, gainDb), curve);
}

void highPassResponse(int slope, double frequency, ResponseCurve &curve)
{
    evaluate(displayHighPassSections(slope, frequency), curve);
}

void lowPassResponse(int slope, double frequency, ResponseCurve &curve)
{
    evaluate(displayLowPassSections(slope, frequency), curve);
}

} // namespace arx
