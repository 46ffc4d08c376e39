#pragma once
// Whether another copy of the program already runs in this user session.

namespace tv {

class InstanceCheck {
  public:
    virtual ~InstanceCheck() = default;
    virtual bool anotherInstanceRunning() = 0;
};

}  // namespace tv
