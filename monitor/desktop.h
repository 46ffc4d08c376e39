#pragma once
// What the window logic asks of the desktop around its windows: activation, popup
// menus, the screen's size, the end of the program, and notice of windows coming and
// going (the views create and drop their widgets there).

#include "runtime/call_log.h"
#include "runtime/forms.h"

namespace tv {

class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual void SetForegroundWindow(Form& form) = 0;
    // Opens the menu as a popup at the mouse position.
    virtual void PopupMenu(Form& form, MenuItem& menu) = 0;
    virtual int screenWidth() const = 0;  // pixels
    virtual int screenHeight() const = 0;
    // The window finished loading, or is unloaded.
    virtual void windowLoaded(Form& form) = 0;
    virtual void windowUnloaded(Form& form) = 0;
    // The program must end at once, without unload events.
    virtual void End() = 0;
};

}  // namespace tv
