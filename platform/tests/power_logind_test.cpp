#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>

#include "platform/power_events_system.h"
#include "platform/sleep_system.h"

namespace tv {
namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "power_services_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A container or CI machine: the system bus socket is not there.
TEST(LogindWithoutBus, EverythingDegradesQuietly) {
    application();
    QDBusConnection bus = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/system_bus_socket"), QStringLiteral("nobus"));
    ASSERT_FALSE(bus.isConnected());
    std::unique_ptr<SleepService> sleep = makeLogindSleep(bus);
    EXPECT_FALSE(sleep->canHibernate());
    EXPECT_FALSE(sleep->SetSuspendState(false, false, false));
    EXPECT_FALSE(sleep->SetSuspendState(true, false, false));
    std::unique_ptr<PowerEvents> events = makeLogindPowerEvents(bus);
    EXPECT_FALSE(events->isListening());
    int heard = 0;
    events->setListener([&](std::uint32_t) { ++heard; });
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 0);
}

TEST(LogindWithoutBus, SystemServicesFollowTheEnvironment) {
    application();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket");
    std::unique_ptr<SleepService> sleep = makeSystemSleep();
    EXPECT_FALSE(sleep->canHibernate());
    EXPECT_FALSE(sleep->SetSuspendState(false, false, false));
    EXPECT_FALSE(makeSystemPowerEvents()->isListening());
}

}  // namespace
}  // namespace tv
