// Handles, objects, device contexts and windows of the raster; drawing is in gdi_paint.cpp.
#include "progressbar/gdi.h"

#include <algorithm>
#include <utility>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

namespace {

constexpr std::uint32_t indexBits = 20;
constexpr std::uint32_t indexMask = (1u << indexBits) - 1;
constexpr std::uint32_t generationMask = (1u << (32 - indexBits)) - 1;
// Far beyond any control, small enough that a buffer's pixel count fits in memory.
constexpr std::int64_t maxBitmapPixels = std::int64_t{1} << 26;

std::uint32_t makeId(std::size_t index, std::uint32_t generation) {
    return static_cast<std::uint32_t>(index + 1) | (generation << indexBits);
}
std::size_t indexOf(std::uint32_t id) {
    return static_cast<std::size_t>((id & indexMask) - 1);
}
std::uint32_t generationOf(std::uint32_t id) {
    return id >> indexBits;
}
std::uint32_t nextGeneration(std::uint32_t generation) {
    generation = (generation + 1) & generationMask;
    return generation == 0 ? 1 : generation;
}

}  // namespace

bool FaultPlan::shouldFail(GdiCall call) {
    int& pending = pending_[index(call)];
    if (pending < 0) {
        return true;
    }
    if (pending > 0) {
        --pending;
        return true;
    }
    return false;
}

Gdi::Gdi(const SysColorTable& colours, TextEngine& text, FaultPlan* faults)
    : colours_(colours), text_(text), faults_(faults) {
    auto makeStock = [this](Kind kind, BrushKind brushKind, int style, Color colour) {
        GdiObj handle = newObject(kind);
        Object& o = *object(handle);
        o.stock = true;
        o.brushKind = brushKind;
        o.style = style;
        o.colour = colour;
        return handle;
    };
    stock_[WHITE_BRUSH] = makeStock(Kind::Brush, BrushKind::Solid, 0, 0xFFFFFF);
    stock_[BLACK_BRUSH] = makeStock(Kind::Brush, BrushKind::Solid, 0, 0);
    stock_[NULL_BRUSH] = makeStock(Kind::Brush, BrushKind::Hollow, 0, 0);
    stock_[WHITE_PEN] = makeStock(Kind::Pen, BrushKind::Solid, PS_SOLID, 0xFFFFFF);
    stock_[BLACK_PEN] = makeStock(Kind::Pen, BrushKind::Solid, PS_SOLID, 0);
    stock_[NULL_PEN] = makeStock(Kind::Pen, BrushKind::Solid, PS_NULL, 0);
    stock_[SYSTEM_FONT] = makeStock(Kind::Font, BrushKind::Solid, 0, 0);
    object(stock_[SYSTEM_FONT])->font = FontInfo{"System", 10, true};
    // A new memory DC holds a 1 x 1 bitmap until a real one is selected.
    defaultBitmap_ = makeStock(Kind::Bitmap, BrushKind::Solid, 0, 0);
    object(defaultBitmap_)->bitmap = Bitmap(1, 1);
}

// ---- slots ----

GdiObj Gdi::newObject(Kind kind) {
    std::size_t index;
    if (!freeObjects_.empty()) {
        index = freeObjects_.back();
        freeObjects_.pop_back();
    } else {
        if (objects_.size() >= indexMask - 1) {
            return {};
        }
        index = objects_.size();
        objects_.emplace_back();
    }
    Object& o = objects_[index];
    o.kind = kind;
    o.stock = false;
    o.selectedIn = {};
    return {makeId(index, o.generation)};
}

Gdi::Object* Gdi::object(GdiObj handle) {
    return const_cast<Object*>(std::as_const(*this).object(handle));
}

const Gdi::Object* Gdi::object(GdiObj handle) const {
    if (!handle) {
        return nullptr;
    }
    std::size_t index = indexOf(handle.id);
    if (index >= objects_.size()) {
        return nullptr;
    }
    const Object& o = objects_[index];
    if (o.kind == Kind::Free || o.generation != generationOf(handle.id)) {
        return nullptr;
    }
    return &o;
}

Gdi::Object* Gdi::objectOfKind(GdiObj handle, Kind kind) {
    Object* o = object(handle);
    return o != nullptr && o->kind == kind ? o : nullptr;
}

