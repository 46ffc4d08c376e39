#pragma once
// The notification-area icon: the platform's 88-byte record and the call that adds,
// modifies and deletes the icon. The Qt program implements TrayService.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;

inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;

inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;

inline constexpr std::size_t kTipSize = 64;
inline constexpr std::size_t kNotifyIconDataSize = 88;

// Icon handles stand for the program's icon resources, so a handle can travel in the
// record and the tray can show the picture behind it. 0 is no icon.
using HICON = std::uint32_t;
inline constexpr HICON kWindowIcon = 1;
// Handle of a resource name ("ok", "Warning", ...), matched without regard to case; 0
// for a name the program does not carry. "window" is the window's own icon.
HICON iconHandleFor(std::string_view resourceName);
// The resource name of a handle in its stored case, "window" for the window icon,
// empty for anything else.
std::string iconNameFor(HICON handle);

// NOTIFYICONDATAA, first version, as 32-bit fields.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    HICON hIcon = 0;
    std::array<char, kTipSize> szTip{};

    // The caption and one NUL, cut to the field; the rest of the field is blanks. A
    // caption of 64 bytes or more fills the field and loses its NUL.
    void setTip(std::string_view caption);
    // The tip up to its NUL, or all 64 bytes when there is none.
    std::string tipText() const;
    // The 88 bytes in the platform's little-endian layout.
    std::array<std::uint8_t, kNotifyIconDataSize> toBytes() const;

    bool operator==(const NotifyIconData&) const = default;
};

class TrayService {
  public:
    virtual ~TrayService() = default;
    // Results are ignored by the callers, as on the platform.
    virtual bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;
};

}  // namespace tv
