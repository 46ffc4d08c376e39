#include "progressbar/qt/palette_colours.h"

#include "platform/qt/system_colours.h"

namespace tv {

SysColorTable sysColorsFromPalette(const QPalette& palette) {
    SysColorTable table = SysColorTable::luna();
    for (int index : systemColourIndexes()) {
        PaletteEntry entry = *paletteEntryFor(index);
        QColor c = palette.color(entry.group, entry.role);
        table.set(index, rgb(c.red(), c.green(), c.blue()));
    }
    return table;
}

}  // namespace tv
