#pragma once
// The character height a point size gives at the printer's resolution.
#include <cstdint>

// Minus the character height in dots: -(int)(resolution x points / 72 + 0.5).
inline int32_t FontHeightForPoints(int resolution, int points) {
    return -int32_t(double(resolution) * points / 72.0 + 0.5);
}
