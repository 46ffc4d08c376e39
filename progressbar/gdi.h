#pragma once
// A small raster that follows the platform's drawing calls rule for rule: handles,
// device contexts with selected objects, brushes, pens, blits, edges and text. The bar
// draws through it exactly as it would draw on the platform, so every pixel can be
// tested on any machine. Pens and brushes live in slot tables that are reused, so
// creating one per line costs no heap allocation.

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "progressbar/raster_types.h"
#include "progressbar/sys_colors.h"
#include "progressbar/text_engine.h"

namespace tv {

// Handles are never 0 when valid; a deleted object's handle stays invalid.
struct Hdc {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    bool operator==(const Hdc&) const = default;
};
struct GdiObj {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    bool operator==(const GdiObj&) const = default;
};
struct Hwnd {
    std::uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    bool operator==(const Hwnd&) const = default;
};

// The creation calls that can fail on the platform.
enum class GdiCall {
    CreateDC,
    CreateCompatibleDC,
    CreateCompatibleBitmap,
    SelectBitmap,
    CreatePen,
    CreateSolidBrush,
    CreateHatchBrush,
    CreatePatternBrush,
    Count
};

// Which creations fail, so that tests reach the fallbacks.
class FaultPlan {
  public:
    void failAlways(GdiCall call) { pending_[index(call)] = -1; }
    void failNext(GdiCall call, int times = 1) { pending_[index(call)] = times; }
    void clear() { pending_.fill(0); }
    bool shouldFail(GdiCall call);

  private:
    static std::size_t index(GdiCall call) { return static_cast<std::size_t>(call); }
    std::array<int, static_cast<std::size_t>(GdiCall::Count)> pending_{};
};

class Gdi {
  public:
    Gdi(const SysColorTable& colours, TextEngine& text, FaultPlan* faults = nullptr);
    Gdi(const Gdi&) = delete;
    Gdi& operator=(const Gdi&) = delete;

    // Windows: a client-area surface with its own persistent DC. onDrawn runs after
    // every call that painted on that DC.
    Hwnd createWindow(int width, int height, std::function<void()> onDrawn = {});
    void destroyWindow(Hwnd window);
    // New pixels take the background colour; the old ones stay where they fit.
    void resizeWindow(Hwnd window, int width, int height, Color background);
    Hdc getDC(Hwnd window) const;
    bool getClientRect(Hwnd window, Rect& rect) const;
    const Bitmap* windowSurface(Hwnd window) const;

    // Device contexts. Only the "DISPLAY" driver exists.
    Hdc createDC(std::string_view driver, std::string_view device, std::string_view output,
                 const void* initData);
    Hdc createCompatibleDC(Hdc dc);
    bool deleteDC(Hdc dc);

    // Objects.
    GdiObj createCompatibleBitmap(Hdc dc, int width, int height);
    GdiObj createBitmap(const Bitmap& pixels);
    GdiObj createPen(int style, int width, Color colour);
    GdiObj createSolidBrush(Color colour);
    GdiObj createHatchBrush(int style, Color colour);
    GdiObj createPatternBrush(GdiObj bitmap);
    GdiObj createFont(const FontInfo& font);
    GdiObj getStockObject(int index) const;
    // Returns the object of the same kind that was selected before, or a null handle
    // when nothing changed.
    GdiObj selectObject(Hdc dc, GdiObj object);
    // Refuses stock objects and objects that are selected into a DC.
    bool deleteObject(GdiObj object);

    // DC state; each returns the previous value.
    Color setBkColor(Hdc dc, Color colour);
    int setBkMode(Hdc dc, int mode);
    Color setTextColor(Hdc dc, Color colour);
    Color getSysColor(int index) const { return colours_.get(index); }

