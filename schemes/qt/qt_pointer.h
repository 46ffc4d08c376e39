#pragma once
// The mouse pointer for the scheme manager's click replay. Where the desktop lets a
// program move the pointer (X11), SetCursorPos moves it and mouse_event clicks the
// widget of ours under it with a press and release made inside Qt. Where it does not
// (Wayland, offscreen), both do nothing: the window still reselects the remembered
// line on its own.

#include "schemes/power_services.h"

namespace tv {

class QtPointer : public PointerService {
  public:
    explicit QtPointer(bool replay) : replay_(replay) {}

    // Whether this desktop lets a program move the pointer.
    static bool desktopAllowsReplay();

    bool GetCursorPos(POINTAPI& point) override;
    bool SetCursorPos(int x, int y) override;
    void mouse_event(std::uint32_t flags, int dx, int dy, int data) override;

  private:
    bool replay_;
};

}  // namespace tv
