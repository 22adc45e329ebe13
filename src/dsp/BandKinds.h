#pragma once

namespace arx {

// Equaliser band shapes, as stored in records and sent to units.
enum EqShape : int { EqShapePeaking = 0, EqShapeLowShelf = 1, EqShapeHighShelf = 2 };

// What a band of a response plot is.
enum BandKind : int { BandKindEqualiser = 1, BandKindHighPass = 2, BandKindLowPass = 3 };

} // namespace arx
