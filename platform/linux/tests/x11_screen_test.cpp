#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/linux/x11_screen.h"

namespace tv {
namespace {

// A private X server: Xvfb picks a free display and writes its number to a pipe.
class PrivateXvfb : public ::testing::Test {
  protected:
    void SetUp() override {
        if (access("/usr/bin/Xvfb", X_OK) != 0) {
            GTEST_SKIP() << "no Xvfb";
        }
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            int quiet = ::open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            std::string fd = std::to_string(fds[1]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        ASSERT_FALSE(number.empty());
        display_ = ":" + number;
        probe_ = xcb_connect(display_.c_str(), nullptr);
        ASSERT_EQ(xcb_connection_has_error(probe_), 0);
    }
    void TearDown() override {
        if (probe_ != nullptr) {
            xcb_disconnect(probe_);
        }
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    // Read back through the extension, on a connection of its own.
    int saverTimeout() {
        std::unique_ptr<xcb_get_screen_saver_reply_t, decltype(&std::free)> reply(
            xcb_get_screen_saver_reply(probe_, xcb_get_screen_saver(probe_), nullptr), &std::free);
        return reply ? reply->timeout : -1;
    }

    pid_t pid_ = -1;
    std::string display_;
    xcb_connection_t* probe_ = nullptr;
};

TEST_F(PrivateXvfb, TheBlankingTimeoutFollowsTheSchemeAndComesBackAtTheEnd) {
    int found = saverTimeout();
    {
        X11Screen screen(display_, false);
        EXPECT_EQ(screen.unavailable(), "");
        EXPECT_EQ(screen.setOffAfter(60), "");
        EXPECT_EQ(saverTimeout(), 60);
        EXPECT_EQ(screen.setOffAfter(0), "");
        EXPECT_EQ(saverTimeout(), 0);
        EXPECT_EQ(screen.setOffAfter(100000), "");
        EXPECT_EQ(saverTimeout(), 0x7FFF);
    }
    EXPECT_EQ(saverTimeout(), found);
}

TEST_F(PrivateXvfb, IdleTimeGrowsAndInputResetsIt) {
    if (access("/usr/bin/xdotool", X_OK) != 0) {
        GTEST_SKIP() << "no xdotool";
    }
    X11Screen screen(display_, false);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (screen.idleSeconds().value_or(0) < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_GE(screen.idleSeconds().value_or(0), 2u);
    std::string command = "DISPLAY=" + display_ + " /usr/bin/xdotool mousemove 10 10";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(screen.idleSeconds(), 0u);
}

TEST(X11ScreenElsewhere, WaylandAndNoDisplaySaySoAndTouchNothing) {
    X11Screen wayland(":0", true);
    EXPECT_EQ(wayland.unavailable(), "Wayland: left to the compositor");
    EXPECT_EQ(wayland.setOffAfter(60), "Wayland: left to the compositor");
    EXPECT_FALSE(wayland.idleSeconds());
    X11Screen none(std::nullopt, false);
    EXPECT_EQ(none.unavailable(), "no X display");
    X11Screen gone("/nonexistent/x11-socket:0", false);
    EXPECT_NE(gone.unavailable(), "");
    EXPECT_FALSE(gone.idleSeconds());
}

}  // namespace
}  // namespace tv
