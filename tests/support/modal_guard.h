#pragma once
// A bound on the modal windows a test opens: a test that answers a modal
// window from a timer hangs in the window's event loop if the answer never
// closes it. While a guard lives, a modal window still open after the
// deadline fails the test, naming what the test was doing, and is closed.

#include <QTimer>

#include "support/wait.h"

namespace tesmir_test {

class ModalGuard {
 public:
  explicit ModalGuard(const char* what, int timeoutMs = kWaitMs);
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

 private:
  void closeModalWindows();

  const char* what_;
  int timeoutMs_;
  QTimer timer_;
};

}  // namespace tesmir_test
