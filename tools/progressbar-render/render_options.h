#pragma once
// Command line of progressbar-render.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "progressbar/raster_types.h"

namespace tv {

// A command line that cannot be used; the message is one line.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct RenderOptions {
    int width = 385;
    int height = 25;
    int scrolling = 0;
    int orientation = 0;
    int value = 50;
    int max = 100;
    int min = 0;
    Color color = 0x2BD228;
    bool showText = false;
    std::optional<int> brushStyle;
    std::string image;
    std::string out;
    bool help = false;
    bool png() const;
};

extern const char* const renderUsage;

// Throws UsageError.
RenderOptions parseRenderOptions(const std::vector<std::string_view>& args);

}  // namespace tv
