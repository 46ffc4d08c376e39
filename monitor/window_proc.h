#pragma once
// A window's procedure slot: messages go to the installed procedure, and installing
// one hands back the previous, which the new one forwards to.

#include <cstdint>
#include <functional>

namespace tv {

using HWND = std::uint32_t;
using WPARAM = std::uint32_t;
using LPARAM = std::int32_t;
using LRESULT = std::int32_t;
using WNDPROC = std::function<LRESULT(HWND, std::uint32_t, WPARAM, LPARAM)>;

inline constexpr int GWL_WNDPROC = -4;

class WindowProcSlot {
  public:
    WindowProcSlot(HWND hWnd, WNDPROC normal) : hWnd_(hWnd), proc_(std::move(normal)) {}

    HWND hWnd() const { return hWnd_; }

    // Installs proc for GWL_WNDPROC and returns the one it replaces; any other index
    // changes nothing and returns an empty procedure.
    WNDPROC SetWindowLongA(int index, WNDPROC proc);
    // Delivers a message to the installed procedure and returns its result.
    LRESULT SendMessageA(std::uint32_t message, WPARAM wParam, LPARAM lParam);

    static LRESULT CallWindowProcA(const WNDPROC& proc, HWND hWnd, std::uint32_t message,
                                   WPARAM wParam, LPARAM lParam);

  private:
    HWND hWnd_;
    WNDPROC proc_;
};

}  // namespace tv
