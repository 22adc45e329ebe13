#pragma once

#include <QImage>

namespace arx {

// The artwork by resource number, as the controls name it. PNG images and the knob and
// selector bitmaps are kept apart, as their numbers overlap. An unknown number gives a
// null image, and callers then draw nothing. User-interface thread only.
QImage pngImage(int id);
QImage bitmapImage(int id);

} // namespace arx
