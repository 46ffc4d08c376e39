#pragma once
// Runs the window logic in real time under Qt: one Qt timer wakes the runtime at the
// next due tick, DoEvents processes pending Qt events, and every view is told to
// mirror the logic's state after each event or tick.

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

#include "runtime/forms.h"

namespace tv {

class RealClock : public Clock {
  public:
    RealClock();
    long long nowMs() const override;
    void Sleep(int milliseconds) override;
    void advanceTo(long long) override {}

  private:
    long long origin_;
};

class QtRuntime : public QObject {
  public:
    // The clock is a RealClock in the programs; tests give a virtual one and wake the
    // runtime by hand.
    explicit QtRuntime(Clock& clock, QObject* parent = nullptr);

    Clock& clock() { return clock_; }
    FormRuntime& runtime() { return runtime_; }

    // A view registers to be refreshed whenever the logic may have changed state.
    void addView(std::function<void()> sync) { views_.push_back(std::move(sync)); }
    // Call after forwarding a user event: refreshes the views and re-arms the timer.
    void afterEvent();
    // What the Qt timer does when it fires: runs the timers due by now.
    void wake();
    // Milliseconds until the Qt timer fires; -1 when it is stopped.
    int msUntilWake() const { return timer_.isActive() ? timer_.interval() : -1; }

  private:
    void reschedule();

    Clock& clock_;
    FormRuntime runtime_{clock_};
    QTimer timer_;
    std::vector<std::function<void()>> views_;
    int depth_ = 0;
};

}  // namespace tv
