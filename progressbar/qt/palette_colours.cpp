#include "progressbar/qt/palette_colours.h"

namespace tv {

SysColorTable sysColorsFromPalette(const QPalette& palette) {
    SysColorTable table = SysColorTable::luna();
    auto take = [&](int index, QPalette::ColorRole role,
                    QPalette::ColorGroup group = QPalette::Active) {
        QColor c = palette.color(group, role);
        table.set(index, rgb(c.red(), c.green(), c.blue()));
    };
    take(COLOR_WINDOW, QPalette::Base);
    take(COLOR_WINDOWTEXT, QPalette::Text);
    take(COLOR_HIGHLIGHT, QPalette::Highlight);
    take(COLOR_HIGHLIGHTTEXT, QPalette::HighlightedText);
    take(COLOR_BTNFACE, QPalette::Button);
    take(COLOR_BTNTEXT, QPalette::ButtonText);
    take(COLOR_GRAYTEXT, QPalette::Text, QPalette::Disabled);
    // The four bevel shades, as Qt's own platform theme pairs them.
    take(COLOR_3DHILIGHT, QPalette::Light);
    take(COLOR_3DLIGHT, QPalette::Midlight);
    take(COLOR_3DSHADOW, QPalette::Dark);
    take(COLOR_3DDKSHADOW, QPalette::Shadow);
    take(COLOR_INFOBK, QPalette::ToolTipBase);
    take(COLOR_INFOTEXT, QPalette::ToolTipText);
    return table;
}

}  // namespace tv
