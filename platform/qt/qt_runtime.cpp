#include "platform/qt/qt_runtime.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace tv {

namespace {

long long steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

RealClock::RealClock() : origin_(steadyMs()) {}

long long RealClock::nowMs() const {
    return steadyMs() - origin_;
}

void RealClock::Sleep(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

QtRuntime::QtRuntime(Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &QtRuntime::wake);
    runtime_.setDoEvents([this] {
        // Views repaint what the logic changed so far, then pending events run.
        ++depth_;
        for (auto& sync : views_) {
            sync();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        --depth_;
    });
}

void QtRuntime::afterEvent() {
    for (auto& sync : views_) {
        sync();
    }
    reschedule();
}

void QtRuntime::wake() {
    runtime_.runTimersUntil(clock_.nowMs());
    afterEvent();
}

void QtRuntime::reschedule() {
    long long due = runtime_.nextDueMs();
    if (due < 0) {
        timer_.stop();
        return;
    }
    long long wait = due - clock_.nowMs();
    timer_.start(static_cast<int>(wait < 0 ? 0 : wait));
}

}  // namespace tv
