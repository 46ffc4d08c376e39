#include "monitor/ms_tray.h"

namespace tv {

void MsTray::AddTrayIcon(HWND hWnd, HICON icon, const std::string& caption) {
    TrayIconData.cbSize = kNotifyIconDataSize;
    TrayIconData.hWnd = hWnd;
    TrayIconData.uID = 1;
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // Icon events then arrive as mouse moves of the window, the event code as x.
    TrayIconData.uCallbackMessage = WM_MOUSEMOVE;
    TrayIconData.hIcon = icon;
    TrayIconData.setTip(caption);
    tray_.Shell_NotifyIcon(NIM_ADD, TrayIconData);
}

void MsTray::UpdateTrayIcon(const std::string& caption) {
    TrayIconData.cbSize = kNotifyIconDataSize;
    TrayIconData.setTip(caption);
    tray_.Shell_NotifyIcon(NIM_MODIFY, TrayIconData);
}

void MsTray::RemoveTrayIcon() {
    tray_.Shell_NotifyIcon(NIM_DELETE, TrayIconData);
}

}  // namespace tv
