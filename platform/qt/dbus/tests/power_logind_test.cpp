#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/qt/dbus/power_events_system.h"
#include "platform/qt/dbus/sleep_system.h"
#include "platform/qt/testing/application.h"
#include "runtime/testing/poll_until.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

// A container or CI machine: the system bus socket is not there.
TEST(LogindWithoutBus, EverythingDegradesQuietly) {
    testing::application();
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
    testing::application();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket");
    std::unique_ptr<SleepService> sleep = makeSystemSleep();
    EXPECT_FALSE(sleep->canHibernate());
    EXPECT_FALSE(sleep->SetSuspendState(false, false, false));
    EXPECT_FALSE(makeSystemPowerEvents()->isListening());
}

namespace fs = std::filesystem;

pid_t spawn(const std::vector<std::string>& args) {
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        int quiet = ::open("/dev/null", O_WRONLY);
        dup2(quiet, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

// Waits for the outside processes (bus, login manager), turning the event loop.
bool eventually(const std::function<bool()>& condition) {
    return testing::pollUntil(condition, 5000, [] { QCoreApplication::processEvents(); });
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A private bus with a stand-in login manager on it.
class LogindOnPrivateBus : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::application();
        if (access("/usr/bin/dbus-daemon", X_OK) != 0) {
            GTEST_SKIP() << "no dbus-daemon";
        }
        address_ = "unix:path=" + (dir_ / "bus").string();
        daemon_ = spawn({"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile",
                         "--address=" + address_});
        ASSERT_TRUE(eventually([&] { return fs::exists(dir_ / "bus"); }));
        manager_ = spawn({TV_FAKE_LOGIND, address_, dir_.string()});
        bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(address_), QStringLiteral("client")));
        ASSERT_TRUE(bus_->isConnected());
        ASSERT_TRUE(eventually([&] {
            return bus_->interface()
                ->isServiceRegistered(QStringLiteral("org.freedesktop.login1"))
                .value();
        }));
    }
    void TearDown() override {
        bus_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        stop(manager_);
        stop(daemon_);
    }

    testing::TempDir folder_{"logind"};
    fs::path dir_{folder_.path()};
    std::string address_;
    pid_t daemon_ = -1;
    pid_t manager_ = -1;
    std::unique_ptr<QDBusConnection> bus_;
};

TEST_F(LogindOnPrivateBus, HibernationIsAvailableExactlyWhenTheManagerSaysYes) {
    std::unique_ptr<SleepService> sleep = makeLogindSleep(*bus_);
    EXPECT_TRUE(sleep->canHibernate());
    for (const char* answer : {"no", "challenge", "na"}) {
        std::ofstream(dir_ / "answer") << answer;
        EXPECT_FALSE(sleep->canHibernate()) << answer;
    }
}

TEST_F(LogindOnPrivateBus, SleepRequestsAreInteractiveAndBroadcastAroundTheSleep) {
    std::unique_ptr<SleepService> sleep = makeLogindSleep(*bus_);
    std::unique_ptr<PowerEvents> events = makeLogindPowerEvents(*bus_);
    ASSERT_TRUE(events->isListening());
    std::vector<std::uint32_t> heard;
    events->setListener([&](std::uint32_t event) { heard.push_back(event); });
    EXPECT_TRUE(sleep->SetSuspendState(false, false, false));
    EXPECT_TRUE(eventually([&] { return heard.size() == 2; }));
    EXPECT_EQ(heard, (std::vector<std::uint32_t>{PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC}));
    EXPECT_TRUE(sleep->SetSuspendState(true, false, false));
    EXPECT_TRUE(eventually([&] { return heard.size() == 4; }));
    EXPECT_EQ(readAll(dir_ / "calls"), "Suspend true\nHibernate true\n");
}

}  // namespace
}  // namespace tv