Hdc Gdi::newDc(DcKind kind) {
    std::size_t index;
    if (!freeDcs_.empty()) {
        index = freeDcs_.back();
        freeDcs_.pop_back();
    } else {
        index = dcs_.size();
        dcs_.emplace_back();
    }
    Dc& dc = dcs_[index];
    std::uint32_t generation = dc.generation;
    dc = Dc{};
    dc.generation = generation;
    dc.kind = kind;
    resetDcObjects(dc);
    return {makeId(index, generation)};
}

void Gdi::resetDcObjects(Dc& dc) const {
    dc.pen = stock_[BLACK_PEN];
    dc.brush = stock_[WHITE_BRUSH];
    dc.font = stock_[SYSTEM_FONT];
    dc.bitmap = dc.kind == DcKind::Memory ? defaultBitmap_ : GdiObj{};
}

Gdi::Dc* Gdi::dcOf(Hdc handle) {
    return const_cast<Dc*>(std::as_const(*this).dcOf(handle));
}

const Gdi::Dc* Gdi::dcOf(Hdc handle) const {
    if (!handle) {
        return nullptr;
    }
    std::size_t index = indexOf(handle.id);
    if (index >= dcs_.size()) {
        return nullptr;
    }
    const Dc& dc = dcs_[index];
    if (dc.kind == DcKind::Free || dc.generation != generationOf(handle.id)) {
        return nullptr;
    }
    return &dc;
}

Gdi::Window* Gdi::windowOf(Hwnd handle) {
    return const_cast<Window*>(std::as_const(*this).windowOf(handle));
}

const Gdi::Window* Gdi::windowOf(Hwnd handle) const {
    if (!handle) {
        return nullptr;
    }
    std::size_t index = indexOf(handle.id);
    if (index >= windows_.size()) {
        return nullptr;
    }
    const Window& w = windows_[index];
    if (!w.live || w.generation != generationOf(handle.id)) {
        return nullptr;
    }
    return &w;
}

Bitmap* Gdi::surfaceOf(const Dc& dc) {
    return const_cast<Bitmap*>(std::as_const(*this).surfaceOf(dc));
}

const Bitmap* Gdi::surfaceOf(const Dc& dc) const {
    if (dc.kind == DcKind::Window) {
        return &windows_[dc.window].surface;
    }
    if (dc.kind == DcKind::Memory) {
        const Object* bitmap = object(dc.bitmap);
        return bitmap != nullptr ? &bitmap->bitmap : nullptr;
    }
    return nullptr;
}

void Gdi::drawn(const Dc& dc) {
    if (dc.kind == DcKind::Window && windows_[dc.window].onDrawn) {
        windows_[dc.window].onDrawn();
    }
}

// ---- windows ----

Hwnd Gdi::createWindow(int width, int height, std::function<void()> onDrawn) {
    std::size_t index = windows_.size();
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if (!windows_[i].live) {
            index = i;
            break;
        }
    }
    if (index == windows_.size()) {
        windows_.emplace_back();
    }
    Window& w = windows_[index];
    w.live = true;
    w.surface = Bitmap(std::max(width, 0), std::max(height, 0), 0xFFFFFF);
    w.onDrawn = std::move(onDrawn);
    w.dc = newDc(DcKind::Window);
    dcOf(w.dc)->window = static_cast<std::uint32_t>(index);
    return {makeId(index, w.generation)};
}

void Gdi::destroyWindow(Hwnd window) {
    Window* w = windowOf(window);
    if (w == nullptr) {
        return;
    }
    Dc* dc = dcOf(w->dc);
    dc->kind = DcKind::Free;
    dc->generation = nextGeneration(dc->generation);
    freeDcs_.push_back(static_cast<std::uint32_t>(indexOf(w->dc.id)));
    w->live = false;
    w->surface = Bitmap();
    w->onDrawn = nullptr;
    w->generation = nextGeneration(w->generation);
}

void Gdi::resizeWindow(Hwnd window, int width, int height, Color background) {
    Window* w = windowOf(window);
    if (w == nullptr) {
        return;
    }
    Bitmap resized(std::max(width, 0), std::max(height, 0), background & 0xFFFFFF);
    for (int y = 0; y < std::min(resized.height, w->surface.height); ++y) {
        for (int x = 0; x < std::min(resized.width, w->surface.width); ++x) {
            resized.at(x, y) = w->surface.at(x, y);
        }
    }
    w->surface = std::move(resized);
}

Hdc Gdi::getDC(Hwnd window) const {
    const Window* w = windowOf(window);
    return w != nullptr ? w->dc : Hdc{};
}

