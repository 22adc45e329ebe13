#pragma once

#include "dsp/PlotGeometry.h"

#include <span>
#include <string>
#include <vector>

namespace arx {

// One draggable point of the response plot.
struct PlotHandle {
    int number = 0; // 1-based, unique
    int kind = 0; // BandKind of its band
    std::string label; // "1".."n" for equaliser bands, "H" high-pass, "L" low-pass
    bool selected = false;
    HandleRect rect;
    HandleValues values; // what the handle stands for: as placed, or as dragged and clamped
};

// The plot's handles and their drag, without a window. The handles are built once from the
// band count and kinds; every placement uses the axes the caller passes, which are always
// the plot's current ones, so a handle reports the values of the place it is drawn at even
// after a resize.
class PlotHandles {
public:
    void build(std::span<const int> kinds);
    bool isBuilt() const { return built_; }

    // Puts handle i at (frequencies[i], gains[i]).
    void placeAll(
        const PlotAxes &axes, std::span<const double> frequencies, std::span<const double> gains);

    const std::vector<PlotHandle> &handles() const { return handles_; }
    int count() const { return static_cast<int>(handles_.size()); }

    // The first handle whose square (edges included) holds the point, or -1.
    int hitTest(int x, int y) const;
    int selected() const; // -1 when none
    void select(int index); // -1 clears the selection

    // A press on handle `index` at (x, y): remembers the pointer's offset from the corner.
    void beginDrag(int index, int x, int y);
    bool isDragging() const { return dragging_; }
    // Moves the dragged handle with the pointer and returns the clamped values its centre
    // stands for. The handle is left where the pointer put it until the next placement.
    HandleValues dragTo(const PlotAxes &axes, int x, int y);
    void endDrag() { dragging_ = false; }

private:
    std::vector<PlotHandle> handles_;
    bool built_ = false;
    bool dragging_ = false;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

// The smallest positive number not yet taken.
int firstFreeHandleNumber(std::span<const PlotHandle> handles);

} // namespace arx
