#pragma once
// What the scheme manager's window needs from the platform beyond the shared
// services (runner, files, registry, dialogs): the mouse pointer, a few calls on the
// view's widgets, and text measuring in the window's font.

#include <cstdint>
#include <string>

#include "runtime/controls.h"

namespace tv {

struct POINTAPI {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

inline constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x2;
inline constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x4;

class PointerService {
  public:
    virtual ~PointerService() = default;
    // Screen pixels.
    virtual bool GetCursorPos(POINTAPI& point) = 0;
    virtual bool SetCursorPos(int x, int y) = 0;
    // Injects a button event at the pointer (only MOUSEEVENTF_LEFTDOWN | LEFTUP is sent).
    virtual void mouse_event(std::uint32_t flags, int dx, int dy, int data) = 0;
};

class PowerView {
  public:
    virtual ~PowerView() = default;
    // Once, when the window object is created.
    virtual void InitCommonControls() = 0;
    // Suspends the repainting of one control; null resumes it.
    virtual void LockWindowUpdate(const Control* control) = 0;
    virtual void setFocus(const Control& control) = 0;
    // Repaints a control now (the scheme box before a pause).
    virtual void refresh(const Control& control) = 0;
};

class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    // Width in pixels of the text in the settings list's own font, so the end of a
    // long line can be scrolled into view.
    virtual double textWidth(const std::string& text) = 0;
};

}  // namespace tv
