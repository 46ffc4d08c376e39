// The bar's saved-form reader on any text: a form that reads writes back to text that
// reads as the same form, and a bar loads from it.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "progressbar/offscreen_host.h"
#include "progressbar/saved_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tv::PropertyBag bag;
    try {
        bag = tv::PropertyBag::fromText(text);
    } catch (const tv::FormatError&) {
        return 0;
    }
    std::string saved = bag.toText();
    if (tv::PropertyBag::fromText(saved).toText() != saved) {
        __builtin_trap();
    }
    try {
        tv::savedExtentPixels(bag);
    } catch (const tv::FormatError&) {
        // a size of the wrong type: named in the message
    }
    tv::SysColorTable colours = tv::SysColorTable::luna();
    tv::BlockTextEngine engine;
    tv::Gdi gdi{colours, engine, nullptr};
    tv::OffscreenHost host(gdi, 120, 20);
    try {
        tv::createProgressBar(host, gdi, bag);
    } catch (const std::runtime_error&) {
        // a value of the wrong type, or Max equal to Min (the bar's DivisionError), or a
        // range that overflows: reported, and the bar is not made
    }
    return 0;
}
