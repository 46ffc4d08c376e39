#include <gtest/gtest.h>
#include <time.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <sstream>

#include "platform/qt/dbus/power_dbus.h"
#include "platform/qt/testing/application.h"
#include "platform/qt/testing/private_bus.h"

namespace tv {
namespace {

// A private bus with a client connection; the stand-ins read their settings from
// files in its folder and write the calls they get there.
class StandInBus {
  public:
    StandInBus()
        : bus_(QDBusConnection::connectToBus(QString::fromStdString(daemon_.address()),
                                             QStringLiteral("power-client"))) {}
    ~StandInBus() {
        for (pid_t pid : standIns_) {
            testing::stopProcess(pid);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("power-client"));
    }

    // Starts PROGRAM ADDRESS FOLDER and waits for its name.
    bool serve(const std::string& program, const std::string& name) {
        standIns_.push_back(testing::spawnProcess({program, daemon_.address(), daemon_.dir()}));
        return testing::eventually([&] {
            return bus_.interface()->isServiceRegistered(QString::fromStdString(name)).value();
        });
    }
    void put(const std::string& file, const std::string& text) {
        std::ofstream(daemon_.dir() + "/" + file) << text;
    }
    std::string read(const std::string& file) const {
        std::ifstream in(daemon_.dir() + "/" + file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    QDBusConnection& bus() { return bus_; }
    const std::string& address() const { return daemon_.address(); }

  private:
    testing::PrivateBus daemon_{"system"};
    QDBusConnection bus_;
    std::vector<pid_t> standIns_;
};

class OnPrivateBus : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::application();
        if (access("/usr/bin/dbus-daemon", X_OK) != 0) {
            GTEST_SKIP() << "no dbus-daemon";
        }
        bus_ = std::make_unique<StandInBus>();
        ASSERT_TRUE(bus_->bus().isConnected());
    }
    StandInBus& bus() { return *bus_; }

