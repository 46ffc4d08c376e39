#pragma once
// The machine facilities a power scheme drives, one small interface each. Every
// call that can fail returns the reason as text, empty on success; "unavailable"
// answers why the facility cannot be used at all, empty when it can.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tv {

// The power profile daemon (performance, balanced, power-saver).
class PowerProfiles {
  public:
    virtual ~PowerProfiles() = default;
    // The profiles offered; empty when there is no daemon.
    virtual std::vector<std::string> offered() = 0;
    virtual std::string setProfile(const std::string& name) = 0;
};

// Turning the screen off after the session has been idle that long.
class ScreenBlanking {
  public:
    virtual ~ScreenBlanking() = default;
    virtual std::string unavailable() = 0;
    // 0 switches it off.
    virtual std::string setOffAfter(std::uint32_t seconds) = 0;
};

// Spinning down rotating drives after they have been idle that long.
class DiskStandby {
  public:
    virtual ~DiskStandby() = default;
    virtual std::string unavailable() = 0;
    // 0 switches it off.
    virtual std::string setStandbyAfter(std::uint32_t seconds) = 0;
};

// Sleep requested because the session was idle: it gives way to the inhibitors
// other programs hold, and never asks the user.
class IdleSleep {
  public:
    virtual ~IdleSleep() = default;
    virtual bool canHibernate() = 0;
    virtual std::string suspend() = 0;
    virtual std::string hibernate() = 0;
};

// How long the session has had no input.
class IdleSource {
  public:
    virtual ~IdleSource() = default;
    // nullopt when there is no way to tell.
    virtual std::optional<std::uint32_t> idleSeconds() = 0;
};

// The first source that can tell (the display server, else the login manager).
class FirstIdleSource : public IdleSource {
  public:
    FirstIdleSource(IdleSource& first, IdleSource& second) : first_(first), second_(second) {}
    std::optional<std::uint32_t> idleSeconds() override {
        std::optional<std::uint32_t> idle = first_.idleSeconds();
        return idle ? idle : second_.idleSeconds();
    }

  private:
    IdleSource& first_;
    IdleSource& second_;
};

// A desktop power manager on the session bus, which owns idle and screen actions.
class DesktopPowerManager {
  public:
    virtual ~DesktopPowerManager() = default;
    // Its bus name, or empty when none runs.
    virtual std::string running() = 0;
};

}  // namespace tv
