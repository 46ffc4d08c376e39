// Drawing calls of the raster, with the platform's rules for spans, lines and edges.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "progressbar/gdi.h"
#include "runtime/strings.h"

namespace tv {

namespace {

// Hatch rows from the top; bit 0x80 is column 0.
constexpr std::array<std::array<std::uint8_t, 8>, 6> hatchRows = {{
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},
}};

__extension__ using Wide = __int128;

std::int64_t floorDiv(Wide a, Wide b) {
    Wide q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return static_cast<std::int64_t>(q);
}

std::int64_t positiveMod(std::int64_t value, std::int64_t divisor) {
    std::int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

std::int32_t saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

Rect shrink(const Rect& r, int left, int top, int right, int bottom) {
    return {saturate(std::int64_t{r.left} + left), saturate(std::int64_t{r.top} + top),
            saturate(std::int64_t{r.right} - right), saturate(std::int64_t{r.bottom} - bottom)};
}

}  // namespace

void Gdi::fillSolid(Bitmap& target, Area area, Color colour) {
    area.x0 = std::max<std::int64_t>(area.x0, 0);
    area.y0 = std::max<std::int64_t>(area.y0, 0);
    area.x1 = std::min<std::int64_t>(area.x1, target.width);
    area.y1 = std::min<std::int64_t>(area.y1, target.height);
    if (area.x0 >= area.x1) {
        return;
    }
    for (std::int64_t y = area.y0; y < area.y1; ++y) {
        Color* row = &target.at(0, static_cast<int>(y));
        std::fill(row + area.x0, row + area.x1, colour);
    }
}

void Gdi::paintArea(Bitmap& target, const Dc& dc, const Object& brush, Area area) {
    if (brush.brushKind == BrushKind::Solid) {
        fillSolid(target, area, brush.colour);
        return;
    }
    area.x0 = std::max<std::int64_t>(area.x0, 0);
    area.y0 = std::max<std::int64_t>(area.y0, 0);
    area.x1 = std::min<std::int64_t>(area.x1, target.width);
    area.y1 = std::min<std::int64_t>(area.y1, target.height);
    for (std::int64_t y = area.y0; y < area.y1; ++y) {
        Color* out = &target.at(0, static_cast<int>(y));
        if (brush.brushKind == BrushKind::Hatch) {
            // The brush origin is (0, 0), so the pattern repeats on multiples of 8.
            std::uint8_t bits = hatchRows[static_cast<std::size_t>(brush.style)][y & 7];
            for (std::int64_t x = area.x0; x < area.x1; ++x) {
                if (bits & (0x80 >> (x & 7))) {
                    out[x] = brush.colour;
                } else if (dc.bkMode == OPAQUE) {
                    out[x] = dc.bkColor;
                }
            }
        } else if (brush.brushKind == BrushKind::Pattern) {
            const Bitmap& tile = brush.bitmap;
            const Color* tileRow =
                &tile.pixels[static_cast<std::size_t>(positiveMod(y, tile.height)) * tile.width];
            std::int64_t column = positiveMod(area.x0, tile.width);
            for (std::int64_t x = area.x0; x < area.x1; ++x) {
                out[x] = tileRow[column] & 0xFFFFFF;
                column = column + 1 == tile.width ? 0 : column + 1;
            }
        }
    }
}

bool Gdi::fillWithBrush(Hdc handle, std::int64_t x, std::int64_t y, std::int64_t width,
                        std::int64_t height, GdiObj brushHandle) {
    Dc* dc = dcOf(handle);
    const Object* brush = object(brushHandle);
    if (dc == nullptr || brush == nullptr || brush->kind != Kind::Brush) {
        return false;
    }
    // A negative extent counts from the far side and lands one pixel over.
    Area area{x, y, x + width, y + height};
    if (width < 0) {
        area.x0 = x + width + 1;
        area.x1 = x + 1;
    }
    if (height < 0) {
        area.y0 = y + height + 1;
        area.y1 = y + 1;
    }
    if (Bitmap* target = surfaceOf(*dc); target != nullptr && width != 0 && height != 0) {
        paintArea(*target, *dc, *brush, area);
        drawn(*dc);
    }
    return true;
}

bool Gdi::fillRect(Hdc dc, const Rect& rect, GdiObj brush) {
    return fillWithBrush(dc, rect.left, rect.top, std::int64_t{rect.right} - rect.left,
                         std::int64_t{rect.bottom} - rect.top, brush);
}

bool Gdi::patBlt(Hdc handle, int x, int y, int width, int height, std::uint32_t rop) {
    const Dc* dc = dcOf(handle);
    if (dc == nullptr || rop != PATCOPY) {
        return false;
    }
    return fillWithBrush(handle, x, y, width, height, dc->brush);
}

bool Gdi::frameRect(Hdc handle, const Rect& r, GdiObj brushHandle) {
    Dc* dc = dcOf(handle);
    const Object* brush = object(brushHandle);
    if (dc == nullptr || brush == nullptr || brush->kind != Kind::Brush) {
        return false;
    }
    Bitmap* target = surfaceOf(*dc);
    if (target == nullptr || r.right <= r.left || r.bottom <= r.top) {
        return true;
    }
    paintArea(*target, *dc, *brush, {r.left, r.top, r.right, std::int64_t{r.top} + 1});
    paintArea(*target, *dc, *brush, {r.left, std::int64_t{r.bottom} - 1, r.right, r.bottom});
    paintArea(*target, *dc, *brush, {r.left, r.top, std::int64_t{r.left} + 1, r.bottom});
    paintArea(*target, *dc, *brush, {std::int64_t{r.right} - 1, r.top, r.right, r.bottom});
    drawn(*dc);
    return true;
}

bool Gdi::setPixelV(Hdc handle, int x, int y, Color colour) {
    Dc* dc = dcOf(handle);
    Bitmap* target = dc != nullptr ? surfaceOf(*dc) : nullptr;
    if (target == nullptr || !target->contains(x, y)) {
        return false;
    }
    target->at(x, y) = colour & 0xFFFFFF;
    drawn(*dc);
    return true;
}

// ---- lines ----

bool Gdi::lineTo(Hdc handle, int x, int y) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) {
        return false;
    }
    const Object* pen = object(dc->pen);
    Bitmap* target = surfaceOf(*dc);
    if (pen != nullptr && pen->style != PS_NULL && target != nullptr) {
        plotLine(*target, dc->position, {x, y}, pen->colour);
        drawn(*dc);
    }
    dc->position = {x, y};
    return true;
}

