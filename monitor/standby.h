#pragma once
// Catches suspend and resume by taking over the main window's procedure; every
// message still reaches the procedure that was there before.

#include <functional>

#include "monitor/window_proc.h"

namespace tv {

class Standby {
  public:
    explicit Standby(std::function<void()> resetEstimates)
        : resetEstimates_(std::move(resetEstimates)) {}

    // A request for the state already in force is ignored.
    void SetPowerHook(WindowProcSlot& window, bool enable);
    LRESULT PowerHookProc(HWND hWnd, std::uint32_t message, WPARAM wParam, LPARAM lParam);

    bool hooked() const { return hooked_; }

  private:
    std::function<void()> resetEstimates_;
    bool hooked_ = false;
    WNDPROC previousProc_;
};

}  // namespace tv
