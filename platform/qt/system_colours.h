#pragma once
// The one mapping of the platform's system colours onto the desktop's palette, used
// by the labels, the windows and the charge bar alike, as Qt's own platform theme
// pairs them (button face with Button, 3D shadow with Dark).

#include <QPalette>
#include <optional>
#include <span>

namespace tv {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette entry behind a system colour index; none for an index the palette has
// no role for.
std::optional<PaletteEntry> paletteEntryFor(int systemColourIndex);

// The indexes that have one, in ascending order.
std::span<const int> systemColourIndexes();

// Pixel size of the windows' text: the design's 8.25-point face at 96 dots per inch.
// The layouts are in pixels, so the text keeps to it whatever the desktop's font
// resolution.
inline constexpr int kWindowFontPixels = 11;

}  // namespace tv