bool Gdi::getClientRect(Hwnd window, Rect& rect) const {
    const Window* w = windowOf(window);
    if (w == nullptr) {
        return false;
    }
    rect = Rect{0, 0, w->surface.width, w->surface.height};
    return true;
}

const Bitmap* Gdi::windowSurface(Hwnd window) const {
    const Window* w = windowOf(window);
    return w != nullptr ? &w->surface : nullptr;
}

// ---- device contexts ----

Hdc Gdi::createDC(std::string_view driver, std::string_view, std::string_view, const void*) {
    if (!equalsIgnoreCase(driver, "DISPLAY") ||
        (faults_ && faults_->shouldFail(GdiCall::CreateDC))) {
        return {};
    }
    return newDc(DcKind::Display);
}

Hdc Gdi::createCompatibleDC(Hdc dc) {
    if ((dc && dcOf(dc) == nullptr) ||
        (faults_ && faults_->shouldFail(GdiCall::CreateCompatibleDC))) {
        return {};
    }
    return newDc(DcKind::Memory);
}

bool Gdi::deleteDC(Hdc handle) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || dc->kind == DcKind::Window) {
        return false;
    }
    if (Object* bitmap = object(dc->bitmap); bitmap != nullptr && !bitmap->stock) {
        bitmap->selectedIn = {};
    }
    dc->kind = DcKind::Free;
    dc->generation = nextGeneration(dc->generation);
    freeDcs_.push_back(static_cast<std::uint32_t>(indexOf(handle.id)));
    return true;
}

// ---- objects ----

GdiObj Gdi::createCompatibleBitmap(Hdc dc, int width, int height) {
    if (dcOf(dc) == nullptr || width <= 0 || height <= 0 ||
        std::int64_t{width} * height > maxBitmapPixels ||
        (faults_ && faults_->shouldFail(GdiCall::CreateCompatibleBitmap))) {
        return {};
    }
    GdiObj handle = newObject(Kind::Bitmap);
    if (handle) {
        object(handle)->bitmap = Bitmap(width, height);
    }
    return handle;
}

GdiObj Gdi::createBitmap(const Bitmap& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.pixels.size() != static_cast<std::size_t>(pixels.width) * pixels.height) {
        return {};
    }
    GdiObj handle = newObject(Kind::Bitmap);
    if (handle) {
        object(handle)->bitmap = pixels;
    }
    return handle;
}

GdiObj Gdi::createPen(int style, int width, Color colour) {
    // Only the cosmetic one-pixel pens the bar uses; others would draw wrongly.
    if ((style != PS_SOLID && style != PS_NULL) || width < 0 || width > 1 ||
        (faults_ && faults_->shouldFail(GdiCall::CreatePen))) {
        return {};
    }
    GdiObj handle = newObject(Kind::Pen);
    if (handle) {
        Object& o = *object(handle);
        o.style = style;
        o.colour = colour & 0xFFFFFF;
    }
    return handle;
}

GdiObj Gdi::createSolidBrush(Color colour) {
    if (faults_ && faults_->shouldFail(GdiCall::CreateSolidBrush)) {
        return {};
    }
    GdiObj handle = newObject(Kind::Brush);
    if (handle) {
        Object& o = *object(handle);
        o.brushKind = BrushKind::Solid;
        o.colour = colour & 0xFFFFFF;
    }
    return handle;
}

GdiObj Gdi::createHatchBrush(int style, Color colour) {
    if (style < HS_HORIZONTAL || style > HS_DIAGCROSS ||
        (faults_ && faults_->shouldFail(GdiCall::CreateHatchBrush))) {
        return {};
    }
    GdiObj handle = newObject(Kind::Brush);
    if (handle) {
        Object& o = *object(handle);
        o.brushKind = BrushKind::Hatch;
        o.style = style;
        o.colour = colour & 0xFFFFFF;
    }
    return handle;
}

GdiObj Gdi::createPatternBrush(GdiObj bitmap) {
    const Object* source = objectOfKind(bitmap, Kind::Bitmap);
    if (source == nullptr || (faults_ && faults_->shouldFail(GdiCall::CreatePatternBrush))) {
        return {};
    }
    Bitmap copy = source->bitmap;  // the platform copies too: the brush outlives the bitmap
    GdiObj handle = newObject(Kind::Brush);
    if (handle) {
        Object& o = *object(handle);
        o.brushKind = BrushKind::Pattern;
        o.bitmap = std::move(copy);
    }
    return handle;
}

