#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusReply>

#include "platform/qt/dbus/upower_power_status.h"
#include "platform/qt/testing/application.h"
#include "platform/qt/testing/private_bus.h"
#include "platform/testing/fixed_power_status.h"

namespace tv {
namespace {

using testing::eventually;

UPowerDevice battery(double percentage, std::uint32_t state) {
    return UPowerDevice{2, true, percentage, state, false};
}

TEST(UPowerStatus, StatesAndRoundingAsThePlatformReportsThem) {
    // Charging on mains.
    SYSTEM_POWER_STATUS status = statusFromUPower(battery(50.4, 1), {true}, false);
    EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
    EXPECT_EQ(status.BatteryLifePercent, 50);
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_CHARGING);
    // Discharging: one line-power device online is enough for mains, none is battery.
    status = statusFromUPower(battery(20.6, 2), {false, false}, true);
    EXPECT_EQ(status.ACLineStatus, AC_LINE_OFFLINE);
    EXPECT_EQ(status.BatteryLifePercent, 21);
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_LOW);
    EXPECT_EQ(statusFromUPower(battery(50, 2), {false, true}, false).ACLineStatus, AC_LINE_ONLINE);
    // Held by a charge limit ("pending charge") on mains: not charging.
    status = statusFromUPower(battery(80, 5), {true}, false);
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_HIGH);
    // Still charging at 99.6 %: not yet "full".
    EXPECT_EQ(statusFromUPower(battery(99.6, 1), {true}, false).BatteryLifePercent, 99);
    EXPECT_EQ(statusFromUPower(battery(99.6, 4), {true}, false).BatteryLifePercent, 100);
    // Without line-power devices the service's own verdict tells.
    EXPECT_EQ(statusFromUPower(battery(50, 2), {}, true).ACLineStatus, AC_LINE_OFFLINE);
    // A UPS is a battery too; a desktop has none.
    EXPECT_EQ(statusFromUPower(UPowerDevice{3, true, 70, 2, false}, {}, true).BatteryLifePercent,
              70);
    status = statusFromUPower(UPowerDevice{}, {true}, false);
    EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
    EXPECT_EQ(status.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
}

// A stand-in UPower on a private system bus, changed through its control interface.
class UPowerOnPrivateBus : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::application();
        if (access(TV_UPOWER_XML_DIR "/org.freedesktop.UPower.Device.xml", R_OK) != 0) {
            GTEST_SKIP() << "upower's interface XML is not installed";
        }
        ASSERT_TRUE(bus_.running());
        connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(bus_.address()), QStringLiteral("upower-client")));
        startService();
    }
    void TearDown() override {
        testing::stopProcess(service_);
        connection_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("upower-client"));
    }

    void startService() {
        service_ = testing::spawnProcess({TV_FAKE_UPOWER, bus_.address(), TV_UPOWER_XML_DIR});
        ASSERT_TRUE(eventually([&] { return UPowerPowerStatus::runsOn(*connection_); }));
    }
    void set(const QString& device, const QString& property, const QString& value) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.UPower"), QStringLiteral("/org/freedesktop/UPower"),
            QStringLiteral("org.tolvane.FakeUPower"), QStringLiteral("Set"));
        call << device << property << value;
        QDBusMessage reply = connection_->call(call);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    // Two batteries and a charger, as the service describes a laptop with a second pack.
    void laptop() {
        set("line_power_AC", "Type", "1");
        set("line_power_AC", "PowerSupply", "true");
        set("line_power_AC", "Online", "false");
        for (const char* name : {"battery_BAT0", "battery_BAT1"}) {
            set(name, "Type", "2");
            set(name, "IsPresent", "true");
            set(name, "State", "2");
        }
        set("battery_BAT0", "Percentage", "90");
        set("battery_BAT1", "Percentage", "10");
        set("DisplayDevice", "Type", "2");
        set("DisplayDevice", "IsPresent", "true");
        set("DisplayDevice", "State", "2");
        set("DisplayDevice", "Percentage", "57.4");
    }
    SYSTEM_POWER_STATUS read(PowerStatusSource& source) {
        SYSTEM_POWER_STATUS status;
        source.GetSystemPowerStatus(status);
        return status;
    }

    testing::PrivateBus bus_{"system"};
    std::unique_ptr<QDBusConnection> connection_;
    pid_t service_ = -1;
    FixedPowerStatus fallback_;
};

