#pragma once
// A notification area that records each call.

#include <string>

#include "platform/tray.h"
#include "runtime/call_log.h"

namespace tv {

class RecordingTray : public TrayService {
  public:
    explicit RecordingTray(CallLog& calls) : calls_(calls) {}
    bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) override {
        std::string icon = iconNameFor(data.hIcon);
        calls_.record("Shell_NotifyIcon", message, data.tipText(),
                      Word{icon.empty() ? std::to_string(data.hIcon) : icon});
        last = data;
        return true;
    }

    NotifyIconData last;

  private:
    CallLog& calls_;
};

}  // namespace tv