GdiObj Gdi::createFont(const FontInfo& font) {
    GdiObj handle = newObject(Kind::Font);
    if (handle) {
        object(handle)->font = font;
    }
    return handle;
}

GdiObj Gdi::getStockObject(int index) const {
    if (index < 0 || index >= static_cast<int>(stock_.size())) {
        return {};
    }
    return stock_[static_cast<std::size_t>(index)];
}

GdiObj Gdi::selectObject(Hdc handle, GdiObj selected) {
    Dc* dc = dcOf(handle);
    Object* o = object(selected);
    if (dc == nullptr || o == nullptr) {
        return {};
    }
    GdiObj previous;
    switch (o->kind) {
        case Kind::Pen:
            previous = std::exchange(dc->pen, selected);
            break;
        case Kind::Brush:
            previous = std::exchange(dc->brush, selected);
            break;
        case Kind::Font:
            previous = std::exchange(dc->font, selected);
            break;
        case Kind::Bitmap: {
            // A bitmap lives in one memory DC at a time.
            if (dc->kind != DcKind::Memory ||
                (!o->stock && o->selectedIn && o->selectedIn != handle) ||
                (faults_ && faults_->shouldFail(GdiCall::SelectBitmap))) {
                return {};
            }
            previous = std::exchange(dc->bitmap, selected);
            if (Object* old = object(previous); old != nullptr && !old->stock) {
                old->selectedIn = {};
            }
            if (!o->stock) {
                o->selectedIn = handle;
            }
            break;
        }
        case Kind::Free:
            return {};
    }
    return previous;
}

bool Gdi::isSelectedAnywhere(GdiObj handle) const {
    return std::any_of(dcs_.begin(), dcs_.end(), [handle](const Dc& dc) {
        return dc.kind != DcKind::Free &&
               (dc.pen == handle || dc.brush == handle || dc.font == handle || dc.bitmap == handle);
    });
}

bool Gdi::deleteObject(GdiObj handle) {
    Object* o = object(handle);
    if (o == nullptr || o->stock || isSelectedAnywhere(handle)) {
        return false;
    }
    o->kind = Kind::Free;
    o->generation = nextGeneration(o->generation);
    o->bitmap = Bitmap();
    freeObjects_.push_back(static_cast<std::uint32_t>(indexOf(handle.id)));
    return true;
}

// ---- DC state ----

Color Gdi::setBkColor(Hdc handle, Color colour) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? std::exchange(dc->bkColor, colour & 0xFFFFFF) : 0xFFFFFFFF;
}

int Gdi::setBkMode(Hdc handle, int mode) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || (mode != OPAQUE && mode != TRANSPARENT)) {
        return 0;
    }
    return std::exchange(dc->bkMode, mode);
}

Color Gdi::setTextColor(Hdc handle, Color colour) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? std::exchange(dc->textColor, colour & 0xFFFFFF) : 0xFFFFFFFF;
}

bool Gdi::moveToEx(Hdc handle, int x, int y, Point* previous) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) {
        return false;
    }
    if (previous != nullptr) {
        *previous = dc->position;
    }
    dc->position = {x, y};
    return true;
}

// ---- read-outs ----

const Bitmap* Gdi::surface(Hdc handle) const {
    const Dc* dc = dcOf(handle);
    return dc != nullptr ? surfaceOf(*dc) : nullptr;
}

Point Gdi::currentPosition(Hdc handle) const {
    const Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->position : Point{};
}

int Gdi::bkMode(Hdc handle) const {
    const Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->bkMode : 0;
}

Color Gdi::textColor(Hdc handle) const {
    const Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->textColor : 0;
}

GdiObj Gdi::selectedFont(Hdc handle) const {
    const Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->font : GdiObj{};
}

std::size_t Gdi::liveObjectCount() const {
    return static_cast<std::size_t>(
        std::count_if(objects_.begin(), objects_.end(),
                      [](const Object& o) { return o.kind != Kind::Free && !o.stock; }));
}

std::size_t Gdi::liveDcCount() const {
    return static_cast<std::size_t>(std::count_if(dcs_.begin(), dcs_.end(), [](const Dc& dc) {
        return dc.kind == DcKind::Display || dc.kind == DcKind::Memory;
    }));
}

}  // namespace tv