void Gdi::plotLine(Bitmap& target, Point from, Point to, Color colour) {
    std::int64_t dx = std::int64_t{to.x} - from.x;
    std::int64_t dy = std::int64_t{to.y} - from.y;
    if (dy == 0 && dx != 0) {
        // Half-open from the start: a leftward line keeps its start, loses its end.
        std::int64_t x0 = dx > 0 ? from.x : std::int64_t{to.x} + 1;
        std::int64_t x1 = dx > 0 ? to.x : std::int64_t{from.x} + 1;
        fillSolid(target, {x0, from.y, x1, std::int64_t{from.y} + 1}, colour);
    } else if (dx == 0 && dy != 0) {
        std::int64_t y0 = dy > 0 ? from.y : std::int64_t{to.y} + 1;
        std::int64_t y1 = dy > 0 ? to.y : std::int64_t{from.y} + 1;
        fillSolid(target, {from.x, y0, std::int64_t{from.x} + 1, y1}, colour);
    } else if (dx != 0) {
        plotDiagonal(target, from, to, colour);
    }
}

void Gdi::plotDiagonal(Bitmap& target, Point from, Point to, Color colour) {
    std::int64_t dx = std::int64_t{to.x} - from.x;
    std::int64_t dy = std::int64_t{to.y} - from.y;
    // Octants clockwise from +x with y down; a tie steps the minor axis only in 3, 5, 6, 8,
    // so a line and its reverse light the same pixels.
    bool xMajor;
    int bias;
    if (dx > 0 && dy > 0) {
        xMajor = dx > dy;
        bias = 0;
    } else if (dy > 0) {
        xMajor = -dx > dy;
        bias = xMajor ? 0 : 1;
    } else if (dx < 0) {
        xMajor = -dx > -dy;
        bias = 1;
    } else {
        xMajor = dx > -dy;
        bias = xMajor ? 1 : 0;
    }
    std::int64_t major0 = xMajor ? from.x : from.y;
    std::int64_t minor0 = xMajor ? from.y : from.x;
    std::int64_t majorDelta = xMajor ? dx : dy;
    std::int64_t minorDelta = xMajor ? dy : dx;
    std::int64_t majorStep = majorDelta > 0 ? 1 : -1;
    std::int64_t minorStep = minorDelta > 0 ? 1 : -1;
    std::int64_t dmaj = majorDelta * majorStep;
    std::int64_t dmin = minorDelta * minorStep;
    std::int64_t majorExtent = xMajor ? target.width : target.height;
    std::int64_t minorExtent = xMajor ? target.height : target.width;

    // Only the steps whose major coordinate lies on the surface; the minor position of
    // step k follows from the error term in closed form.
    std::int64_t kLo = majorStep > 0 ? std::max<std::int64_t>(0, -major0)
                                     : std::max<std::int64_t>(0, major0 - majorExtent + 1);
    std::int64_t kHi =
        majorStep > 0 ? std::min(dmaj - 1, majorExtent - 1 - major0) : std::min(dmaj - 1, major0);
    for (std::int64_t k = kLo; k <= kHi; ++k) {
        std::int64_t minorSteps =
            floorDiv(Wide{2} * dmin * k - dmaj + bias - 1, Wide{2} * dmaj) + 1;
        std::int64_t minor = minor0 + minorStep * minorSteps;
        if (minor < 0 || minor >= minorExtent) {
            continue;
        }
        std::int64_t major = major0 + majorStep * k;
        int x = static_cast<int>(xMajor ? major : minor);
        int y = static_cast<int>(xMajor ? minor : major);
        target.at(x, y) = colour;
    }
}

