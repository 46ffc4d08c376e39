#pragma once
// A bar on an in-memory window, and pixel pictures of it: one character per pixel.

#include <map>
#include <memory>
#include <string>

#include "progressbar/offscreen_host.h"
#include "progressbar/xp_progressbar.h"

namespace tv::test {

using Legend = std::map<Color, char>;

inline std::string rowPicture(const Bitmap& b, int y, int x0, int x1, const Legend& legend) {
    std::string s;
    for (int x = x0; x < x1; ++x) {
        auto it = legend.find(b.at(x, y));
        s += it != legend.end() ? it->second : '?';
    }
    return s;
}

inline std::string columnPicture(const Bitmap& b, int x, int y0, int y1, const Legend& legend) {
    std::string s;
    for (int y = y0; y < y1; ++y) {
        auto it = legend.find(b.at(x, y));
        s += it != legend.end() ? it->second : '?';
    }
    return s;
}

// '#' where a pixel differs from white, '.' where it is white.
inline std::string inkRow(const Bitmap& b, int y, int x0, int x1) {
    std::string s;
    for (int x = x0; x < x1; ++x) {
        s += b.at(x, y) == 0xFFFFFF ? '.' : '#';
    }
    return s;
}

inline std::string inkColumn(const Bitmap& b, int x, int y0, int y1) {
    std::string s;
    for (int y = y0; y < y1; ++y) {
        s += b.at(x, y) == 0xFFFFFF ? '.' : '#';
    }
    return s;
}

// The bar is made by create(), so a test can arrange faults first.
struct BarRig {
    explicit BarRig(int width = 385, int height = 25, bool createNow = true)
        : host(gdi, width, height, [this] { ++windowDraws; }) {
        if (createNow) {
            create();
        }
    }
    XP_ProgressBar& create() {
        bar = std::make_unique<XP_ProgressBar>(host, gdi);
        return *bar;
    }
    const Bitmap& screen() const { return host.surface(); }

    SysColorTable colours = SysColorTable::luna();
    BlockTextEngine text;
    FaultPlan faults;
    Gdi gdi{colours, text, &faults};
    OffscreenHost host;
    std::unique_ptr<XP_ProgressBar> bar;
    int windowDraws = 0;
};

}  // namespace tv::test
