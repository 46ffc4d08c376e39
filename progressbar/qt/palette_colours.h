#pragma once
// The system colour table from the desktop's palette, so that the bar's highlight
// colour and edges follow the user's theme.

#include <QPalette>

#include "progressbar/sys_colors.h"

namespace tv {

// Entries the palette has no role for keep their Luna values.
SysColorTable sysColorsFromPalette(const QPalette& palette);

}  // namespace tv
