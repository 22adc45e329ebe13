#pragma once

#include <QFont>

namespace arx {

// The faces the controls ask for, each with families that exist on a Linux desktop behind
// it, so that the look survives where the Windows fonts are missing. Chinese glyphs come
// from "Noto Sans CJK SC".

// "Arial" at a size in points (image-button captions).
QFont arialPointFont(int points);
// "Arial" whose character cell (ascent + descent) is `cellHeight` pixels (selector texts).
QFont arialCellFont(int cellHeight);
// "Arial Unicode MS", bold, at a size in points (labels).
QFont unicodeBoldFont(int points);
// "SimSun-ExtB", bold, at a size in points (the network settings dialog's labels).
QFont simSunBoldFont(int points);
// "SimSun-ExtB" with a character cell `cellHeight` pixels high (SimSun's cell is its em)
// and, when `averageWidth` is above 0, characters that wide on average (lists, headers).
QFont simSunCellFont(int cellHeight, int averageWidth);

} // namespace arx
