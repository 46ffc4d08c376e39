#pragma once
// The monitor's one notification icon. The record lives as long as the program; the
// charge rating writes its icon handle, this module everything else.

#include <string>

#include "monitor/window_proc.h"
#include "platform/tray.h"

namespace tv {

class MsTray {
  public:
    explicit MsTray(TrayService& tray) : tray_(tray) {}

    // Fills the whole record and adds the icon.
    void AddTrayIcon(HWND hWnd, HICON icon, const std::string& caption);
    // New tip from the caption; the icon handle is whatever was stored since.
    void UpdateTrayIcon(const std::string& caption);
    void RemoveTrayIcon();

    NotifyIconData TrayIconData;

  private:
    TrayService& tray_;
};

}  // namespace tv
