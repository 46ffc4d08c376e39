#pragma once
// The X server's screen timeouts and idle time through xcb: the DPMS off timeout
// where the server has DPMS, else the MIT-SCREEN-SAVER blanking timeout; idle time
// from MIT-SCREEN-SAVER. The timeouts found at start come back when this goes, so
// the desktop is left as it was found.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/power_effectors.h"

struct xcb_connection_t;

namespace tv {

class X11Screen : public ScreenBlanking, public IdleSource {
  public:
    // display: the X display to use ($DISPLAY, read by the program); wayland: the
    // session is a Wayland one, whose compositor owns the screen's timeouts.
    X11Screen(const std::optional<std::string>& display, bool wayland);
    ~X11Screen() override;
    X11Screen(const X11Screen&) = delete;
    X11Screen& operator=(const X11Screen&) = delete;

    std::string unavailable() override;
    std::string setOffAfter(std::uint32_t seconds) override;
    std::optional<std::uint32_t> idleSeconds() override;

  private:
    struct Found {
        bool dpms = false;
        bool dpmsEnabled = false;
        std::uint16_t standby = 0, suspend = 0, off = 0;
        std::int16_t saverTimeout = 0, saverInterval = 0;
        std::uint8_t preferBlanking = 0, allowExposures = 0;
    };

    void readStart();
    std::string setDpms(std::uint32_t seconds);
    std::string setSaver(std::uint32_t seconds);
    void restore();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::string unavailable_;
    bool idleExtension_ = false;
    bool changed_ = false;
    Found found_;
};

}  // namespace tv
