#pragma once
// Sleep requests (SetSuspendState) and whether hibernation is available.

namespace tv {

class SleepService {
  public:
    virtual ~SleepService() = default;
    // Puts the machine into standby or hibernation; false when the request was refused.
    virtual bool SetSuspendState(bool hibernate, bool force, bool disableWakeEvent) = 0;
    virtual bool canHibernate() = 0;
};

}  // namespace tv
