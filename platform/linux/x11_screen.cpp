#include "platform/linux/x11_screen.h"

#include <xcb/dpms.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace tv {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The protocol's fields: DPMS timeouts are 16-bit unsigned, the screen saver's signed.
constexpr std::uint32_t kDpmsMax = 0xFFFF;
constexpr std::uint32_t kSaverMax = 0x7FFF;

bool hasExtension(xcb_connection_t* connection, xcb_extension_t* extension) {
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(connection, extension);
    return data != nullptr && data->present != 0;
}

std::string checked(xcb_connection_t* connection, xcb_void_cookie_t cookie, const char* what) {
    Reply<xcb_generic_error_t> error(xcb_request_check(connection, cookie));
    if (error) {
        return std::string("the X server refused ") + what + " (error " +
               std::to_string(error->error_code) + ")";
    }
    return {};
}

}  // namespace

X11Screen::X11Screen(const std::optional<std::string>& display, bool wayland) {
    if (wayland) {
        unavailable_ = "Wayland: left to the compositor";
        return;
    }
    if (!display || display->empty()) {
        unavailable_ = "no X display";
        return;
    }
    int screenNumber = 0;
    connection_ = xcb_connect(display->c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        unavailable_ = "cannot connect to X display " + *display;
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    root_ = screens.data->root;
    idleExtension_ = hasExtension(connection_, &xcb_screensaver_id);
    readStart();
}

X11Screen::~X11Screen() {
    if (connection_ != nullptr) {
        restore();
        xcb_disconnect(connection_);
    }
}

void X11Screen::readStart() {
    if (hasExtension(connection_, &xcb_dpms_id)) {
        Reply<xcb_dpms_capable_reply_t> capable(
            xcb_dpms_capable_reply(connection_, xcb_dpms_capable(connection_), nullptr));
        Reply<xcb_dpms_get_timeouts_reply_t> timeouts(
            xcb_dpms_get_timeouts_reply(connection_, xcb_dpms_get_timeouts(connection_), nullptr));
        Reply<xcb_dpms_info_reply_t> info(
            xcb_dpms_info_reply(connection_, xcb_dpms_info(connection_), nullptr));
        if (capable && capable->capable != 0 && timeouts && info) {
            found_.dpms = true;
            found_.dpmsEnabled = info->state != 0;
            found_.standby = timeouts->standby_timeout;
            found_.suspend = timeouts->suspend_timeout;
            found_.off = timeouts->off_timeout;
        }
    }
    Reply<xcb_get_screen_saver_reply_t> saver(
        xcb_get_screen_saver_reply(connection_, xcb_get_screen_saver(connection_), nullptr));
    if (saver) {
        found_.saverTimeout = static_cast<std::int16_t>(saver->timeout);
        found_.saverInterval = static_cast<std::int16_t>(saver->interval);
        found_.preferBlanking = saver->prefer_blanking;
        found_.allowExposures = saver->allow_exposures;
    }
}

std::string X11Screen::unavailable() {
    return unavailable_;
}

std::string X11Screen::setOffAfter(std::uint32_t seconds) {
    if (connection_ == nullptr) {
        return unavailable_;
    }
    changed_ = true;
    return found_.dpms ? setDpms(seconds) : setSaver(seconds);
}

std::string X11Screen::setDpms(std::uint32_t seconds) {
    auto off = static_cast<std::uint16_t>(std::min(seconds, kDpmsMax));
    // The server wants standby <= suspend <= off; the earlier stages would darken the
    // screen before the scheme says, so they follow the off time.
    std::string problem =
        checked(connection_, xcb_dpms_set_timeouts_checked(connection_, 0, 0, off), "DPMS");
    if (problem.empty() && off != 0 && !found_.dpmsEnabled) {
        problem = checked(connection_, xcb_dpms_enable_checked(connection_), "DPMS");
    }
    return problem;
}

std::string X11Screen::setSaver(std::uint32_t seconds) {
    auto timeout = static_cast<std::int16_t>(std::min(seconds, kSaverMax));
    return checked(connection_,
                   xcb_set_screen_saver_checked(connection_, timeout, found_.saverInterval,
                                                found_.preferBlanking, found_.allowExposures),
                   "the screen-saver timeout");
}

void X11Screen::restore() {
    if (!changed_) {
        return;
    }
    if (found_.dpms) {
        xcb_dpms_set_timeouts(connection_, found_.standby, found_.suspend, found_.off);
        if (!found_.dpmsEnabled) {
            xcb_dpms_disable(connection_);
        }
    } else {
        xcb_set_screen_saver(connection_, found_.saverTimeout, found_.saverInterval,
                             found_.preferBlanking, found_.allowExposures);
    }
    // A round trip, so the requests reach the server before the connection goes.
    Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

std::optional<std::uint32_t> X11Screen::idleSeconds() {
    if (connection_ == nullptr || !idleExtension_) {
        return std::nullopt;
    }
    Reply<xcb_screensaver_query_info_reply_t> info(xcb_screensaver_query_info_reply(
        connection_, xcb_screensaver_query_info(connection_, root_), nullptr));
    if (!info) {
        return std::nullopt;
    }
    return info->ms_since_user_input / 1000;
}

}  // namespace tv
