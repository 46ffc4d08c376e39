#include "monitor/window_proc.h"

#include <utility>

namespace tv {

WNDPROC WindowProcSlot::SetWindowLongA(int index, WNDPROC proc) {
    if (index != GWL_WNDPROC) {
        return {};
    }
    return std::exchange(proc_, std::move(proc));
}

LRESULT WindowProcSlot::SendMessageA(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    // A copy, so a procedure that replaces itself finishes on the one that was called.
    WNDPROC proc = proc_;
    return CallWindowProcA(proc, hWnd_, message, wParam, lParam);
}

LRESULT WindowProcSlot::CallWindowProcA(const WNDPROC& proc, HWND hWnd, std::uint32_t message,
                                        WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hWnd, message, wParam, lParam) : 0;
}

}  // namespace tv
