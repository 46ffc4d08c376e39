// Built without Qt's D-Bus module: no broadcasts arrive.

#include "platform/power_events_system.h"

namespace tv {

std::unique_ptr<PowerEvents> makeSystemPowerEvents() {
    return std::make_unique<NoPowerEvents>();
}

}  // namespace tv
