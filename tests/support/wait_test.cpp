#include "wait.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

namespace {

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "test_report";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app =
      QCoreApplication::instance() != nullptr ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
  return *app;
}

// A condition that a timer makes true while the wait processes events.
TEST(WaitUntil, ReturnsOnceTheConditionHolds) {
  Application();
  bool done = false;
  QTimer::singleShot(20, [&] { done = true; });
  EXPECT_TRUE(tesmir_test::WaitUntil([&] { return done; }, "the timer"));
}

// A condition that never holds ends the wait at its deadline with a failure
// naming what was waited for.
TEST(WaitUntil, FailsWhenTheDeadlinePasses) {
  Application();
  bool returned = true;
  EXPECT_NONFATAL_FAILURE(returned = tesmir_test::WaitUntil([] { return false; }, "nothing", 50),
                          "timed out waiting for nothing (50 ms)");
  EXPECT_FALSE(returned);
}

}  // namespace
