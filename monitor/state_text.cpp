#include "monitor/state_text.h"

#include <cmath>

#include "runtime/numbers.h"

namespace tv {

bool isFlag(const std::string& tag, int value) {
    return parseNumber(tag) == value;
}

std::string formatDuration(double seconds) {
    // Far beyond any battery; keeps the conversion to an integer defined.
    constexpr double kLimit = 1e15;
    if (!std::isfinite(seconds)) {
        seconds = 0;
    }
    seconds = std::fmax(-kLimit, std::fmin(kLimit, seconds));
    return formatHoursMinutes(static_cast<long long>(roundHalfEven(seconds)));
}

}  // namespace tv
