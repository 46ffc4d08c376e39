// Colour arithmetic.and the drawing primitives every style is built from.
#include <algorithm>
#include <limits>

#include "progressbar/draw_rounding.h"
#include "progressbar/xp_progressbar.h"
#include "runtime/numbers.h"

namespace tv {

namespace {

std::int64_t checkedProduct(std::int64_t a, std::int64_t b) {
    std::int64_t product = a * b;
    if (product < std::numeric_limits<std::int32_t>::min() ||
        product > std::numeric_limits<std::int32_t>::max()) {
        throw OverflowError("Overflow");
    }
    return product;
}

int clampChannel(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, 255));
}

}  // namespace

tv::Color XP_ProgressBar::TranslateColor(tv::Color colour) const {
    if (colour & 0x80000000u) {
        return gdi_.getSysColor(static_cast<int>(colour & 0x7FFFFFFFu));
    }
    return colour;
}

tv::Color XP_ProgressBar::LightenColor(tv::Color colour, int amount) {
    auto lighten = [amount](int channel) {
        return clampChannel(amount + checkedProduct(255 - std::int64_t{amount}, channel) / 255);
    };
    return rgb(lighten(redOf(colour)), lighten(greenOf(colour)), lighten(blueOf(colour)));
}

tv::Color XP_ProgressBar::BlendColors(tv::Color first, tv::Color second, int weight) const {
    tv::Color a = TranslateColor(first);
    tv::Color b = TranslateColor(second);
    auto blend = [weight](int firstChannel, int secondChannel) {
        double v =
            static_cast<double>(checkedProduct(255 - std::int64_t{weight}, secondChannel)) / 255 +
            static_cast<double>(checkedProduct(weight, firstChannel)) / 255;
        return clampChannel(roundCoordinate(v));
    };
    return rgb(blend(redOf(a), redOf(b)), blend(greenOf(a), greenOf(b)),
               blend(blueOf(a), blueOf(b)));
}

void XP_ProgressBar::FillSolid(const Rect& rect, tv::Color colour, Hdc dc) {
    GdiObj brush = gdi_.createSolidBrush(TranslateColor(colour));
    gdi_.fillRect(dc, rect, brush);
    gdi_.deleteObject(brush);
}

void XP_ProgressBar::FrameSolid(const Rect& rect, tv::Color colour, Hdc dc) {
    GdiObj brush = gdi_.createSolidBrush(colour);
    gdi_.frameRect(dc, rect, brush);
    gdi_.deleteObject(brush);
}

void XP_ProgressBar::DrawLine(int X, int Y, int Width, int Height, Hdc cHdc, tv::Color Color) {
    GdiObj pen = gdi_.createPen(PS_SOLID, 1, TranslateColor(Color));
    if (!pen) {
        return;  // the DC's own pen would draw a line nobody asked for
    }
    GdiObj previous = gdi_.selectObject(cHdc, pen);
    gdi_.moveToEx(cHdc, X, Y);
    gdi_.lineTo(cHdc, Width, Height);
    gdi_.selectObject(cHdc, previous);
    gdi_.deleteObject(pen);
}

void XP_ProgressBar::DrawGradient(tv::Color lEndColor, tv::Color lStartcolor, int X, int Y, int X2,
                                  int Y2, Hdc hdc, bool bH) {
    tv::Color start = TranslateColor(lStartcolor);
    tv::Color end = TranslateColor(lEndColor);
    auto R1 = static_cast<float>(redOf(start));
    auto G1 = static_cast<float>(greenOf(start));
    auto B1 = static_cast<float>(blueOf(start));
    auto R2 = static_cast<float>(redOf(end));
    auto G2 = static_cast<float>(greenOf(end));
    auto B2 = static_cast<float>(blueOf(end));
    int n = bH ? X2 : Y2;
    // With no steps there is nothing to divide: the one line takes the end colour.
    float dR = n > 0 ? (R1 - R2) / static_cast<float>(n) : 0.0f;
    float dG = n > 0 ? (G1 - G2) / static_cast<float>(n) : 0.0f;
    float dB = n > 0 ? (B1 - B2) / static_cast<float>(n) : 0.0f;
    // Lines off the surface would draw nothing; skipping them keeps a huge n cheap.
    const Bitmap* surface = gdi_.surface(hdc);
    if (surface == nullptr) {
        return;
    }
    std::int64_t origin = bH ? X : Y;
    std::int64_t extent = bH ? surface->width : surface->height;
    std::int64_t first = std::max<std::int64_t>(0, -origin);
    std::int64_t last = std::min<std::int64_t>(n, extent - 1 - origin);
    for (std::int64_t i = first; i <= last; ++i) {
        auto channel = [i](float base, float step) {
            return clampChannel(
                roundCoordinate(double{base} + double{step} * static_cast<double>(i)));
        };
        tv::Color colour = rgb(channel(R2, dR), channel(G2, dG), channel(B2, dB));
        auto at = static_cast<int>(origin + i);
        if (bH) {
            DrawLine(at, Y, at, Y2, hdc, colour);
        } else {
            DrawLine(X, at, X2, at, hdc, colour);
        }
    }
}

}  // namespace tv
