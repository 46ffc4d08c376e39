#pragma once
// The warning window as a desktop notification as well: on some desktops (Wayland) a
// new window is not brought to the front, and this one must be seen. One notification
// per opening of the window, with its title and lines; it is closed when the window
// closes or the machine runs on mains again. The window composes its message at the
// opening from the sample before and renews it on its first blink; the notification,
// which is not renewed, has the current caption of the main window as first line
// from the start.

#include "monitor/frm_main.h"
#include "platform/qt/dbus/desktop_notifications.h"

namespace tv {

class WarningNotice {
  public:
    explicit WarningNotice(DesktopNotifications& notifications) : notifications_(notifications) {}

    // After every event: the main window (and its warning window, when open) and
    // whether the machine runs on mains.
    void sync(const frmMain& main, bool onMains);

  private:
    DesktopNotifications& notifications_;
    // This opening of the window has had its notification.
    bool notified_ = false;
};

}  // namespace tv
