#include "progressbar/saved_form.h"

#include "progressbar/draw_rounding.h"

namespace tv {

namespace {

constexpr double himetricPerInch = 2540;

std::int32_t toPixels(std::int32_t himetric, double dotsPerInch) {
    if (himetric <= 0) {
        return 0;
    }
    return roundCoordinate(himetric * dotsPerInch / himetricPerInch);
}

}  // namespace

PropertyBag xpProgressBar1Form() {
    return PropertyBag::fromText(xpProgressBar1FormText());
}

Size savedExtentPixels(const PropertyBag& form, double dotsPerInch) {
    return {toPixels(readLong(form, "_ExtentX", 0), dotsPerInch),
            toPixels(readLong(form, "_ExtentY", 0), dotsPerInch)};
}

std::unique_ptr<XP_ProgressBar> createProgressBar(ControlHost& host, Gdi& gdi,
                                                  const PropertyBag& form) {
    auto bar = std::make_unique<XP_ProgressBar>(host, gdi);
    bar->UserControl_ReadProperties(form);
    return bar;
}

}  // namespace tv
