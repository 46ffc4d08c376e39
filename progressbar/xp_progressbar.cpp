// Properties, value mapping, saving and loading, life cycle and back buffer of the bar.
// Drawing is in xp_progressbar_draw.cpp, xp_progressbar_segmented.cpp and
// xp_progressbar_styles.cpp.
#include "progressbar/xp_progressbar.h"

#include <limits>
#include <stdexcept>

#include "runtime/numbers.h"

namespace tv {

namespace {

constexpr tv::Color highlightColour = 0x8000000D;
constexpr std::int32_t defaultBrushStyle = 4;

bool fitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

std::int16_t toBrushStyle(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError("Overflow");
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

// A linear map of Min..Max onto 0..100. With Min 0 this is v x 100 / Max and
// Percent / 100 x Max, exactly as the monitor relies on.
std::int32_t mapValueToPercent(std::int32_t value, std::int32_t min, std::int32_t max) {
    std::int64_t offset = std::int64_t{value} - min;
    if (!fitsInt32(offset) || !fitsInt32(offset * 100)) {
        throw OverflowError("Overflow");
    }
    double range = static_cast<double>(max) - min;
    if (range == 0) {
        throw DivisionError("Division by zero");
    }
    return roundToInt32(static_cast<double>(offset * 100) / range);
}

std::int32_t mapPercentToValue(std::int32_t percent, std::int32_t min, std::int32_t max) {
    double range = static_cast<double>(max) - min;
    return roundToInt32(percent / 100.0 * range + min);
}

XP_ProgressBar::XP_ProgressBar(ControlHost& host, Gdi& gdi) : host_(host), gdi_(gdi) {
    UserControl_Initialize();
}

XP_ProgressBar::~XP_ProgressBar() {
    UserControl_Terminate();
}

void XP_ProgressBar::UserControl_Initialize() {
    font_ = std::make_shared<StdFont>(gdi_);
    host_.setBackColor(0xFFFFFF);
    host_.setScaleModePixels();
    setHdc(host_.hDC());
    hwnd_ = host_.hWnd();
    max_ = 100;
    min_ = 0;
    percent_ = 0;
    orientation_ = 0;
    scrolling_ = Segmented;
    color_ = TranslateColor(highlightColour);
    DrawProgressBar();
}

// ---- properties ----

std::int32_t XP_ProgressBar::Value() const {
    return mapPercentToValue(percent_, min_, max_);
}

void XP_ProgressBar::setValue(std::int32_t value) {
    percent_ = mapValueToPercent(value, min_, max_);
    DrawProgressBar();
}

void XP_ProgressBar::setMin(std::int32_t min) {
    min_ = min;
    host_.propertyChanged("Min");
}

void XP_ProgressBar::setMax(std::int32_t max) {
    max_ = max;
    host_.propertyChanged("Max");
}

void XP_ProgressBar::setColor(tv::Color colour) {
    color_ = TranslateColor(colour);
    DrawProgressBar();
}

void XP_ProgressBar::setScrolling(std::int32_t scrolling) {
    scrolling_ = scrolling;
    host_.propertyChanged("Scrolling");
    DrawProgressBar();
}

void XP_ProgressBar::setOrientation(std::int32_t orientation) {
    orientation_ = orientation;
    host_.propertyChanged("Orientation");
    DrawProgressBar();
}

void XP_ProgressBar::setShowText(bool showText) {
    showText_ = showText;
    host_.propertyChanged("ShowText");
    DrawProgressBar();
}

void XP_ProgressBar::setBrushStyle(std::int32_t brushStyle) {
    // Checked here rather than at the next redraw, which could be a paint with no caller
    // to hear of it.
    brushStyle_ = toBrushStyle(brushStyle);
    host_.propertyChanged("BrushStyle");
}

void XP_ProgressBar::setImage(std::shared_ptr<StdPicture> image) {
    image_ = std::move(image);
    host_.propertyChanged("Image");
    DrawProgressBar();
}

void XP_ProgressBar::setFont(std::shared_ptr<StdFont> font) {
    if (!font) {
        throw std::invalid_argument("Font cannot be Nothing");
    }
    font_ = std::move(font);
}

void XP_ProgressBar::setHdc(Hdc) {
    Hdc buffer =
        EnsureBackBuffer(roundToInt32(host_.scaleWidth()), roundToInt32(host_.scaleHeight()));
    if (buffer) {
        drawTarget_ = buffer;
        buffered_ = true;
    } else {
        drawTarget_ = host_.hDC();
    }
}

// ---- saving and loading ----

void XP_ProgressBar::UserControl_WriteProperties(PropertyBag& bag) const {
    // The public value, so that a Max other than 100 survives a save and load; with the
    // default range it equals the drawn percentage. Read first: a failure writes nothing.
    std::int32_t value = Value();
    PropertyValue image;
    if (image_ && image_->pixels()) {
        image = *image_->pixels();
    }
    bag.writeProperty("Font", font_->info());
    bag.writeProperty("BrushStyle", std::int32_t{brushStyle_}, defaultBrushStyle);
    bag.writeProperty("Color", static_cast<std::int32_t>(color_),
                      static_cast<std::int32_t>(highlightColour));
    bag.writeProperty("Image", image, std::monostate{});
    bag.writeProperty("Max", max_, 100);
    bag.writeProperty("Min", min_, 0);
    bag.writeProperty("Orientation", orientation_, 0);
    bag.writeProperty("Scrolling", scrolling_, 0);
    bag.writeProperty("ShowText", showText_, false);
    bag.writeProperty("Value", value, 0);
}

void XP_ProgressBar::UserControl_ReadProperties(const PropertyBag& bag) {
    // Everything is read and checked before anything is applied, so a bad bag changes
    // nothing.
    std::optional<FontInfo> font = readFont(bag, "Font");
    std::int32_t brushStyle = readLong(bag, "BrushStyle", defaultBrushStyle);
    auto colour =
        static_cast<tv::Color>(readLong(bag, "Color", static_cast<std::int32_t>(highlightColour)));
    std::optional<Bitmap> image = readPicture(bag, "Image");
    std::int32_t max = readLong(bag, "Max", 100);
    std::int32_t min = readLong(bag, "Min", 0);
    std::int32_t orientation = readLong(bag, "Orientation", 0);
    std::int32_t scrolling = readLong(bag, "Scrolling", 0);
    bool showText = readBool(bag, "ShowText", false);
    std::int32_t value = readLong(bag, "Value", 0);
    if (brushStyle < std::numeric_limits<std::int16_t>::min() ||
        brushStyle > std::numeric_limits<std::int16_t>::max()) {
        throw FormatError("property BrushStyle must be from -32768 to 32767");
    }
    mapValueToPercent(value, min, max);

    if (font) {
        font_ = std::make_shared<StdFont>(gdi_, *font);
    }
    brushStyle_ = static_cast<std::int16_t>(brushStyle);
    setColor(colour);
    image_ = image ? std::make_shared<StdPicture>(gdi_, std::move(*image)) : nullptr;
    setMax(max);
    setMin(min);
    setOrientation(orientation);
    setScrolling(scrolling);
    setShowText(showText);
    setValue(value);
}

// ---- back buffer ----

Hdc XP_ProgressBar::EnsureBackBuffer(std::int32_t width, std::int32_t height) {
    if (backBuffer_.dc && (height > backBuffer_.height || width > backBuffer_.width)) {
        CreateBackBuffer(width, height);
    }
    if (!backBuffer_.dc && width > 0 && height > 0) {
        CreateBackBuffer(width, height);
    }
    return backBuffer_.dc;
}

void XP_ProgressBar::CreateBackBuffer(std::int32_t width, std::int32_t height) {
    ReleaseBackBuffer();
    Hdc display = gdi_.createDC("DISPLAY", "", "", nullptr);
    if (!display) {
        return;
    }
    backBuffer_.dc = gdi_.createCompatibleDC(display);
    // Compatible with the display: a memory DC would give a one-bit bitmap.
    backBuffer_.bitmap = gdi_.createCompatibleBitmap(display, width, height);
    backBuffer_.previousBitmap = gdi_.selectObject(backBuffer_.dc, backBuffer_.bitmap);
    bool made = backBuffer_.dc && backBuffer_.bitmap && backBuffer_.previousBitmap;
    gdi_.deleteDC(display);
    if (made) {
        backBuffer_.width = width;
        backBuffer_.height = height;
    } else {
        ReleaseBackBuffer();
    }
}

void XP_ProgressBar::ReleaseBackBuffer() {
    if (backBuffer_.previousBitmap) {
        gdi_.selectObject(backBuffer_.dc, backBuffer_.previousBitmap);
        backBuffer_.previousBitmap = {};
    }
    if (backBuffer_.bitmap) {
        gdi_.deleteObject(backBuffer_.bitmap);
        backBuffer_.bitmap = {};
    }
    if (backBuffer_.dc) {
        gdi_.deleteDC(backBuffer_.dc);
        backBuffer_.dc = {};
    }
    backBuffer_.width = 0;
    backBuffer_.height = 0;
}

void XP_ProgressBar::pDraw(Hdc hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc, int xDst,
                           int yDst) {
    if (WidthSrc < 1) {
        WidthSrc = backBuffer_.width;
    }
    if (HeightSrc < 1) {
        HeightSrc = backBuffer_.height;
    }
    gdi_.bitBlt(hdc, xDst, yDst, WidthSrc, HeightSrc, backBuffer_.dc, xSrc, ySrc, SRCCOPY);
}

}  // namespace tv
