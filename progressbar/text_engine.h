#pragma once
// What the raster needs of a font renderer: measure one line, paint it in one colour.

#include <string>
#include <string_view>

#include "progressbar/raster_types.h"

namespace tv {

struct FontInfo {
    std::string name = "MS Sans Serif";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    bool operator==(const FontInfo&) const = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

class TextEngine {
  public:
    virtual ~TextEngine() = default;
    virtual TextExtent measure(const FontInfo& font, std::string_view text) = 0;
    // Paints the glyphs with the text's top left at origin; pixels outside clip keep
    // their colour. clip lies inside target.
    virtual void draw(Bitmap& target, const FontInfo& font, std::string_view text, Point origin,
                      const Rect& clip, Color colour) = 0;
};

// A fixed font of solid blocks: every character is a 6 x 13 cell, and every character
// but the blank fills columns 1-4 and rows 3-9 of its cell. Text placement can then be
// checked pixel for pixel on any machine.
class BlockTextEngine final : public TextEngine {
  public:
    static constexpr int advance = 6;
    static constexpr int lineHeight = 13;

    TextExtent measure(const FontInfo& font, std::string_view text) override;
    void draw(Bitmap& target, const FontInfo& font, std::string_view text, Point origin,
              const Rect& clip, Color colour) override;
};

}  // namespace tv
