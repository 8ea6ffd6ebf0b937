#pragma once
// Colour maps of the contour views: viridis (perceptually uniform, dark
// violet to yellow) for deflections, and a diverging map centred on zero
// for stresses, blue for compression (negative) and red for tension, as
// the symbol views colour them.
#include "graphics/Canvas.h"

namespace velta {

// t from 0 (dark violet) to 1 (yellow); clamped.
Color viridis(double t);
// t from -1 (deep blue) through 0 (white) to +1 (deep red); clamped.
Color diverging(double t);

// How a contour view colours a value: viridis over [lo, hi], or the
// diverging map scaled by the larger magnitude of lo and hi so that zero
// stays white.
struct ColourScale {
    enum class Kind { Sequential, Diverging } kind = Kind::Sequential;
    double lo = 0, hi = 0;
    Color colour(double v) const;
};

} // namespace velta
