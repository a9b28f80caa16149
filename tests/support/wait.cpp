#include "wait.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QTest>

namespace tesmir_test {

bool WaitUntil(const std::function<bool()>& done, const char* what, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) {
      ADD_FAILURE() << "timed out waiting for " << what << " (" << timeoutMs << " ms)";
      return false;
    }
    QTest::qWait(10);
  }
  return true;
}

}  // namespace tesmir_test
