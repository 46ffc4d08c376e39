#pragma once
// Power-scheme facilities that record what they are asked as call lines; their
// answers (profiles offered, idle time, refusals) are set by the test or script.

#include <optional>
#include <string>
#include <vector>

#include "platform/power_effectors.h"
#include "runtime/call_log.h"

namespace tv {

class RecordingPowerProfiles : public PowerProfiles {
  public:
    explicit RecordingPowerProfiles(CallLog& calls) : calls_(calls) {}
    std::vector<std::string> offered() override { return profiles; }
    std::string setProfile(const std::string& name) override {
        calls_.record("PowerProfile", name);
        return refusal;
    }

    std::vector<std::string> profiles{"performance", "balanced", "power-saver"};
    std::string refusal;

  private:
    CallLog& calls_;
};

class RecordingScreenBlanking : public ScreenBlanking {
  public:
    explicit RecordingScreenBlanking(CallLog& calls) : calls_(calls) {}
    std::string unavailable() override { return missing; }
    std::string setOffAfter(std::uint32_t seconds) override {
        calls_.record("ScreenOffAfter", seconds);
        return {};
    }

    std::string missing;

  private:
    CallLog& calls_;
};

class RecordingDiskStandby : public DiskStandby {
  public:
    explicit RecordingDiskStandby(CallLog& calls) : calls_(calls) {}
    std::string unavailable() override { return missing; }
    std::string setStandbyAfter(std::uint32_t seconds) override {
        calls_.record("DiskStandbyAfter", seconds);
        return {};
    }

    std::string missing;

  private:
    CallLog& calls_;
};

class RecordingIdleSleep : public IdleSleep {
  public:
    explicit RecordingIdleSleep(CallLog& calls) : calls_(calls) {}
    bool canHibernate() override { return hibernation; }
    std::string suspend() override {
        calls_.record("IdleSuspend");
        return {};
    }
    std::string hibernate() override {
        calls_.record("IdleHibernate");
        return {};
    }

    bool hibernation = false;

  private:
    CallLog& calls_;
};

// Idle time that a test sets; it does not grow on its own.
class FixedIdleSource : public IdleSource {
  public:
    std::optional<std::uint32_t> idleSeconds() override { return idle; }
    std::optional<std::uint32_t> idle = 0;
};

class FixedDesktopPowerManager : public DesktopPowerManager {
  public:
    std::string running() override { return name; }
    std::string name;
};

}  // namespace tv
