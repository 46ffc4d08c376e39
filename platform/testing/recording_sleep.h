#pragma once
// Sleep requests recorded instead of made.

#include "platform/sleep.h"
#include "runtime/call_log.h"

namespace tv {

class RecordingSleep : public SleepService {
  public:
    explicit RecordingSleep(CallLog& calls) : calls_(calls) {}
    bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) override {
        calls_.record("SetSuspendState", int{hibernate}, int{force}, int{disableWakeEvent});
        return true;
    }
    bool canHibernate() override { return hibernation; }

    bool hibernation = false;

  private:
    CallLog& calls_;
};

}  // namespace tv
