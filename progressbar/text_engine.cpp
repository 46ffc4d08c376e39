#include "progressbar/text_engine.h"

#include <algorithm>
#include <cstdint>

namespace tv {

TextExtent BlockTextEngine::measure(const FontInfo&, std::string_view text) {
    return {static_cast<int>(text.size()) * advance, lineHeight};
}

void BlockTextEngine::draw(Bitmap& target, const FontInfo&, std::string_view text, Point origin,
                           const Rect& clip, Color colour) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            continue;
        }
        std::int64_t cellX = origin.x + static_cast<std::int64_t>(i) * advance;
        std::int64_t x0 = std::max<std::int64_t>(cellX + 1, clip.left);
        std::int64_t x1 = std::min<std::int64_t>(cellX + 5, clip.right);
        std::int64_t y0 = std::max<std::int64_t>(std::int64_t{origin.y} + 3, clip.top);
        std::int64_t y1 = std::min<std::int64_t>(std::int64_t{origin.y} + 10, clip.bottom);
        for (std::int64_t y = y0; y < y1; ++y) {
            for (std::int64_t x = x0; x < x1; ++x) {
                target.at(static_cast<int>(x), static_cast<int>(y)) = colour;
            }
        }
    }
}

}  // namespace tv
