#pragma once
// The machine's sleep service: the login manager on the system bus
// (org.freedesktop.login1) where Qt's D-Bus module is built in, else a quiet
// stand-in. Without a bus or a login manager, requests are refused and hibernation
// is unavailable; nothing is reported. Needs a QCoreApplication.

#include <memory>

#include "platform/sleep.h"

class QDBusConnection;

namespace tv {

std::unique_ptr<SleepService> makeSystemSleep();

#ifdef TV_HAVE_LOGIND
// Suspend and Hibernate (interactive) and CanHibernate ("yes" only) on this bus.
std::unique_ptr<SleepService> makeLogindSleep(const QDBusConnection& bus);
#endif

}  // namespace tv
