#pragma once
// The machine's sleep service: the login manager on the system bus
// (org.freedesktop.login1). Without a bus or a login manager, requests are refused
// and hibernation is unavailable; nothing is reported. Needs a QCoreApplication.

#include <memory>

#include "platform/sleep.h"

class QDBusConnection;

namespace tv {

std::unique_ptr<SleepService> makeSystemSleep();

// Suspend and Hibernate (interactive) and CanHibernate ("yes" only) on this bus.
std::unique_ptr<SleepService> makeLogindSleep(const QDBusConnection& bus);

}  // namespace tv
