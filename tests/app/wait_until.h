#pragma once
// Waiting for another program to reach a state that a posted click or a typed key brings
// about later: the condition is looked at every 20 ms until it holds or the time is up.

#include <chrono>
#include <thread>

namespace lumaro::apptest {

// How long a test waits for a posted message or typed key to show its effect.
constexpr std::chrono::seconds kInputPatience{30};

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds patience = kInputPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace lumaro::apptest
