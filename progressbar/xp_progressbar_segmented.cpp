// The redraw pipeline and the segmented, smooth and searching styles.
#include <array>

#include "progressbar/draw_rounding.h"
#include "progressbar/xp_progressbar.h"
#include "runtime/numbers.h"

namespace tv {

namespace {

struct CornerPixel {
    bool fromRight;
    int dx;
    bool fromBottom;
    int dy;
    tv::Color colour;
};

// The left and right corners are not mirror images; the shading is hand-made.
constexpr std::array<CornerPixel, 24> cornerPixels = {{
    {false, 0, false, 0, 0xFFFFFF}, {false, 0, false, 1, 0xA6ABAC}, {false, 0, false, 2, 0x7D7E7F},
    {false, 1, false, 0, 0xA7ABAC}, {false, 1, false, 1, 0x777777}, {false, 2, false, 0, 0x7D7E7F},
    {false, 2, false, 2, 0xBEBEBE}, {false, 0, true, -1, 0xFFFFFF}, {false, 1, true, -1, 0xA6ABAC},
    {false, 2, true, -1, 0x7D7E7F}, {false, 0, true, -3, 0x7D7E7F}, {false, 0, true, -2, 0xA7ABAC},
    {false, 1, true, -2, 0x777777}, {true, -1, false, 0, 0xFFFFFF}, {true, -1, false, 1, 0xBEBEBE},
    {true, -1, false, 2, 0x7D7E7F}, {true, -2, false, 2, 0xBEBEBE}, {true, -2, false, 1, 0x686868},
    {true, -1, true, -1, 0xFFFFFF}, {true, -1, true, -2, 0xBEBEBE}, {true, -1, true, -3, 0x7D7E7F},
    {true, -2, true, -2, 0x777777}, {true, -2, true, -1, 0xBEBEBE}, {true, -3, true, -1, 0x7D7E7F},
}};

}  // namespace

void XP_ProgressBar::DrawProgressBar() {
    if (percent_ > 100) {
        percent_ = 100;
    }
    clientRect_ = Rect{};
    gdi_.getClientRect(hwnd_, clientRect_);
    FillSolid(clientRect_, scrolling_ == Dark ? 0x000000 : 0xFFFFFF, drawTarget_);
    switch (scrolling_) {
        case Flat:
            DrawFlatBar();
            break;
        case Etched:
            DrawEtchedBar();
            break;
        case Shaded:
            DrawShadedBar();
            break;
        case Dark:
            DrawDarkBar();
            break;
        case Hatched:
            DrawHatchedBar();
            break;
        case Picture:
            DrawPictureBar();
            break;
        case Glossy:
            DrawGlossyBar();
            break;
        default:
            ComputeFillRect();
            DrawSegmentFill();
            if (scrolling_ == Segmented) {
                DrawBlockSeparators();
            }
            DrawRoundedFrame();
            break;
    }
    DrawPercentText();
    if (buffered_) {
        pDraw(host_.hDC(), 0, 0, roundCoordinate(host_.scaleWidth()),
              roundCoordinate(host_.scaleHeight()), roundCoordinate(host_.scaleLeft()),
              roundCoordinate(host_.scaleTop()));
    }
}

void XP_ProgressBar::ComputeFillRect() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    blockWidth_ = scrolling_ == Segmented ? 6 : 0;
    blockGap_ = 2;
    const std::int32_t step = blockWidth_ + blockGap_;
    // DrawRoundedFrame takes the 3 back.
    clientRect_.left += 3;
    barRect_ = clientRect_;
    // 98, not 100: the fill reaches the end at 98 % and runs past it above.
    fillFraction_ = percent_ / 98.0;
    if (fillFraction_ < 0) {
        fillFraction_ = 0;
    }
    if (orientation_ == 0) {
        std::int32_t m = roundCoordinate((R - 3) * fillFraction_ + 3);
        barRect_.right = m - ((m - barRect_.left) % step);
        if (barRect_.right < 3) {
            barRect_.right = 3;
        }
    } else {
        fillFraction_ = 1 - fillFraction_;
        std::int32_t m = roundCoordinate(B * fillFraction_);
        barRect_.top = m - ((m - B) % step);
        if (barRect_.top > B) {
            barRect_.top = B;
        }
    }
}

