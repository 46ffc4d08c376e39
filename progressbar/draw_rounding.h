#pragma once
// Rounding of drawing coordinates, shared by the bar's drawing files.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "runtime/numbers.h"

namespace tv {

// Half to even, as all of the bar's arithmetic rounds. A coordinate beyond 32 bits lies
// far off any surface, so it is held at the limit instead of failing the redraw.
inline std::int32_t roundCoordinate(double value) {
    double r = roundHalfEven(value);
    if (!(r == r)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(r, double{std::numeric_limits<std::int32_t>::min()},
                                                double{std::numeric_limits<std::int32_t>::max()}));
}

}  // namespace tv
