#include "tools/reg/reg_text.h"

#include "runtime/strings.h"

namespace tv::reg {
namespace {

void appendUtf8(long code, std::string* out) {
    if (code < 0x80) {
        *out += static_cast<char>(code);
    } else if (code < 0x800) {
        *out += static_cast<char>(0xC0 | (code >> 6));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out += static_cast<char>(0xE0 | (code >> 12));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (code >> 18));
        *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void appendUnit(unsigned unit, std::vector<std::uint8_t>* out) {
    out->push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out->push_back(static_cast<std::uint8_t>(unit >> 8));
}

}  // namespace

bool utf8ToUtf16le(std::string_view text, std::vector<std::uint8_t>* out) {
    out->clear();
    for (std::size_t pos = 0; pos < text.size();) {
        long code = nextUtf8CodePoint(text, &pos);
        if (code < 0) {
            return false;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            appendUnit(static_cast<unsigned>(0xD800 + (code >> 10)), out);
            appendUnit(static_cast<unsigned>(0xDC00 + (code & 0x3FF)), out);
        } else {
            appendUnit(static_cast<unsigned>(code), out);
        }
    }
    return true;
}

bool utf16leToUtf8(const std::uint8_t* data, std::size_t size, std::string* out) {
    out->clear();
    if (size % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < size; i += 2) {
        long unit = data[i] | (data[i + 1] << 8);
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= size) {
                return false;
            }
            long low = data[i + 2] | (data[i + 3] << 8);
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(unit, out);
    }
    return true;
}

bool decodeRegFileBytes(const std::string& bytes, std::string* text, std::string* error) {
    auto data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        if (!utf16leToUtf8(data + 2, bytes.size() - 2, text)) {
            *error = "the file is not valid UTF-16 text";
            return false;
        }
        return true;
    }
    if (bytes.size() >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        *error = "big-endian UTF-16 files are not supported";
        return false;
    }
    std::string_view body(bytes);
    if (body.substr(0, 3) == "\xEF\xBB\xBF") {
        body.remove_prefix(3);
    }
    if (!isValidUtf8(body)) {
        *error = "the file is neither UTF-16 with a byte-order mark nor UTF-8 text";
        return false;
    }
    *text = std::string(body);
    return true;
}

std::string encodeUtf16File(std::string_view text) {
    std::vector<std::uint8_t> units;
    utf8ToUtf16le(text, &units);
    std::string out = "\xFF\xFE";
    out.append(units.begin(), units.end());
    return out;
}

}  // namespace tv::reg
