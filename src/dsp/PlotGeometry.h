#pragma once

#include <array>
#include <string>
#include <vector>

namespace arx {

// The rectangle the response plot draws its axes in, in client pixels.
struct PlotArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // The 0 dB line of a symmetric range, and half the height, as whole pixels.
    int middle() const { return (top + bottom) / 2; }
    int halfHeight() const { return (bottom - top) / 2; }
};

// A framed plot keeps margins for its labels: a twentieth of the width on each side, a
// twentieth of the height above and a tenth below. An unframed plot uses the whole client.
PlotArea plotAreaFor(int clientWidth, int clientHeight, bool framed);

// Frequency on a logarithmic x axis and dB on a linear y axis over one plot area. Each map
// has its exact inverse beside it.
struct PlotAxes {
    PlotArea area;
    double fmin = 20.0;
    double fmax = 20000.0;
    double dBmin = -15.0;
    double dBmax = 15.0;

    double xOf(double frequency) const;
    double frequencyAt(double x) const;
    // A curve value's y; values beyond the range are drawn on the area's edge.
    double yOf(double dB) const;
    double gainAt(double y) const; // inverse of yOf inside the range
};

// Handles are 16 x 16 squares centred on their point.
constexpr int HandleSize = 16;
constexpr int HandleHalf = HandleSize / 2;

struct HandleRect {
    int left = 0;
    int top = 0;
    int right() const { return left + HandleSize; }
    int bottom() const { return top + HandleSize; }
    int centreX() const { return left + HandleHalf; }
    int centreY() const { return top + HandleHalf; }
    // Edges included, as the plot has always hit-tested its handles.
    bool contains(int x, int y) const
    {
        return x >= left && x <= right() && y >= top && y <= bottom();
    }
    friend bool operator==(const HandleRect &, const HandleRect &) = default;
};

struct HandleValues {
    double frequency = 0.0;
    double gain = 0.0; // dB
};

// Where a handle sits for a frequency and gain, and what its position stands for. The
// vertical map measures from the middle line in steps of dBmax per half height, so the
// range is taken as symmetric. Positions are truncated to whole pixels; the truncation
// tolerates the rounding of the inverse map, so a handle placed from the values it reports
// stays on its pixel instead of creeping by one.
HandleRect handleRectFor(const PlotAxes &axes, const HandleValues &values);
HandleValues handleValuesAt(const PlotAxes &axes, int centreX, int centreY);

// The band kinds' limits on a dragged point: equaliser bands anywhere in the range, the
// high-pass (low cut) up to 200 Hz, both filters at 0 dB.
constexpr double HighPassHandleMaxFrequency = 200.0;
HandleValues clampHandleValues(int kind, const HandleValues &values, const PlotAxes &axes);

// The grid and labels: horizontal lines at tenths of the height, vertical lines at the grid
// frequencies, the bold ones at the decades.
inline constexpr std::array<int, 28> PlotGridFrequencies
    = { 20, 30, 40, 50, 60, 70, 80, 90, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 2000,
          3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000 };
bool isDecadeLine(int frequency);

struct AxisLabel {
    std::string text;
    double at = 0.0; // y of a dB label, x of a frequency label
};
// "-15", "-12", ..., "12" on lines 0..9 and "15dB" on the top line.
std::vector<AxisLabel> gainLabels(const PlotAxes &axes);
// "20", "100", "1K", "10K", "20K".
std::vector<AxisLabel> frequencyLabels(const PlotAxes &axes);

} // namespace arx
