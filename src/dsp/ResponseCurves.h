#pragma once

#include "dsp/BandKinds.h"
#include "dsp/Biquad.h"
#include "dsp/FrequencyGrid.h"

#include <array>

namespace arx {

// The drawn curves are designed at this notional rate; the devices run at another (see
// CoefficientDesigns.h), so the curve and the device filter are two separate computations.
constexpr double DISPLAY_RATE = 96000.0;

// 2 pi / 96000 as the curves have always been designed with, seven digits.
constexpr double DisplayDesignAnglePerHz = 6.544985e-05;

constexpr int SlopeCount = 7; // slope index n: Butterworth order n + 2, 12..48 dB per octave
constexpr int MaxSectionCount = 4;

// Marks section 0 of an odd order, which is a first-order section instead of a biquad.
constexpr double FirstOrderSection = -1.0;

// Damping d = 1 / (2Q) of each second-order section per slope index; 0 marks an absent
// section. The digits are the ones the curves have always been drawn with, including
// 0.8064616129 and 0.3086417953 (not 0.80645.. and 0.30864197..), which shape the drawn
// curve only slightly.
// clang-format off
inline constexpr std::array<std::array<double, MaxSectionCount>, SlopeCount> ButterworthOrderTable = {{
    {0.70422535, 0, 0, 0},
    {FirstOrderSection, 0.5, 0, 0},
    {0.92592593, 0.38167939, 0, 0},
    {FirstOrderSection, 0.8064616129, 0.3086417953, 0},
    {0.96153846, 0.70422535211, 0.2590673575, 0},
    {FirstOrderSection, 0.90909090909, 0.625, 0.2222222222},
    {0.98039216, 0.83333333, 0.55555556, 0.1953125},
}};
// clang-format on

// The high-pass curve reads the first section of slope index 6 with two digits swapped.
constexpr double HighPassSlope6FirstDamping = 0.98039126;

using SectionChain = std::array<Biquad, MaxSectionCount>;

// The display designs behind the curves, one per routine.
Biquad displayPeakingSection(double frequency, double gainDb, double bandwidth);
Biquad displayShelfSection(int shape, double frequency, double gainDb);
SectionChain displayLowPassSections(int slope, double frequency);
SectionChain displayHighPassSections(int slope, double frequency);

// The curves the response plot draws. Each overwrites the whole curve and allocates nothing.
// bandwidth is p = 1 / q; the centre snaps to the nearest grid point.
void peakingResponse(double frequency, double gainDb, double bandwidth, ResponseCurve &curve);
// shape is EqShapeLowShelf or EqShapeHighShelf; any other shape draws a flat curve.
void shelfResponse(int shape, double frequency, double gainDb, ResponseCurve &curve);
// slope is the slope index 0..6; others are taken as the nearest of these, as the
// controls show them.
void highPassResponse(int slope, double frequency, ResponseCurve &curve);
void lowPassResponse(int slope, double frequency, ResponseCurve &curve);

// The evaluation angle of grid point k at the display rate, with full-precision 2 pi.
double gridAngle(std::size_t k);

} // namespace arx
