#pragma once
// Bars that come from a saved form, the monitor's charge bar among them.

#include <memory>
#include <string_view>

#include "progressbar/property_bag.h"
#include "progressbar/xp_progressbar.h"

namespace tv {

// The saved form of the monitor's XP_ProgressBar1, built into the program.
std::string_view xpProgressBar1FormText();
PropertyBag xpProgressBar1Form();

// The size stored with a form (_ExtentX, _ExtentY in HIMETRIC) in pixels at the given
// resolution; 0 where none is stored.
Size savedExtentPixels(const PropertyBag& form, double dotsPerInch = 96);

// A new bar on host, loaded from form. The host should already have the saved size.
std::unique_ptr<XP_ProgressBar> createProgressBar(ControlHost& host, Gdi& gdi,
                                                  const PropertyBag& form);

}  // namespace tv