// ---- blits ----

bool Gdi::bitBlt(Hdc targetHandle, int x, int y, int width, int height, Hdc sourceHandle,
                 int xSource, int ySource, std::uint32_t rop) {
    Dc* dc = dcOf(targetHandle);
    const Dc* sourceDc = dcOf(sourceHandle);
    if (dc == nullptr || sourceDc == nullptr || rop != SRCCOPY || width <= 0 || height <= 0) {
        return false;
    }
    Bitmap* target = surfaceOf(*dc);
    const Bitmap* source = surfaceOf(*sourceDc);
    if (target == nullptr || source == nullptr) {
        return false;
    }
    std::int64_t i0 = std::max<std::int64_t>({0, -std::int64_t{x}, -std::int64_t{xSource}});
    std::int64_t i1 = std::min<std::int64_t>(
        {width, std::int64_t{target->width} - x, std::int64_t{source->width} - xSource});
    std::int64_t j0 = std::max<std::int64_t>({0, -std::int64_t{y}, -std::int64_t{ySource}});
    std::int64_t j1 = std::min<std::int64_t>(
        {height, std::int64_t{target->height} - y, std::int64_t{source->height} - ySource});
    if (i0 < i1 && j0 < j1) {
        // Within one surface, copy rows in the order that does not read what was written.
        bool upward = target == source && y > ySource;
        for (std::int64_t n = 0; n < j1 - j0; ++n) {
            std::int64_t j = upward ? j1 - 1 - n : j0 + n;
            const Color* from =
                source->pixels.data() + (ySource + j) * source->width + xSource + i0;
            Color* to = &target->at(static_cast<int>(x + i0), static_cast<int>(y + j));
            std::memmove(to, from, static_cast<std::size_t>(i1 - i0) * sizeof(Color));
        }
        drawn(*dc);
    }
    return true;
}

// ---- edges ----

void Gdi::edgeRing(Bitmap& target, Rect r, unsigned flags, Color topLeft, Color bottomRight) {
    // The bottom-right colour goes second, so it owns three of the four corners.
    if (flags & BF_TOP) {
        fillSolid(target, {r.left, r.top, r.right, std::int64_t{r.top} + 1}, topLeft);
    }
    if (flags & BF_LEFT) {
        fillSolid(target, {r.left, r.top, std::int64_t{r.left} + 1, r.bottom}, topLeft);
    }
    if (flags & BF_BOTTOM) {
        fillSolid(target, {r.left, std::int64_t{r.bottom} - 1, r.right, r.bottom}, bottomRight);
    }
    if (flags & BF_RIGHT) {
        fillSolid(target, {std::int64_t{r.right} - 1, r.top, r.right, r.bottom}, bottomRight);
    }
}

