#include "dsp/PlotHandles.h"

#include "dsp/BandKinds.h"

#include <algorithm>

namespace arx {

int firstFreeHandleNumber(std::span<const PlotHandle> handles)
{
    for (int number = 1;; ++number) {
        const bool taken = std::any_of(handles.begin(), handles.end(),
            [number](const PlotHandle &handle) { return handle.number == number; });
        if (!taken)
            return number;
    }
}

void PlotHandles::build(std::span<const int> kinds)
{
    handles_.clear();
    for (const int kind : kinds) {
        PlotHandle handle;
        handle.number = firstFreeHandleNumber(handles_);
        handle.kind = kind;
        handle.label = kind == BandKindHighPass ? "H"
            : kind == BandKindLowPass           ? "L"
                                                : std::to_string(handle.number);
        handles_.push_back(handle);
    }
    built_ = true;
    dragging_ = false;
}

void PlotHandles::placeAll(
    const PlotAxes &axes, std::span<const double> frequencies, std::span<const double> gains)
{
    for (std::size_t i = 0; i < handles_.size() && i < frequencies.size() && i < gains.size();
         ++i) {
        handles_[i].values = { frequencies[i], gains[i] };
        handles_[i].rect = handleRectFor(axes, handles_[i].values);
    }
}

int PlotHandles::hitTest(int x, int y) const
{
    for (std::size_t i = 0; i < handles_.size(); ++i)
        if (handles_[i].rect.contains(x, y))
            return static_cast<int>(i);
    return -1;
}

int PlotHandles::selected() const
{
    for (std::size_t i = 0; i < handles_.size(); ++i)
        if (handles_[i].selected)
            return static_cast<int>(i);
    return -1;
}

void PlotHandles::select(int index)
{
    for (std::size_t i = 0; i < handles_.size(); ++i)
        handles_[i].selected = static_cast<int>(i) == index;
}

void PlotHandles::beginDrag(int index, int x, int y)
{
    dragging_ = true;
    offsetX_ = x - handles_[static_cast<std::size_t>(index)].rect.left;
    offsetY_ = y - handles_[static_cast<std::size_t>(index)].rect.top;
}

HandleValues PlotHandles::dragTo(const PlotAxes &axes, int x, int y)
{
    const int index = selected();
    if (index < 0)
        return {};
    PlotHandle &handle = handles_[static_cast<std::size_t>(index)];
    handle.rect.left = x - offsetX_;
    handle.rect.top = y - offsetY_;
    handle.values = clampHandleValues(
        handle.kind, handleValuesAt(axes, handle.rect.centreX(), handle.rect.centreY()), axes);
    return handle.values;
}

} // namespace arx
