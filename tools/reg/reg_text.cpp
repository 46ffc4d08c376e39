#include "tools/reg/reg_text.h"

namespace tv::reg {
namespace {

// Decodes one UTF-8 sequence at pos; returns the code point, or -1 when malformed.
long nextCodePoint(std::string_view text, std::size_t* pos) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(*pos);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || *pos + static_cast<std::size_t>(length) > text.size()) {
        return -1;
    }
    long code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        unsigned char next = byte(*pos + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            return -1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return -1;  // overlong forms and surrogates are not text
    }
    *pos += static_cast<std::size_t>(length);
    return code;
}

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

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (nextCodePoint(text, &pos) < 0) {
            return false;
        }
    }
    return true;
}

bool utf8ToUtf16le(std::string_view text, std::vector<std::uint8_t>* out) {
    out->clear();
    for (std::size_t pos = 0; pos < text.size();) {
        long code = nextCodePoint(text, &pos);
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
