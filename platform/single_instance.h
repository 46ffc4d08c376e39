#pragma once
// Whether another copy of the program already runs in this user session.

namespace tv {

class InstanceCheck {
  public:
    virtual ~InstanceCheck() = default;
    virtual bool anotherInstanceRunning() = 0;
};

class FixedInstanceCheck : public InstanceCheck {
  public:
    bool anotherInstanceRunning() override { return running; }
    bool running = false;
};

}  // namespace tv