  private:
    std::unique_ptr<StandInBus> bus_;
};

using Names = std::vector<std::string>;

TEST_F(OnPrivateBus, ProfilesComeFromTheDaemonAndTheChoiceReachesIt) {
    bus().put("profiles", "power-saver balanced");  // the placeholder driver's pair
    ASSERT_TRUE(bus().serve(TV_FAKE_PPD, "net.hadess.PowerProfiles"));
    auto profiles = makeDaemonPowerProfiles(bus().bus());
    EXPECT_EQ(profiles->offered(), (Names{"power-saver", "balanced"}));
    EXPECT_EQ(profiles->setProfile("power-saver"), "");
    EXPECT_EQ(bus().read("calls"), "net.hadess.PowerProfiles ActiveProfile power-saver\n");
    EXPECT_EQ(profiles->setProfile("performance"), "Invalid profile name 'performance'");
    bus().put("refuse", "");
    EXPECT_EQ(profiles->setProfile("balanced"), "Not authorized");
}

TEST_F(OnPrivateBus, ANewerDaemonIsAddressedByItsNewName) {
    bus().put("upower", "");
    ASSERT_TRUE(bus().serve(TV_FAKE_PPD, "org.freedesktop.UPower.PowerProfiles"));
    auto profiles = makeDaemonPowerProfiles(bus().bus());
    EXPECT_EQ(profiles->offered().size(), 3u);
    EXPECT_EQ(profiles->setProfile("performance"), "");
    EXPECT_EQ(bus().read("calls"),
              "org.freedesktop.UPower.PowerProfiles ActiveProfile performance\n");
}

TEST_F(OnPrivateBus, WithoutServicesEverythingSaysWhyAndNothingIsCalled) {
    EXPECT_TRUE(makeDaemonPowerProfiles(bus().bus())->offered().empty());
    EXPECT_EQ(makeDaemonPowerProfiles(bus().bus())->setProfile("balanced"),
              "no power-profiles-daemon");
    EXPECT_EQ(makeUdisksStandby(bus().bus())->unavailable(), "no UDisks2");
    EXPECT_EQ(makeSessionPowerManager(bus().bus())->running(), "");
}

TEST_F(OnPrivateBus, ADesktopPowerManagerIsFoundByItsName) {
    QDBusConnection desktop = QDBusConnection::connectToBus(QString::fromStdString(bus().address()),
                                                            QStringLiteral("desktop"));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.xfce.PowerManager")));
    EXPECT_EQ(makeSessionPowerManager(bus().bus())->running(), "org.xfce.PowerManager");
    QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
}

TEST_F(OnPrivateBus, OnlyRotatingDrivesGetAStandbyTimerAndOnlyWithoutAPassword) {
    bus().put("drives", "sda 7200\nsdb -1\nnvme0n1 0\n");
    ASSERT_TRUE(bus().serve(TV_FAKE_UDISKS, "org.freedesktop.UDisks2"));
    auto disks = makeUdisksStandby(bus().bus());
    EXPECT_EQ(disks->unavailable(), "");
    EXPECT_EQ(disks->setStandbyAfter(600), "");   // 120 × 5 s
    EXPECT_EQ(disks->setStandbyAfter(1800), "");  // 241: 30 min
    EXPECT_EQ(disks->setStandbyAfter(0), "");
    EXPECT_EQ(bus().read("calls"),
              "sda ata-pm-standby 120\nsdb ata-pm-standby 120\n"
              "sda ata-pm-standby 241\nsdb ata-pm-standby 241\n"
              "sda ata-pm-standby 0\nsdb ata-pm-standby 0\n");
    bus().put("password", "");
    EXPECT_EQ(disks->setStandbyAfter(300), "not allowed without a password");
}

TEST_F(OnPrivateBus, SolidStateDrivesAloneAreLeftAlone) {
    bus().put("drives", "nvme0n1 0\n");
    ASSERT_TRUE(bus().serve(TV_FAKE_UDISKS, "org.freedesktop.UDisks2"));
    EXPECT_EQ(makeUdisksStandby(bus().bus())->unavailable(), "no rotating drive");
}

TEST_F(OnPrivateBus, IdleSleepNeverAsksAndGivesWayToInhibitors) {
    ASSERT_TRUE(bus().serve(TV_FAKE_LOGIND, "org.freedesktop.login1"));
    auto sleep = makeLogindIdleSleep(bus().bus());
    EXPECT_TRUE(sleep->canHibernate());
    EXPECT_EQ(sleep->suspend(), "");
    bus().put("inhibited", "");
    EXPECT_EQ(sleep->hibernate(), "Interactive authentication required.");
    EXPECT_EQ(bus().read("calls"), "Suspend false\n");
}

TEST_F(OnPrivateBus, TheSessionsIdleTimeComesFromItsIdleHint) {
    ASSERT_TRUE(bus().serve(TV_FAKE_LOGIND, "org.freedesktop.login1"));
    auto idle = makeLogindIdleSource(bus().bus());
    EXPECT_EQ(idle->idleSeconds(), 0u);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto since = static_cast<unsigned long long>(now.tv_sec - 42) * 1000000ULL;
    bus().put("idle-since", std::to_string(since));
    std::optional<std::uint32_t> seconds = idle->idleSeconds();
    ASSERT_TRUE(seconds);
    EXPECT_GE(*seconds, 42u);
    EXPECT_LE(*seconds, 44u);
}

TEST_F(OnPrivateBus, WithoutALoginManagerThereIsNoIdleTimeAndNoSleep) {
    EXPECT_FALSE(makeLogindIdleSource(bus().bus())->idleSeconds());
    EXPECT_FALSE(makeLogindIdleSleep(bus().bus())->canHibernate());
    EXPECT_NE(makeLogindIdleSleep(bus().bus())->suspend(), "");
}

}  // namespace
}  // namespace tv
