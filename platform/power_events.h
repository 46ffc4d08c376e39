#pragma once
// Suspend and resume broadcasts, delivered to the window as WM_POWERBROADCAST.

#include <cstdint>
#include <functional>

namespace tv {

inline constexpr std::uint32_t WM_POWERBROADCAST = 0x0218;
inline constexpr std::uint32_t PBT_APMQUERYSUSPEND = 0x0000;
inline constexpr std::uint32_t PBT_APMSUSPEND = 0x0004;
inline constexpr std::uint32_t PBT_APMRESUMESUSPEND = 0x0007;
inline constexpr std::uint32_t PBT_APMPOWERSTATUSCHANGE = 0x000A;
inline constexpr std::uint32_t PBT_APMRESUMEAUTOMATIC = 0x0012;

class PowerEvents {
  public:
    // Receives the broadcast's event code (wParam of WM_POWERBROADCAST).
    using Listener = std::function<void(std::uint32_t event)>;

    virtual ~PowerEvents() = default;
    // One listener; a later call replaces it. Broadcasts come on the window's thread.
    virtual void setListener(Listener listener) = 0;
    // False where the system cannot tell (no system bus, no login manager).
    virtual bool isListening() const = 0;
};

}  // namespace tv
