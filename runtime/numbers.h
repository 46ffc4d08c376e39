#pragma once
// Number conventions shared by the window logic of both programs: state kept as
// decimal text, parsed back leniently, rounded half to even.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tv {

// Raised where the original arithmetic overflows its integer range.
class OverflowError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raised for a division by zero in floating-point arithmetic that the caller must see.
class DivisionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Lenient parse: leading number of the text, blanks skipped, "&H"/"&O" prefixes,
// anything unparsable is 0 ("" -> 0, "12abc" -> 12).
double parseNumber(std::string_view text);

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4), as a double.
double roundHalfEven(double value);

// Rounded into the signed 16- and 32-bit ranges; OverflowError outside them.
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// Decimal text with up to 15 significant digits, no trailing zeros ("0.91", "182", "1E+20").
std::string formatNumber(double value);

// "h:mm": hours without leading zero, minutes with two digits, seconds dropped.
std::string formatHoursMinutes(long long seconds);

}  // namespace tv
