// The real monitor program on a private desktop: its own Xvfb display, a private
// session bus and a private "system" bus with a stand-in login manager, and a
// simulated battery. Checks what only a running program shows: the menu a
// StatusNotifierItem panel gets, an XEmbed tray that starts late or restarts, and a
// second start.

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/qt/testing/application.h"
#include "platform/qt/testing/private_bus.h"
#include "runtime/testing/temp_dir.h"

namespace tv {
namespace {

using tv::testing::eventually;
using tv::testing::spawnProcess;
using tv::testing::stopProcess;

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t count = 0;
        while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            text.append(buffer, count);
        }
        pclose(pipe);
    }
    return text;
}

struct MenuEntry {
    int id = 0;
    QVariantMap properties;
};

// The children of the root of a com.canonical.dbusmenu layout, (ia{sv}av).
std::vector<MenuEntry> menuEntries(const QDBusArgument& layout) {
    std::vector<MenuEntry> entries;
    int rootId = 0;
    QVariantMap rootProperties;
    layout.beginStructure();
    layout >> rootId >> rootProperties;
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        const auto item = child.variant().value<QDBusArgument>();
        MenuEntry entry;
        item.beginStructure();
        item >> entry.id >> entry.properties;
        item.endStructure();
        entries.push_back(entry);
    }
    layout.endArray();
    layout.endStructure();
    return entries;
}

class DesktopSession : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::application();
        for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xwininfo", "/usr/bin/trayer"}) {
            if (access(tool, X_OK) != 0) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        // A display number of our own: the first free one from a start of our own.
        for (int number = 200 + getpid() % 500;; ++number) {
            if (access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) != 0 &&
                access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) != 0) {
                display_ = ":" + std::to_string(number);
                break;
            }
        }
        xvfb_ = spawnProcess(
            {"/usr/bin/Xvfb", display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        ASSERT_TRUE(eventually(
            [&] { return access(("/tmp/.X11-unix/X" + display_.substr(1)).c_str(), F_OK) == 0; }));
        logind_ = spawnProcess({TV_FAKE_LOGIND, systemBus_.address(), dir_.path()});
        ASSERT_EQ(std::system((std::string(TV_BIN_DIR) + "/battery-sim --dir " + dir_.path() +
                               "/supply --percent 80 --once")
                                  .c_str()),
                  0);
        session_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(sessionBus_.address()), QStringLiteral("desktop-session")));
        ::mkdir((dir_.path() + "/runtime").c_str(), 0700);
    }
    void TearDown() override {
        for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
            stopProcess(*it);
        }
        stopProcess(logind_);
        stopProcess(xvfb_);
        session_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop-session"));
    }

    pid_t start(const std::vector<std::string>& args) {
        pid_t pid = spawnProcess(
            args, {"DISPLAY=" + display_, "DBUS_SESSION_BUS_ADDRESS=" + sessionBus_.address(),
                   "DBUS_SYSTEM_BUS_ADDRESS=" + systemBus_.address(),
                   "TOLVANE_POWER_SUPPLY=" + dir_.path() + "/supply",
                   "TOLVANE_REGISTRY=" + dir_.path() + "/registry.db",
                   "XDG_RUNTIME_DIR=" + dir_.path() + "/runtime",
                   "XDG_CONFIG_HOME=" + dir_.path() + "/config", "QT_QPA_PLATFORM=xcb",
                   "NO_AT_BRIDGE=1"});
        processes_.push_back(pid);
        return pid;
    }
    pid_t startMonitor() { return start({std::string(TV_BIN_DIR) + "/Tolvane"}); }
    std::string x(const std::string& command) {
        return output("DISPLAY=" + display_ + " " + command + " 2>/dev/null");
    }
    // Whether the monitor's icon is embedded in the tray's window.
    bool iconInTray() {
        std::string trays = x("xwininfo -root -tree | grep ' \"trayer\")' | awk '{print $1}'");
        std::istringstream ids(trays);
        std::string id;
        while (ids >> id) {
            if (x("xwininfo -tree -id " + id).find("Tolvane") != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    std::vector<MenuEntry> layout(const QString& service) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/MenuBar"),
                                                           QStringLiteral("com.canonical.dbusmenu"),
                                                           QStringLiteral("GetLayout"));
        call << 0 << -1 << QStringList();
        QDBusMessage reply = session_->call(call);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
            return {};
        }
        return menuEntries(reply.arguments()[1].value<QDBusArgument>());
    }

    tv::testing::TempDir dir_;
    tv::testing::PrivateBus sessionBus_{"session"};
    tv::testing::PrivateBus systemBus_{"system"};
    std::string display_;
    pid_t xvfb_ = -1;
    pid_t logind_ = -1;
    std::vector<pid_t> processes_;
    std::unique_ptr<QDBusConnection> session_;
};

