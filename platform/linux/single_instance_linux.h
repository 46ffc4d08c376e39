#pragma once
// One copy per user session: the first copy holds an exclusive lock on a file in the
// user's runtime folder and writes its process id there; later copies find it taken
// and, where asked, send the running copy a signal (the monitor's "show your window").
// The lock goes with the process.

#include <string>

#include "platform/linux/environment.h"
#include "platform/single_instance.h"

namespace tv {

// $XDG_RUNTIME_DIR/NAME.lock, else FALLBACKROOT/NAME-UID/NAME.lock (the folder made
// private); empty when that folder is not ours alone.
std::string instanceLockPath(const std::string& name, const EnvironmentLookup& environment,
                             const std::string& fallbackRoot = "/tmp");

class FlockInstanceCheck : public InstanceCheck {
  public:
    // wakeSignal: sent to the running copy when a later one finds it; 0 for none.
    explicit FlockInstanceCheck(std::string lockPath, int wakeSignal = 0)
        : lockPath_(std::move(lockPath)), wakeSignal_(wakeSignal) {}
    ~FlockInstanceCheck() override;
    FlockInstanceCheck(const FlockInstanceCheck&) = delete;
    FlockInstanceCheck& operator=(const FlockInstanceCheck&) = delete;

    // Takes the lock on the first call and keeps it. A lock file that cannot be
    // opened counts as no other copy: the program had better run than not.
    bool anotherInstanceRunning() override;

  private:
    void wakeHolder(int fd) const;

    std::string lockPath_;
    int wakeSignal_;
    int fd_ = -1;
    bool checked_ = false;
    bool another_ = false;
};

}  // namespace tv