void XP_ProgressBar::DrawSegmentFill() {
    if (orientation_ == 0) {
        DrawSegmentFillHorizontal();
    } else {
        DrawSegmentFillVertical();
    }
}

void XP_ProgressBar::DrawSegmentFillHorizontal() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    // The first block always shows, even at 0 %.
    if (barRect_.right <= 14) {
        barRect_.right = 12;
    }
    Rect inner{4, 8, barRect_.right + 4 > R ? barRect_.right - 4 : barRect_.right, B - 8};
    if (scrolling_ == Searching) {
        for (int k = 0; k < 3; ++k) {
            std::int32_t x = roundCoordinate(barRect_.right + (blockGap_ + 10) * k -
                                             (100 - percent_) / 100.0 * 45);
            DrawGradient(LightenColor(color_, 220 - 40 * k), LightenColor(color_, 200 - 40 * k), x,
                         3, 9, B - 2, drawTarget_, true);
        }
        return;
    }
    tv::Color light = LightenColor(color_, 150);
    DrawGradient(light, color_, 4, 3, inner.right, 6, drawTarget_, false);
    FillSolid(inner, color_, drawTarget_);
    DrawGradient(color_, light, 4, B - 10, inner.right, 6, drawTarget_, false);
}

void XP_ProgressBar::DrawSegmentFillVertical() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    Rect inner{9, barRect_.top, R - 8, B};
    if (scrolling_ == Searching) {
        for (int k = 0; k < 3; ++k) {
            std::int32_t y = barRect_.top + (blockGap_ + 10) * k;
            DrawGradient(LightenColor(color_, 220 - 40 * k), LightenColor(color_, 200 - 40 * k),
                         R - 2, y, 2, 9, drawTarget_, false);
        }
        return;
    }
    tv::Color light = LightenColor(color_, 150);
    DrawGradient(light, color_, 4, barRect_.top, 4, B, drawTarget_, true);
    FillSolid(inner, color_, drawTarget_);
    DrawGradient(color_, light, R - 8, barRect_.top, 4, B, drawTarget_, true);
}

void XP_ProgressBar::DrawBlockSeparators() {
    GdiObj brush = gdi_.createSolidBrush(0xFFFFFF);
    separatorRect_ = clientRect_;
    const std::int32_t step = blockWidth_ + blockGap_;
    // The gaps run over the whole client area; the frame covers their ends.
    if (orientation_ == 0) {
        for (std::int32_t i = barRect_.left + blockWidth_; i <= barRect_.right; i += step) {
            separatorRect_.left = i + 1;
            separatorRect_.right = i + 1 + blockGap_;
            gdi_.fillRect(drawTarget_, separatorRect_, brush);
        }
    } else {
        for (std::int32_t i = barRect_.bottom; i >= barRect_.top + blockWidth_; i -= step) {
            separatorRect_.top = i - 2;
            separatorRect_.bottom = i - 2 + blockGap_;
            gdi_.fillRect(drawTarget_, separatorRect_, brush);
        }
    }
    gdi_.deleteObject(brush);
}

void XP_ProgressBar::DrawRoundedFrame() {
    clientRect_.left -= 3;
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    DrawLine(2, 1, R - 2, 1, drawTarget_, 0xBEBEBE);
    DrawLine(2, B - 2, R - 2, B - 2, drawTarget_, 0xEFEFEF);
    DrawLine(1, 2, 1, B - 2, drawTarget_, 0xBEBEBE);
    DrawLine(2, 2, 2, B - 2, drawTarget_, 0xEFEFEF);
    DrawLine(2, 2, R - 2, 2, drawTarget_, 0xEFEFEF);
    DrawLine(R - 2, 2, R - 2, B - 2, drawTarget_, 0xEFEFEF);
    FrameSolid(clientRect_, 0x686868, drawTarget_);
    for (const CornerPixel& p : cornerPixels) {
        gdi_.setPixelV(drawTarget_, (p.fromRight ? R : 0) + p.dx, (p.fromBottom ? B : 0) + p.dy,
                       TranslateColor(p.colour));
    }
}

}  // namespace tv
