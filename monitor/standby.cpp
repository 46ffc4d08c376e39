#include "monitor/standby.h"

#include "platform/power_events.h"

namespace tv {

void Standby::SetPowerHook(WindowProcSlot& window, bool enable) {
    if (enable == hooked_) {
        return;
    }
    if (enable) {
        previousProc_ = window.SetWindowLongA(
            GWL_WNDPROC, [this](HWND hWnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
                return PowerHookProc(hWnd, message, wParam, lParam);
            });
        hooked_ = true;
    } else {
        window.SetWindowLongA(GWL_WNDPROC, previousProc_);
        previousProc_ = nullptr;
        hooked_ = false;
    }
}

LRESULT Standby::PowerHookProc(HWND hWnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_POWERBROADCAST &&
        (wParam == PBT_APMSUSPEND || wParam == PBT_APMRESUMEAUTOMATIC)) {
        resetEstimates_();
    }
    return WindowProcSlot::CallWindowProcA(previousProc_, hWnd, message, wParam, lParam);
}

}  // namespace tv
