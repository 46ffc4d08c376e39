#pragma once
// Suspend and resume broadcasts from the login manager's PrepareForSleep signal on
// the system bus,. Without a bus or
// a login manager nothing is broadcast and isListening() is false. Broadcasts come
// through the Qt event loop, on the window's thread.

#include <memory>

#include "platform/power_events.h"

class QDBusConnection;

namespace tv {

std::unique_ptr<PowerEvents> makeSystemPowerEvents();

std::unique_ptr<PowerEvents> makeLogindPowerEvents(const QDBusConnection& bus);

}  // namespace tv
