#pragma once
// The font and picture objects the bar holds by reference. Each owns its raster handle
// and gives it back when the last reference goes.

#include <optional>

#include "progressbar/gdi.h"

namespace tv {

class StdFont {
  public:
    explicit StdFont(Gdi& gdi, FontInfo info = {});
    ~StdFont();
    StdFont(const StdFont&) = delete;
    StdFont& operator=(const StdFont&) = delete;

    const FontInfo& info() const { return info_; }
    // Made on first use, so a bar that never shows text never makes one.
    GdiObj hFont() const;

  private:
    Gdi& gdi_;
    FontInfo info_;
    mutable GdiObj handle_;
};

class StdPicture {
  public:
    // A bitmap picture.
    StdPicture(Gdi& gdi, Bitmap pixels);
    // A picture without a bitmap handle, as an icon or an empty picture has.
    explicit StdPicture(Gdi& gdi);
    ~StdPicture();
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    GdiObj Handle() const { return handle_; }
    const std::optional<Bitmap>& pixels() const { return pixels_; }

  private:
    Gdi& gdi_;
    std::optional<Bitmap> pixels_;
    GdiObj handle_;
};

}  // namespace tv
