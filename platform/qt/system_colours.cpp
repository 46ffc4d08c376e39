#include "platform/qt/system_colours.h"

#include <array>

namespace tv {

namespace {

struct Row {
    int index;
    PaletteEntry entry;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;

const std::array<Row, 13> kRows = {{
    {5, {kActive, QPalette::Base}},              // window
    {8, {kActive, QPalette::Text}},              // window text
    {13, {kActive, QPalette::Highlight}},        // highlight
    {14, {kActive, QPalette::HighlightedText}},  // highlighted text
    {15, {kActive, QPalette::Button}},           // button face
    {16, {kActive, QPalette::Dark}},             // 3D shadow
    {17, {QPalette::Disabled, QPalette::Text}},  // grey text
    {18, {kActive, QPalette::ButtonText}},       // button text
    {20, {kActive, QPalette::Light}},            // 3D highlight
    {21, {kActive, QPalette::Shadow}},           // 3D dark shadow
    {22, {kActive, QPalette::Midlight}},         // 3D light
    {23, {kActive, QPalette::ToolTipText}},      // tooltip text
    {24, {kActive, QPalette::ToolTipBase}},      // tooltip background
}};

}  // namespace

std::optional<PaletteEntry> paletteEntryFor(int systemColourIndex) {
    for (const Row& row : kRows) {
        if (row.index == systemColourIndex) {
            return row.entry;
        }
    }
    return std::nullopt;
}

std::span<const int> systemColourIndexes() {
    static const std::array<int, kRows.size()> indexes = [] {
        std::array<int, kRows.size()> out{};
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            out[i] = kRows[i].index;
        }
        return out;
    }();
    return indexes;
}

}  // namespace tv
