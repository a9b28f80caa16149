#pragma once
// Waiting in tests: every wait has a deadline and fails the test, naming what
// it waited for, when the deadline passes.

#include <functional>

namespace tesmir_test {

// How long a test waits for anything at the most.
inline constexpr int kWaitMs = 10000;

// Processes events until `done` holds; after `timeoutMs` milliseconds adds a
// failure "timed out waiting for <what>" and returns false.
bool WaitUntil(const std::function<bool()>& done, const char* what, int timeoutMs = kWaitMs);

}  // namespace tesmir_test
