#pragma once

#include <chrono>
#include <thread>

namespace corv::test {

// Polls the condition until it holds or the deadline passes; true when it held. Waits on
// other threads are written as conditions with a generous deadline, never as a fixed sleep, so
// a slow machine only waits longer and a fault ends the test instead of hanging it.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds deadline = std::chrono::seconds(10),
                std::chrono::milliseconds step = std::chrono::milliseconds(1)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(step);
    }
    return condition();
}

}  // namespace corv::test
