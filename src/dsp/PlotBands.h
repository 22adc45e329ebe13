#pragma once

#include "dsp/BandKinds.h"
#include "dsp/FrequencyGrid.h"
#include "dsp/PlotGeometry.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace arx {

constexpr int PlotBandCapacity = 20;

// One band as the response plot draws it. For the high- and low-pass kinds q is the slope
// index 0..6 and enabled says whether the filter is in; equaliser bands are always drawn.
struct PlotBand {
    double gain = 0.0; // dB
    double q = 1.0;
    double frequency = 1000.0; // Hz
    int shape = EqShapePeaking;
    int kind = BandKindEqualiser;
    int enabled = 0;
};

using PlotBandCurves = std::array<ResponseCurve, PlotBandCapacity>;

// Fills curves[0..bands.size()) with each band's response and total with their sum.
void computePlotCurves(
    std::span<const PlotBand> bands, PlotBandCurves &curves, ResponseCurve &total);

// A band's fill colour, ARGB, translucent so that the bands show through each other.
std::uint32_t plotBandColour(int index);

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};
// The closed outline of a curve: from the middle line at the left edge, through the curve at
// every grid frequency inside the axis, to the middle line at the right edge.
std::vector<PlotPoint> curveOutline(const PlotAxes &axes, const ResponseCurve &curve);

// What the plot shows beside a dragged point: "1.25 kHz  +4.5 dB  Q 2.0" for an equaliser
// band, "80 Hz  low cut" for the high-pass.
std::string pointReadout(const PlotBand &band, const HandleValues &values);

} // namespace arx
