#include "controls/ImageButtonLogic.h"

namespace arx {

int shownButtonImage(ButtonMode mode, int state, bool pressed, bool hovered, bool hasHoverImage)
{
    if (mode == ButtonMode::Toggle)
        return state != 0 ? 2 : 1;
    if (pressed)
        return 2;
    if (hovered && hasHoverImage)
        return 3;
    return 1;
}

PixelSize buttonSizeFor(int sizeMode, PixelSize current, PixelSize firstImage)
{
    if (firstImage.width <= 0 || firstImage.height <= 0)
        return current;
    switch (sizeMode) {
    case 1:
        return firstImage;
    case 2:
        return { firstImage.width / 2, firstImage.height / 2 };
    default:
        return current;
    }
}

} // namespace arx
