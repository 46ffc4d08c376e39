#include "render_options.h"

#include <charconv>
#include <limits>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

const char* const renderUsage =
    "usage: progressbar-render [--width N] [--height N] [--scrolling N] [--orientation N] [--value "
    "N]\n"
    "                          [--max N] [--min N] [--color &HBBGGRR] [--show-text] [--brush-style "
    "N]\n"
    "                          [--image FILE] OUT.png|OUT.ppm\n"
    "Defaults: 385 x 25, segmented (0), horizontal (0), value 50 of 0-100, colour &H2BD228, no "
    "text.\n";

namespace {

int parseInt(std::string_view option, std::string_view text, long long low, long long high) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", not '" + std::string(text) + "'");
    }
    return static_cast<int>(value);
}

Color parseColour(std::string_view text) {
    std::uint32_t value = 0;
    bool prefixed = text.size() > 2 && (text.substr(0, 2) == "&H" || text.substr(0, 2) == "&h");
    std::string_view digits = prefixed ? text.substr(2) : std::string_view{};
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (!prefixed || digits.size() > 8 || error != std::errc() ||
        end != digits.data() + digits.size()) {
        throw UsageError("--color needs the form &HBBGGRR, not '" + std::string(text) + "'");
    }
    return value;
}

}  // namespace

bool RenderOptions::png() const {
    return endsWithIgnoreCase(out, ".png");
}

RenderOptions parseRenderOptions(const std::vector<std::string_view>& args) {
    constexpr long long intMin = std::numeric_limits<std::int32_t>::min();
    constexpr long long intMax = std::numeric_limits<std::int32_t>::max();
    RenderOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        auto next = [&]() -> std::string_view {
            if (i + 1 >= args.size()) {
                throw UsageError(std::string(arg) + " needs a value");
            }
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--show-text") {
            o.showText = true;
        } else if (arg == "--width") {
            o.width = parseInt(arg, next(), 1, 4096);
        } else if (arg == "--height") {
            o.height = parseInt(arg, next(), 1, 4096);
        } else if (arg == "--scrolling") {
            o.scrolling = parseInt(arg, next(), intMin, intMax);
        } else if (arg == "--orientation") {
            o.orientation = parseInt(arg, next(), intMin, intMax);
        } else if (arg == "--value") {
            o.value = parseInt(arg, next(), intMin, intMax);
        } else if (arg == "--max") {
            o.max = parseInt(arg, next(), intMin, intMax);
        } else if (arg == "--min") {
            o.min = parseInt(arg, next(), intMin, intMax);
        } else if (arg == "--color") {
            o.color = parseColour(next());
        } else if (arg == "--brush-style") {
            o.brushStyle = parseInt(arg, next(), -32768, 32767);
        } else if (arg == "--image") {
            o.image = std::string(next());
        } else if (arg.size() > 1 && arg.front() == '-') {
            throw UsageError("unknown option '" + std::string(arg) + "'");
        } else if (!o.out.empty()) {
            throw UsageError("only one output file, not '" + o.out + "' and '" + std::string(arg) +
                             "'");
        } else {
            o.out = std::string(arg);
        }
    }
    if (o.help) {
        return o;
    }
    if (o.out.empty()) {
        throw UsageError("no output file (OUT.png or OUT.ppm)");
    }
    if (!o.png() && !endsWithIgnoreCase(o.out, ".ppm")) {
        throw UsageError("the output file must end in .png or .ppm, not '" + o.out + "'");
    }
    return o;
}

}  // namespace tv
