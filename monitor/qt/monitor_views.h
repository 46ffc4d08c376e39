#pragma once
// The desktop around the monitor's windows: creates a window's widgets when the
// logic loads it and drops them when it unloads, mirrors every window after each
// event or tick, activates windows and opens the popup menu at the pointer. The
// main window's unload, or End, ends the program.
//
// Widgets are made only when needed: the warning window on each opening, the popup
// menu on its first use.

#include <QPointer>
#include <functional>
#include <memory>

#include "monitor/desktop.h"
#include "monitor/frm_main.h"
#include "monitor/qt/main_window_view.h"
#include "monitor/qt/popup_menu_view.h"
#include "monitor/qt/warning_window_view.h"

namespace tv {

class MonitorViews : public Desktop {
  public:
    // chargeBar: the widget of the main window's bar. afterEvent: run after every
    // forwarded user event (mirrors the views and re-arms the timers).
    MonitorViews(QWidget& chargeBar, std::function<void()> afterEvent);
    ~MonitorViews() override;

    void SetForegroundWindow(Form& form) override;
    void PopupMenu(Form& form, MenuItem& menu) override;
    int screenWidth() const override;
    int screenHeight() const override;
    void windowLoaded(Form& form) override;
    void windowUnloaded(Form& form) override;
    void End() override;

    // Makes the popup menu now and leaves opening it to the panel, which shows it from
    // the tray icon (StatusNotifierItem desktops, where a program cannot open a popup
    // of its own); PopupMenu then only brings it up to date.
    PopupMenuView& exportPopupMenu(Form& form, MenuItem& menu);

    // Mirrors every window that exists.
    void sync();

    // Called once when the program should end (main window unloaded, or End).
    std::function<void()> onQuit;
    bool ended() const { return ended_; }

    MainWindowView* mainWindow() const { return main_; }
    WarningWindowView* warningWindow() const { return warning_; }
    PopupMenuView* popupMenu() const { return menu_; }

  private:
    QWidget* viewOf(const Form& form) const;
    void quit();

    QWidget& chargeBar_;
    std::function<void()> afterEvent_;
    QPointer<MainWindowView> main_;
    QPointer<WarningWindowView> warning_;
    QPointer<PopupMenuView> menu_;
    bool ended_ = false;
    bool menuExported_ = false;
};

}  // namespace tv
