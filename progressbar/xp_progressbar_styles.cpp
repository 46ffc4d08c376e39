// The flat, etched, shaded, dark, hatched, picture and glossy styles, and the text.
#include <string>

#include "progressbar/draw_rounding.h"
#include "progressbar/xp_progressbar.h"

namespace tv {

namespace {

constexpr tv::Color black = 0x000000;
constexpr tv::Color white = 0xFFFFFF;
constexpr tv::Color silver = 0xC0C0C0;

}  // namespace

void XP_ProgressBar::DrawFlatBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    FrameSolid(clientRect_, LightenColor(color_, 100), drawTarget_);
    barRect_ = Rect{1, 1, roundCoordinate(percent_ / 100.0 * R), B - 1};
    FillSolid(barRect_, LightenColor(color_, 180), drawTarget_);
}

void XP_ProgressBar::DrawEtchedBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    Rect edge = clientRect_;
    gdi_.drawEdge(drawTarget_, edge, EDGE_ETCHED, BF_RECT);
    std::int32_t n = roundCoordinate(percent_ / 100.0 * (R - 4));
    DrawGradient(LightenColor(color_, 140), LightenColor(color_, 200), 2, 2, n, B - 3, drawTarget_,
                 true);
}

void XP_ProgressBar::DrawShadedBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    FrameSolid(clientRect_, LightenColor(color_, 10), drawTarget_);
    // 101, not 100: the fill stops short of the right end at 100 %.
    barRect_.right = roundCoordinate(percent_ / 101.0 * R);
    DrawGradient(color_, LightenColor(color_, 100), 2, 2, R - 2, B - 5, drawTarget_, false);
    DrawGradient(LightenColor(color_, 250), color_, 3, 3, barRect_.right, B - 6, drawTarget_,
                 false);
    DrawLine(barRect_.right, 2, barRect_.right, B - 2, drawTarget_, LightenColor(color_, 25));
}

void XP_ProgressBar::DrawDarkBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    FrameSolid(clientRect_, BlendColors(color_, black, 200), drawTarget_);
    tv::Color endColour = LightenColor(TranslateColor(BlendColors(color_, black, 100)), 10);
    std::int32_t n = roundCoordinate(percent_ / 100.0 * (R - 5));
    DrawGradient(black, endColour, 2, 2, n, B - 2, drawTarget_, true);
}

void XP_ProgressBar::DrawHatchedBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    Rect edge = clientRect_;
    gdi_.drawEdge(drawTarget_, edge, EDGE_BUMP, BF_RECT);
    barRect_ = Rect{2, 2, roundCoordinate(percent_ / 101.0 * R), B - 2};
    GdiObj brush = gdi_.createHatchBrush(brushStyle_, TranslateColor(color_));
    gdi_.setBkColor(drawTarget_, LightenColor(color_, 140));
    // The spaces between the hatch lines are always painted, whatever mode the DC is in.
    int previousMode = gdi_.setBkMode(drawTarget_, OPAQUE);
    gdi_.fillRect(drawTarget_, barRect_, brush);
    gdi_.setBkMode(drawTarget_, previousMode);
    gdi_.deleteObject(brush);
}

void XP_ProgressBar::DrawPictureBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    Rect edge = clientRect_;
    gdi_.drawEdge(drawTarget_, edge, BDR_SUNKENOUTER, BF_RECT);
    if (!image_) {
        return;
    }
    GdiObj brush = gdi_.createPatternBrush(image_->Handle());
    if (!brush) {
        return;  // not a bitmap: the DC's own brush must not stand in for it
    }
    GdiObj previous = gdi_.selectObject(drawTarget_, brush);
    std::int32_t w = roundCoordinate(percent_ / 101.0 * R);
    barRect_.right = w;
    gdi_.patBlt(drawTarget_, 2, 2, w, B - 4, PATCOPY);
    gdi_.selectObject(drawTarget_, previous);
    gdi_.deleteObject(brush);
}

void XP_ProgressBar::DrawGlossyBar() {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    std::int32_t n = roundCoordinate(percent_ / 100.0 * (R - 4));
    barRect_.right = n;
    std::int32_t h = roundCoordinate((B - 3) / 2.0);
    // The lower halves go second and paint over the last rows of the upper ones.
    DrawGradient(white, silver, 2, 2, R - 3, h, drawTarget_, false);
    DrawGradient(BlendColors(silver, black, 255), silver, 2, h, R - 3, h, drawTarget_, false);
    DrawGradient(LightenColor(color_, 150), BlendColors(color_, black, 180), 2, 2, n, h,
                 drawTarget_, false);
    DrawGradient(BlendColors(color_, black, 190), color_, 2, h, n, h, drawTarget_, false);
    clientRect_.left = 3;
    DrawRoundedFrame();
}

// ---- text ----

void XP_ProgressBar::DrawPercentText() {
    const bool twoColour = scrolling_ == Dark || scrolling_ == Glossy;
    const std::string text =
        scrolling_ == Searching ? "Searching.." : std::to_string(percent_) + " %";
    if (!showText_) {
        return;
    }
    const std::int32_t R = clientRect_.right;
    GdiObj previousFont = gdi_.selectObject(drawTarget_, font_->hFont());
    // Transparent for the text only: later fills must not inherit it.
    int previousMode = gdi_.setBkMode(drawTarget_, TRANSPARENT);
    gdi_.setTextColor(drawTarget_, TranslateColor(scrolling_ == Dark ? silver : black));
    CenterTextRect(text);
    double filled = percent_ / 100.0 * R;
    if (!(filled > textRect_.right) || !twoColour) {
        gdi_.drawText(drawTarget_, text, static_cast<int>(text.size()), textRect_, DT_SINGLELINE);
    }
    gdi_.selectObject(drawTarget_, previousFont);
    if (twoColour) {
        DrawTextOverFill(text);
    }
    gdi_.setBkMode(drawTarget_, previousMode);
}

void XP_ProgressBar::CenterTextRect(const std::string& text) {
    const std::int32_t R = clientRect_.right;
    const std::int32_t B = clientRect_.bottom;
    gdi_.drawText(drawTarget_, text, static_cast<int>(text.size()), textRect_, DT_CALCRECT);
    std::int32_t w = textRect_.right - textRect_.left;
    std::int32_t h = textRect_.bottom - textRect_.top;
    textRect_.left = roundCoordinate(R / 2.0 - w / 2.0);
    textRect_.top = roundCoordinate(B / 2.0 - h / 2.0);
    textRect_.right = textRect_.left + w;
    textRect_.bottom = textRect_.top + h;
}

void XP_ProgressBar::DrawTextOverFill(const std::string& text) {
    const std::int32_t R = clientRect_.right;
    GdiObj previousFont = gdi_.selectObject(drawTarget_, font_->hFont());
    gdi_.setBkMode(drawTarget_, TRANSPARENT);
    double filled = percent_ / 100.0 * R;
    if (filled < textRect_.left) {
        gdi_.selectObject(drawTarget_, previousFont);
        return;
    }
    gdi_.setTextColor(drawTarget_,
                      TranslateColor(scrolling_ == Dark ? LightenColor(color_, 80) : white));
    textRect_.left = roundCoordinate(R / 2.0 - (textRect_.right - textRect_.left) / 2.0);
    // Clipped at the end of the fill: the rest keeps the first pass's colour.
    textRect_.right = roundCoordinate(filled);
    gdi_.drawText(drawTarget_, text, static_cast<int>(text.size()), textRect_, DT_SINGLELINE);
    gdi_.selectObject(drawTarget_, previousFont);
}

}  // namespace tv
