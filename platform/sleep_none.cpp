// Built without Qt's D-Bus module: the machine is never put to sleep from here.

#include "platform/sleep_system.h"

namespace tv {

std::unique_ptr<SleepService> makeSystemSleep() {
    return std::make_unique<NoSleep>();
}

}  // namespace tv
