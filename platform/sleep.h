#pragma once
// Sleep requests (SetSuspendState) and whether hibernation is available.

#include "platform/call_log.h"

namespace tv {

class SleepService {
  public:
    virtual ~SleepService() = default;
    // Puts the machine into standby or hibernation; false when the request was refused.
    virtual bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) = 0;
    virtual bool canHibernate() = 0;
};

// A machine that neither sleeps nor hibernates: requests are refused quietly.
class NoSleep : public SleepService {
  public:
    bool SetSuspendState(bool, bool, bool) override { return false; }
    bool canHibernate() override { return false; }
};

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
