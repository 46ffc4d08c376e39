#include "progressbar/sys_colors.h"

namespace tv {

SysColorTable SysColorTable::luna() {
    SysColorTable table;
    // Index order of the platform's COLOR_ constants; 25 is unused there.
    table.colours_ = {
        rgb(212, 208, 200), rgb(0, 78, 152),    rgb(0, 84, 227),    rgb(122, 150, 223),
        rgb(255, 255, 255), rgb(255, 255, 255), rgb(0, 0, 0),       rgb(0, 0, 0),
        rgb(0, 0, 0),       rgb(255, 255, 255), rgb(212, 208, 200), rgb(212, 208, 200),
        rgb(128, 128, 128), rgb(49, 106, 197),  rgb(255, 255, 255), rgb(236, 233, 216),
        rgb(172, 168, 153), rgb(172, 168, 153), rgb(0, 0, 0),       rgb(216, 228, 248),
        rgb(255, 255, 255), rgb(113, 111, 100), rgb(241, 239, 226), rgb(0, 0, 0),
        rgb(255, 255, 225), rgb(0, 0, 0),       rgb(0, 0, 128),     rgb(61, 149, 255),
        rgb(157, 185, 235), rgb(49, 106, 197),  rgb(236, 233, 216),
    };
    return table;
}

Color SysColorTable::get(int index) const {
    if (index < 0 || index >= count) {
        return 0;
    }
    return colours_[static_cast<std::size_t>(index)];
}

void SysColorTable::set(int index, Color colour) {
    if (index >= 0 && index < count) {
        colours_[static_cast<std::size_t>(index)] = colour & 0xFFFFFF;
    }
}

}  // namespace tv
