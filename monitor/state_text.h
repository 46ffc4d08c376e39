#pragma once
// How the monitor keeps numbers and flags as text, and shows durations.

#include <string>

namespace tv {

// A flag is the text "0" or "1", parsed leniently and compared as a number.
bool isFlag(const std::string& tag, int value);

// Whole seconds, rounded half to even, as "h:mm". Estimates past the 16-bit count
// of seconds (9:06) still show their true time rather than wrapping or failing.
std::string formatDuration(double seconds);

}  // namespace tv
