#include "platform/utf8.h"

namespace tv {

long nextUtf8CodePoint(std::string_view text, std::size_t* pos) {
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

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (nextUtf8CodePoint(text, &pos) < 0) {
            return false;
        }
    }
    return true;
}

}  // namespace tv
