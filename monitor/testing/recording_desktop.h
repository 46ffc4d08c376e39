#pragma once
// A desktop that records what the window logic asks of it.

#include "monitor/desktop.h"
#include "runtime/call_log.h"

namespace tv {

class RecordingDesktop : public Desktop {
  public:
    explicit RecordingDesktop(CallLog& calls) : calls_(calls) {}
    void SetForegroundWindow(Form& form) override {
        calls_.record("SetForegroundWindow", Word{form.name()});
    }
    void PopupMenu(Form& form, MenuItem& menu) override {
        (void)form;
        calls_.record("PopupMenu", Word{menu.name()});
    }
    int screenWidth() const override { return 1024; }
    int screenHeight() const override { return 768; }
    void windowLoaded(Form& form) override { calls_.record("Load", Word{form.name()}); }
    void windowUnloaded(Form& form) override { calls_.record("Unload", Word{form.name()}); }
    void End() override {
        calls_.record("End");
        ended = true;
    }

    bool ended = false;

  private:
    CallLog& calls_;
};

}  // namespace tv