TEST_F(DesktopSession, AStatusNotifierPanelGetsTheMenuAndItsClicksReachTheLogic) {
    start({TV_FAKE_SNI_WATCHER, sessionBus_.address(), dir_.path(), TV_SNI_WATCHER_XML});
    ASSERT_TRUE(eventually([&] {
        return session_->interface()
            ->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"))
            .value();
    }));
    startMonitor();
    ASSERT_TRUE(eventually([&] { return !readFile(dir_.file("items")).empty(); }, 15000));
    QString item = QString::fromStdString(readFile(dir_.file("items"))).trimmed();
    // The item registers before its menu is exported and filled.
    std::vector<MenuEntry> entries;
    ASSERT_TRUE(eventually(
        [&] {
            entries = layout(item);
            return entries.size() == 17u;
        },
        15000))
        << entries.size() << " menu entries";
    auto label = [](const MenuEntry& entry) {
        return entry.properties.value(QStringLiteral("label")).toString().toStdString();
    };
    auto visible = [](const MenuEntry& entry) {
        return entry.properties.value(QStringLiteral("visible"), true).toBool();
    };
    EXPECT_EQ(label(entries[0]), "-----------Battery Info-----------");
    EXPECT_EQ(entries[3].properties.value(QStringLiteral("type")).toString(), "separator");
    // Access keys travel as the menu protocol writes them, with "_".
    EXPECT_EQ(label(entries[9]), "_Go on Standby");
    EXPECT_EQ(label(entries[12]), "Start with _Windows");
    EXPECT_EQ(entries[12].properties.value(QStringLiteral("toggle-type")).toString(), "checkmark");
    EXPECT_EQ(label(entries[16]), "_Exit");
    EXPECT_TRUE(visible(entries[10]));  // hibernation, which the login manager allows

    QDBusMessage click = QDBusMessage::createMethodCall(item, QStringLiteral("/MenuBar"),
                                                        QStringLiteral("com.canonical.dbusmenu"),
                                                        QStringLiteral("Event"));
    click << entries[9].id << QStringLiteral("clicked")
          << QVariant::fromValue(QDBusVariant(QVariant(0))) << 0u;
    session_->call(click);
    EXPECT_TRUE(eventually([&] { return readFile(dir_.file("calls")) == "Suspend true\n"; }));

    // Hibernation withdrawn: the item goes from the panel's menu with the next refresh.
    std::ofstream(dir_.file("answer")) << "no";
    EXPECT_TRUE(eventually([&] { return !visible(layout(item).at(10)); }, 7000));
}

TEST_F(DesktopSession, TheIconFindsATrayThatStartsLateOrRestarts) {
    startMonitor();
    ASSERT_TRUE(eventually(
        [&] { return x("xwininfo -root -tree").find("Tolvane") != std::string::npos; }, 15000));
    // The notification area comes 5 s after the monitor, as at a login.
    QThread::sleep(5);
    pid_t tray = start({"/usr/bin/trayer", "--edge", "bottom", "--widthtype", "request"});
    EXPECT_TRUE(eventually([&] { return iconInTray(); }, 10000));
    stopProcess(tray);
    processes_.pop_back();
    start({"/usr/bin/trayer", "--edge", "bottom", "--widthtype", "request"});
    EXPECT_TRUE(eventually([&] { return iconInTray(); }, 10000));
}

TEST_F(DesktopSession, ASecondStartBringsTheRunningWindowToTheFront) {
    startMonitor();
    auto topLevels = [&] { return x("xwininfo -root -children"); };
    ASSERT_TRUE(
        eventually([&] { return topLevels().find("\"Tolvane\"") != std::string::npos; }, 15000));
    // Another window on top of it.
    start({"/usr/bin/xmessage", "-name", "cover", "-geometry", "1024x768+0+0", "cover"});
    auto monitorOnTop = [&] {
        // xwininfo lists the top of the stack first.
        std::string list = topLevels();
        return list.find("(\"Tolvane\" \"Tolvane\")") < list.find("(\"cover\"");
    };
    ASSERT_TRUE(eventually([&] { return topLevels().find("(\"cover\"") != std::string::npos; }));
    ASSERT_FALSE(monitorOnTop());
    pid_t second = startMonitor();
    int status = 0;
    waitpid(second, &status, 0);
    processes_.pop_back();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(eventually(monitorOnTop));
}

}  // namespace
}  // namespace tv