bool Gdi::drawEdge(Hdc handle, Rect& rect, unsigned edge, unsigned flags) {
    Dc* dc = dcOf(handle);
    unsigned outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    unsigned inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    if (dc == nullptr || outer == (BDR_RAISEDOUTER | BDR_SUNKENOUTER) ||
        inner == (BDR_RAISEDINNER | BDR_SUNKENINNER)) {
        return false;
    }
    Bitmap* target = surfaceOf(*dc);
    Rect innerRing = shrink(rect, 1, 1, 1, 1);
    if (target != nullptr && outer == BDR_RAISEDOUTER) {
        edgeRing(*target, rect, flags, getSysColor(COLOR_3DLIGHT), getSysColor(COLOR_3DDKSHADOW));
    } else if (target != nullptr && outer == BDR_SUNKENOUTER) {
        edgeRing(*target, rect, flags, getSysColor(COLOR_3DSHADOW), getSysColor(COLOR_3DHILIGHT));
    }
    if (target != nullptr && inner == BDR_RAISEDINNER) {
        edgeRing(*target, innerRing, flags, getSysColor(COLOR_3DHILIGHT),
                 getSysColor(COLOR_3DSHADOW));
    } else if (target != nullptr && inner == BDR_SUNKENINNER) {
        edgeRing(*target, innerRing, flags, getSysColor(COLOR_3DDKSHADOW),
                 getSysColor(COLOR_3DLIGHT));
    }
    int rings = (outer != 0 ? 1 : 0) + (inner != 0 ? 1 : 0);
    Rect inside = shrink(rect, (flags & BF_LEFT) ? rings : 0, (flags & BF_TOP) ? rings : 0,
                         (flags & BF_RIGHT) ? rings : 0, (flags & BF_BOTTOM) ? rings : 0);
    if (target != nullptr && (flags & BF_MIDDLE)) {
        fillSolid(*target, {inside.left, inside.top, inside.right, inside.bottom},
                  getSysColor(COLOR_BTNFACE));
    }
    if (flags & BF_ADJUST) {
        rect = inside;
    }
    if (target != nullptr) {
        drawn(*dc);
    }
    return true;
}

// ---- text ----

int Gdi::drawText(Hdc handle, std::string_view text, int count, Rect& rect, unsigned format) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) {
        return 0;
    }
    if (count >= 0 && static_cast<std::size_t>(count) < text.size()) {
        text = text.substr(0, static_cast<std::size_t>(count));
    }
    const Object* font = object(dc->font);
    const FontInfo& info = font != nullptr ? font->font : object(stock_[SYSTEM_FONT])->font;
    TextExtent extent = text_.measure(info, text);
    if (format & DT_CALCRECT) {
        rect.right = saturate(std::int64_t{rect.left} + extent.width);
        rect.bottom = saturate(std::int64_t{rect.top} + extent.height);
        return extent.height;
    }
    Bitmap* target = surfaceOf(*dc);
    if (target == nullptr) {
        return extent.height;
    }
    // One line from the top left of the rectangle, cut off at its edges.
    Rect clip{0, 0, target->width, target->height};
    if (!(format & DT_NOCLIP)) {
        clip = Rect{std::max(clip.left, rect.left), std::max(clip.top, rect.top),
                    std::min(clip.right, rect.right), std::min(clip.bottom, rect.bottom)};
    }
    if (clip.left >= clip.right || clip.top >= clip.bottom) {
        return extent.height;
    }
    if (dc->bkMode == OPAQUE) {
        fillSolid(*target,
                  {std::max<std::int64_t>(clip.left, rect.left),
                   std::max<std::int64_t>(clip.top, rect.top),
                   std::min<std::int64_t>(clip.right, std::int64_t{rect.left} + extent.width),
                   std::min<std::int64_t>(clip.bottom, std::int64_t{rect.top} + extent.height)},
                  dc->bkColor);
    }
    text_.draw(*target, info, text, {rect.left, rect.top}, clip, dc->textColor);
    drawn(*dc);
    return extent.height;
}

}  // namespace tv
