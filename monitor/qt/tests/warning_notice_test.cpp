#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <fstream>
#include <sstream>

#include "monitor/qt/testing/view_rig.h"
#include "monitor/qt/warning_notice.h"
#include "platform/qt/testing/private_bus.h"

namespace tv {
namespace {

// The monitor's windows in virtual time, with a stand-in notification server on a
// private session bus.
class WarningNoticeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus_.running());
        server_ = tv::testing::spawnProcess(
            {TV_FAKE_NOTIFICATIONS, bus_.address(), bus_.dir(), TV_NOTIFICATIONS_XML});
        connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(bus_.address()), QStringLiteral("notice-client")));
        ASSERT_TRUE(tv::testing::eventually([&] {
            return connection_->interface()
                ->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications"))
                .value();
        }));
        notifications_ = std::make_unique<DesktopNotifications>(*connection_);
        notice_ = std::make_unique<WarningNotice>(*notifications_);
    }
    void TearDown() override {
        notice_.reset();
        notifications_.reset();
        tv::testing::stopProcess(server_);
        connection_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("notice-client"));
    }

    void refresh(int ac, int flag, int percent) {
        rig_.refresh(ac, flag, percent);
        notice_->sync(*rig_.main, ac == AC_LINE_ONLINE);
    }
    // The server's record, once every call sent before has reached it: a call that
    // waits for its answer comes after them on the same connection.
    std::string calls() {
        QDBusMessage probe = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"),
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("GetCapabilities"));
        connection_->call(probe);
        QCoreApplication::processEvents();
        std::ifstream in(bus_.dir() + "/calls");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    tv::testing::ViewRig rig_;
    tv::testing::PrivateBus bus_;
    pid_t server_ = -1;
    std::unique_ptr<QDBusConnection> connection_;
    std::unique_ptr<DesktopNotifications> notifications_;
    std::unique_ptr<WarningNotice> notice_;
};

TEST_F(WarningNoticeTest, OneCriticalNotificationPerWarningClosedOnMains) {
    rig_.start(AC_LINE_OFFLINE, 0, 40);
    // The window opens with its message of the sample before; the notification has
    // the current one.
    refresh(AC_LINE_OFFLINE, 6, 5);
    refresh(AC_LINE_OFFLINE, 6, 4);  // the warning repeats while open: no second one
    ASSERT_TRUE(tv::testing::eventually([&] { return notifications_->shown(); }));
    EXPECT_EQ(calls(),
              "Notify Tolvane|0|dialog-error|Warning|Warning!  Battery Power is Extrememly "
              "Low\\nBattery Power Remaining: 5%\\nBattery Charge:  Critical\\nTolvane "
              "Remaining:  Unknown|urgency=2|-1 -> 1\n");
    refresh(AC_LINE_ONLINE, 8, 4);
    std::string record = calls();
    EXPECT_EQ(record.substr(record.find('\n') + 1), "Close 1\n");
    // Still open on mains: no new notification until it opens anew.
    refresh(AC_LINE_OFFLINE, 6, 4);
    record = calls();
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 2);
}

TEST_F(WarningNoticeTest, ClosingTheWarningClosesItsNotification) {
    rig_.start(AC_LINE_OFFLINE, 6, 5);
    notice_->sync(*rig_.main, false);
    ASSERT_TRUE(
        tv::testing::eventually([&] { return calls().find(" -> 1") != std::string::npos; }));
    rig_.views.warningWindow()->okLabel().onClick();
    notice_->sync(*rig_.main, false);
    EXPECT_NE(calls().find("Close 1\n"), std::string::npos);
}

TEST(WarningNoticeWithoutServer, NothingIsShown) {
    tv::testing::ViewRig rig;
    tv::testing::PrivateBus bus;
    QDBusConnection connection = QDBusConnection::connectToBus(
        QString::fromStdString(bus.address()), QStringLiteral("no-server"));
    DesktopNotifications notifications(connection);
    WarningNotice notice(notifications);
    rig.start(AC_LINE_OFFLINE, 6, 5);
    notice.sync(*rig.main, false);
    // The bus answers at once that nobody serves the name.
    EXPECT_TRUE(tv::testing::eventually([&] { return !notifications.shown(); }));
    QDBusConnection::disconnectFromBus(QStringLiteral("no-server"));
}

}  // namespace
}  // namespace tv
