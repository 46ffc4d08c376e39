#pragma once
// Waits for something an outside process or the event loop brings about: polls the
// condition until it holds or the time is up. Only for conditions expected to come
// true; a check that something does not happen waits on an event instead.

#include <chrono>
#include <functional>
#include <thread>

namespace tv::testing {

// eachTurn runs before every look (a Qt test turns its event loop there).
inline bool pollUntil(const std::function<bool()>& condition, int timeoutMs = 5000,
                      const std::function<void()>& eachTurn = {}) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (eachTurn) {
            eachTurn();
        }
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

}  // namespace tv::testing
