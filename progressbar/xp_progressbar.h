#pragma once
// The self-drawn, double-buffered progress bar with ten drawing styles. It paints into a
// back buffer and hands the window one block copy per redraw.

#include <cstdint>
#include <memory>
#include <string>

#include "progressbar/control_host.h"
#include "progressbar/gdi.h"
#include "progressbar/property_bag.h"
#include "progressbar/std_objects.h"

namespace tv {

// Values of Scrolling; anything else draws as Smooth.
enum BarStyle : std::int32_t {
    Segmented = 0,
    Smooth = 1,
    Searching = 2,
    Flat = 3,
    Etched = 4,
    Shaded = 5,
    Dark = 6,
    Hatched = 7,
    Picture = 8,
    Glossy = 9,
};

// The drawn percentage of a public value, and back. Throw OverflowError when a step
// leaves 32 bits and DivisionError when Max equals Min.
std::int32_t mapValueToPercent(std::int32_t value, std::int32_t min, std::int32_t max);
std::int32_t mapPercentToValue(std::int32_t percent, std::int32_t min, std::int32_t max);

class XP_ProgressBar {
  public:
    // Runs UserControl_Initialize: sets up the back buffer and draws the empty bar.
    XP_ProgressBar(ControlHost& host, Gdi& gdi);
    // Runs UserControl_Terminate.
    ~XP_ProgressBar();
    XP_ProgressBar(const XP_ProgressBar&) = delete;
    XP_ProgressBar& operator=(const XP_ProgressBar&) = delete;

    // Properties. Setters that fail throw and leave the control as it was.
    std::int32_t Value() const;
    void setValue(std::int32_t value);
    std::int32_t Min() const { return min_; }
    void setMin(std::int32_t min);
    std::int32_t Max() const { return max_; }
    void setMax(std::int32_t max);
    tv::Color Color() const { return color_; }
    void setColor(tv::Color colour);
    std::int32_t Scrolling() const { return scrolling_; }
    void setScrolling(std::int32_t scrolling);
    std::int32_t Orientation() const { return orientation_; }
    void setOrientation(std::int32_t orientation);
    bool ShowText() const { return showText_; }
    void setShowText(bool showText);
    // Write-only: nothing reads it back. Throws OverflowError outside 16 bits.
    void setBrushStyle(std::int32_t brushStyle);
    std::shared_ptr<StdPicture> Image() const { return image_; }
    void setImage(std::shared_ptr<StdPicture> image);
    std::shared_ptr<StdFont> Font() const { return font_; }
    void setFont(std::shared_ptr<StdFont> font);
    Hwnd hwnd() const { return hwnd_; }
    void setHwnd(Hwnd window) { hwnd_ = window; }
    Hdc hdc() const { return drawTarget_; }
    // The value is not used: the back buffer is fitted to the control and made the target.
    void setHdc(Hdc ignored);

    // Methods.
    void DrawProgressBar();
    void DrawLine(int X, int Y, int Width, int Height, Hdc cHdc, tv::Color Color);
    void DrawGradient(tv::Color lEndColor, tv::Color lStartcolor, int X, int Y, int X2, int Y2,
                      Hdc hdc, bool bH);
    void pDraw(Hdc hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc, int xDst, int yDst);

    // Colour arithmetic.
    tv::Color TranslateColor(tv::Color colour) const;
    static tv::Color LightenColor(tv::Color colour, int amount);
    tv::Color BlendColors(tv::Color first, tv::Color second, int weight) const;

    // Host events.
    void UserControl_ReadProperties(const PropertyBag& bag);
    void UserControl_WriteProperties(PropertyBag& bag) const;
    void UserControl_Paint() { DrawProgressBar(); }
    void UserControl_Resize() { setHdc(host_.hDC()); }
    void UserControl_Terminate() { ReleaseBackBuffer(); }

    // Drawing state, for hosts and tests.
    std::int32_t Percent() const { return percent_; }
    bool Buffered() const { return buffered_; }
    Size backBufferSize() const { return {backBuffer_.width, backBuffer_.height}; }
    const Rect& BarRect() const { return barRect_; }
    const Rect& TextRect() const { return textRect_; }

  private:
    struct BackBuffer {
        Hdc dc;
        GdiObj bitmap;
        GdiObj previousBitmap;
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    void UserControl_Initialize();
    Hdc EnsureBackBuffer(std::int32_t width, std::int32_t height);
    void CreateBackBuffer(std::int32_t width, std::int32_t height);
    void ReleaseBackBuffer();

    void FillSolid(const Rect& rect, tv::Color colour, Hdc dc);
    void FrameSolid(const Rect& rect, tv::Color colour, Hdc dc);

    // Segmented, smooth and searching.
    void ComputeFillRect();
    void DrawSegmentFill();
    void DrawSegmentFillHorizontal();
    void DrawSegmentFillVertical();
    void DrawBlockSeparators();
    void DrawRoundedFrame();

    // The other styles and the text.
    void DrawFlatBar();
    void DrawEtchedBar();
    void DrawShadedBar();
    void DrawDarkBar();
    void DrawHatchedBar();
    void DrawPictureBar();
    void DrawGlossyBar();
    void DrawPercentText();
    void CenterTextRect(const std::string& text);
    void DrawTextOverFill(const std::string& text);

    ControlHost& host_;
    Gdi& gdi_;

    std::int32_t percent_ = 0;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    tv::Color color_ = 0;
    std::int32_t scrolling_ = Segmented;
    std::int32_t orientation_ = 0;
    bool showText_ = false;
    std::int16_t brushStyle_ = 0;
    std::shared_ptr<StdPicture> image_;
    std::shared_ptr<StdFont> font_;
    Hwnd hwnd_;

    Hdc drawTarget_;
    bool buffered_ = false;
    BackBuffer backBuffer_;

    // Work values of a redraw; only textRect_ is read again by the next one.
    Rect clientRect_;
    Rect barRect_;
    Rect separatorRect_;
    Rect textRect_;
    double fillFraction_ = 0;
    std::int32_t blockWidth_ = 0;
    std::int32_t blockGap_ = 0;
};

}  // namespace tv
