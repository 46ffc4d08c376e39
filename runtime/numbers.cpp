#include "runtime/numbers.h"

#include <cctype>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

double parseRadix(std::string_view text, size_t pos, int radix) {
    double value = 0;
    for (; pos < text.size(); ++pos) {
        int c = std::tolower(static_cast<unsigned char>(text[pos]));
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        }
        if (digit < 0 || digit >= radix) {
            break;
        }
        value = value * radix + digit;
    }
    return value;
}

}  // namespace

double parseNumber(std::string_view text) {
    // Blanks are ignored anywhere in the number, so "1 2" reads as 12.
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c)) {
            compact.push_back(c);
        }
    }
    if (compact.size() >= 2 && compact[0] == '&') {
        char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(compact[1])));
        if (kind == 'h') {
            return parseRadix(compact, 2, 16);
        }
        if (kind == 'o') {
            return parseRadix(compact, 2, 8);
        }
    }
    size_t i = 0;
    std::string number;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) {
        number.push_back(compact[i++]);
    }
    bool digits = false;
    while (i < compact.size() && std::isdigit(static_cast<unsigned char>(compact[i]))) {
        number.push_back(compact[i++]);
        digits = true;
    }
    if (i < compact.size() && compact[i] == '.') {
        number.push_back(compact[i++]);
        while (i < compact.size() && std::isdigit(static_cast<unsigned char>(compact[i]))) {
            number.push_back(compact[i++]);
            digits = true;
        }
    }
    if (!digits) {
        return 0;
    }
    if (i < compact.size() &&
        (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) {
            exponent.push_back(compact[j++]);
        }
        bool expDigits = false;
        while (j < compact.size() && std::isdigit(static_cast<unsigned char>(compact[j]))) {
            exponent.push_back(compact[j++]);
            expDigits = true;
        }
        if (expDigits) {
            number += exponent;
        }
    }
    double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

double roundHalfEven(double value) {
    // nearbyint honours the current rounding mode, which is to-nearest-even by default.
    return std::nearbyint(value);
}

std::int16_t roundToInt16(double value) {
    double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max())) {
        throw OverflowError("Overflow");
    }
    return static_cast<std::int16_t>(r);
}

std::int32_t roundToInt32(double value) {
    double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max())) {
        throw OverflowError("Overflow");
    }
    return static_cast<std::int32_t>(r);
}

std::string formatNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value == 0) {
        return "0";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    size_t e = text.find('E');
    if (e == std::string::npos) {
        return text;
    }
    // "1.5E+20": keep the sign, drop leading zeros of the exponent.
    std::string mantissa = text.substr(0, e);
    char sign = text[e + 1];
    std::string digits = text.substr(e + 2);
    while (digits.size() > 1 && digits[0] == '0') {
        digits.erase(0, 1);
    }
    if (digits.size() < 2 && sign == '-') {
        digits = "0" + digits;
    }
    return mantissa + "E" + sign + digits;
}

std::string formatHoursMinutes(long long seconds) {
    std::string sign;
    if (seconds < 0) {
        sign = "-";
        seconds = -seconds;
    }
    long long hours = seconds / 3600;
    long long minutes = (seconds % 3600) / 60;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld", sign.c_str(), hours, minutes);
    return buffer;
}

}  // namespace tv