    // Drawing.
    bool moveToEx(Hdc dc, int x, int y, Point* previous = nullptr);
    bool lineTo(Hdc dc, int x, int y);
    bool fillRect(Hdc dc, const Rect& rect, GdiObj brush);
    bool frameRect(Hdc dc, const Rect& rect, GdiObj brush);
    bool setPixelV(Hdc dc, int x, int y, Color colour);
    bool patBlt(Hdc dc, int x, int y, int width, int height, std::uint32_t rop);
    bool bitBlt(Hdc target, int x, int y, int width, int height, Hdc source, int xSource,
                int ySource, std::uint32_t rop);
    bool drawEdge(Hdc dc, Rect& rect, unsigned edge, unsigned flags);
    // Count below 0 takes the whole text. Returns the text height, 0 on failure.
    int drawText(Hdc dc, std::string_view text, int count, Rect& rect, unsigned format);

    // Read-outs, for hosts and tests.
    const Bitmap* surface(Hdc dc) const;
    Point currentPosition(Hdc dc) const;
    int bkMode(Hdc dc) const;
    Color textColor(Hdc dc) const;
    GdiObj selectedFont(Hdc dc) const;
    // Live objects and DCs that someone created and must delete (no stock, no windows).
    std::size_t liveObjectCount() const;
    std::size_t liveDcCount() const;

  private:
    enum class Kind : std::uint8_t { Free, Pen, Brush, Bitmap, Font };
    enum class BrushKind : std::uint8_t { Solid, Hatch, Pattern, Hollow };
    enum class DcKind : std::uint8_t { Free, Display, Memory, Window };

    struct Object {
        std::uint32_t generation = 1;
        Kind kind = Kind::Free;
        bool stock = false;
        BrushKind brushKind = BrushKind::Solid;
        int style = 0;
        Color colour = 0;
        Hdc selectedIn;  // bitmaps only
        Bitmap bitmap;   // a bitmap, or a pattern brush's copy
        FontInfo font;
    };
    struct Dc {
        std::uint32_t generation = 1;
        DcKind kind = DcKind::Free;
        std::uint32_t window = 0;
        GdiObj pen, brush, bitmap, font;
        Point position;
        Color bkColor = 0xFFFFFF;
        Color textColor = 0;
        int bkMode = OPAQUE;
    };
    struct Window {
        std::uint32_t generation = 1;
        bool live = false;
        Bitmap surface;
        Hdc dc;
        std::function<void()> onDrawn;
    };
    // A clipped, half-open span set on one surface.
    struct Area {
        std::int64_t x0, y0, x1, y1;
    };

    GdiObj newObject(Kind kind);
    Object* object(GdiObj handle);
    const Object* object(GdiObj handle) const;
    Object* objectOfKind(GdiObj handle, Kind kind);
    Hdc newDc(DcKind kind);
    Dc* dcOf(Hdc handle);
    const Dc* dcOf(Hdc handle) const;
    Window* windowOf(Hwnd handle);
    const Window* windowOf(Hwnd handle) const;
    Bitmap* surfaceOf(const Dc& dc);
    const Bitmap* surfaceOf(const Dc& dc) const;
    bool isSelectedAnywhere(GdiObj handle) const;
    void resetDcObjects(Dc& dc) const;
    void drawn(const Dc& dc);

    void paintArea(Bitmap& target, const Dc& dc, const Object& brush, Area area);
    void fillSolid(Bitmap& target, Area area, Color colour);
    bool fillWithBrush(Hdc dc, std::int64_t x, std::int64_t y, std::int64_t width,
                       std::int64_t height, GdiObj brush);
    void plotLine(Bitmap& target, Point from, Point to, Color colour);
    void plotDiagonal(Bitmap& target, Point from, Point to, Color colour);
    void edgeRing(Bitmap& target, Rect ring, unsigned flags, Color topLeft, Color bottomRight);

    const SysColorTable& colours_;
    TextEngine& text_;
    FaultPlan* faults_;
    std::vector<Object> objects_;
    std::vector<std::uint32_t> freeObjects_;
    std::vector<Dc> dcs_;
    std::vector<std::uint32_t> freeDcs_;
    std::vector<Window> windows_;
    std::array<GdiObj, SYSTEM_FONT + 1> stock_{};
    GdiObj defaultBitmap_;
};

}  // namespace tv
