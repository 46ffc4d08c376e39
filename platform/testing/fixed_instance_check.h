#pragma once
// An instance check whose answer the test sets.

#include "platform/single_instance.h"

namespace tv {

class FixedInstanceCheck : public InstanceCheck {
  public:
    bool anotherInstanceRunning() override { return running; }
    bool running = false;
};

}  // namespace tv
