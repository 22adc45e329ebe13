#pragma once

namespace arx {

// The long axis of a bitmap slider: where the thumb's centre stands for a position, and
// which position a pixel stands for. Horizontal sliders measure from the left edge with
// the left and right margins and the thumb's width; vertical ones from the top with the top
// and bottom margins and the thumb's height, so that the minimum is at the top.
//
// Both maps truncate, so several positions can share a pixel and a pixel can fall between
// two positions. They are computed in exact integer arithmetic, which makes them agree at
// both ends and keeps every round trip from moving forward or back by more than one step
// of the coarser grid.
struct SliderAxis {
    int length = 0; // of the channel image, pixels
    int startMargin = 0;
    int endMargin = 0;
    int thumbSize = 0;
    int minimum = 0;
    int maximum = 100;

    // The thumb centre's pixel for `position`, which is clamped to the range first.
    int pixelOf(int position) const;
    // The position whose thumb centre is at `pixel`, not clamped to the range.
    int positionOf(int pixel) const;

    // The pixels the thumb centre can stand on: those of the minimum and the maximum.
    int firstPixel() const { return startMargin + thumbSize / 2; }
    int lastPixel() const { return firstPixel() + travel(); }

    int clampPixel(int pixel) const;
    int clampPosition(int position) const;

private:
    int travel() const { return length - endMargin - startMargin - thumbSize; }
};

} // namespace arx
