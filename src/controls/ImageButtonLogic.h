#pragma once

namespace arx {

// Which of an image button's pictures is shown, and how big the button is.
enum class ButtonMode { Push = 0, Toggle = 1 };

// Image 1: push normal / toggle off; image 2: push pressed / toggle on; image 3: push hover.
int shownButtonImage(ButtonMode mode, int state, bool pressed, bool hovered, bool hasHoverImage);

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize &) const = default;
};

// Size mode 0 keeps the button's size (images are stretched to it), 1 takes the first
// image's size, 2 half of it. Without a first image the button keeps its size.
PixelSize buttonSizeFor(int sizeMode, PixelSize current, PixelSize firstImage);

} // namespace arx