TEST_F(UPowerOnPrivateBus, ReadingsFollowTheServicesSignals) {
    laptop();
    UPowerPowerStatus power(*connection_, fallback_);
    ASSERT_TRUE(power.serviceRunning());
    // The display device combines both batteries; the batteries themselves are not
    // averaged again.
    SYSTEM_POWER_STATUS status = read(power);
    EXPECT_EQ(status.ACLineStatus, AC_LINE_OFFLINE);
    EXPECT_EQ(status.BatteryLifePercent, 57);
    set("line_power_AC", "Online", "true");
    set("DisplayDevice", "State", "1");
    EXPECT_TRUE(eventually([&] { return read(power).BatteryFlag == BATTERY_FLAG_CHARGING; }));
    EXPECT_EQ(read(power).ACLineStatus, AC_LINE_ONLINE);
    // A charge limit holds: the service says "pending charge".
    set("DisplayDevice", "State", "5");
    EXPECT_TRUE(eventually([&] { return read(power).BatteryFlag == 0; }));
    // A second charger plugged in later counts as well.
    set("line_power_AC", "Online", "false");
    set("line_power_USB", "Type", "1");
    set("line_power_USB", "Online", "true");
    EXPECT_TRUE(eventually([&] { return read(power).ACLineStatus == AC_LINE_ONLINE; }));
}

TEST_F(UPowerOnPrivateBus, TheFallbackAnswersWhileTheServiceIsAway) {
    laptop();
    fallback_.set(AC_LINE_ONLINE, BATTERY_FLAG_HIGH, 77);
    UPowerPowerStatus power(*connection_, fallback_);
    EXPECT_EQ(read(power).BatteryLifePercent, 57);
    testing::stopProcess(service_);
    EXPECT_TRUE(eventually([&] { return !power.serviceRunning(); }));
    EXPECT_EQ(read(power).BatteryLifePercent, 77);
    startService();
    ASSERT_TRUE(eventually([&] { return power.serviceRunning(); }));
    laptop();
    EXPECT_TRUE(eventually([&] { return read(power).BatteryLifePercent == 57; }));
}

// The real service, where it is installed, on a private bus: here a machine without
// batteries, which it reports as a desktop on mains.
TEST(UPowerService, AMachineWithoutBatteriesRunsOnMains) {
    testing::application();
    if (access("/usr/libexec/upowerd", X_OK) != 0) {
        GTEST_SKIP() << "upowerd is not installed";
    }
    testing::PrivateBus bus("system");
    // Its history files go to the test's folder, not the machine's.
    pid_t daemon = testing::spawnProcess(
        {"/usr/libexec/upowerd"},
        {"DBUS_SYSTEM_BUS_ADDRESS=" + bus.address(), "UPOWER_HISTORY_DIR=" + bus.dir()});
    QDBusConnection connection = QDBusConnection::connectToBus(
        QString::fromStdString(bus.address()), QStringLiteral("real-upower"));
    FixedPowerStatus fallback;
    fallback.set(AC_LINE_OFFLINE, BATTERY_FLAG_LOW, 12);
    if (eventually([&] { return UPowerPowerStatus::runsOn(connection); })) {
        UPowerPowerStatus power(connection, fallback);
        SYSTEM_POWER_STATUS status;
        power.GetSystemPowerStatus(status);
        EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
        EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
    } else {
        ADD_FAILURE() << "upowerd did not come up on the private bus";
    }
    testing::stopProcess(daemon);
    QDBusConnection::disconnectFromBus(QStringLiteral("real-upower"));
}

TEST(UPowerWithoutBus, TheFallbackAnswers) {
    testing::application();
    QDBusConnection bus = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/system_bus_socket"), QStringLiteral("nobus"));
    FixedPowerStatus fallback;
    fallback.set(AC_LINE_OFFLINE, BATTERY_FLAG_LOW, 12);
    UPowerPowerStatus power(bus, fallback);
    SYSTEM_POWER_STATUS status;
    power.GetSystemPowerStatus(status);
    EXPECT_FALSE(power.serviceRunning());
    EXPECT_EQ(status.BatteryLifePercent, 12);
}

}  // namespace
}  // namespace tv
