#pragma once
// Text for the raster from real fonts. Needs a QGuiApplication.

#include <QFont>
#include <QFontMetrics>
#include <optional>

#include "progressbar/text_engine.h"

namespace tv {

class QtTextEngine final : public TextEngine {
  public:
    // The family is asked for by name; where it is not installed the nearest sans font
    // stands in. Sizes are points at 96 dpi, like the raster's pixels, and glyphs are not
    // smoothed, so every pixel is either text colour or untouched.
    static QFont toQFont(const FontInfo& font);

    TextExtent measure(const FontInfo& font, std::string_view text) override;
    void draw(Bitmap& target, const FontInfo& font, std::string_view text, Point origin,
              const Rect& clip, Color colour) override;

  private:
    const QFontMetrics& metricsFor(const FontInfo& font);

    FontInfo cachedInfo_;
    std::optional<QFont> cachedFont_;
    std::optional<QFontMetrics> cachedMetrics_;
};

}  // namespace tv
