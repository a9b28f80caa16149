#pragma once
// The one QApplication the widget tests of this executable share.

#include <QApplication>
#include <QStandardPaths>

namespace tesmir_test {

inline void EnsureApplication() {
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    // Settings the windows keep go to a test folder, never the user's own.
    QStandardPaths::setTestModeEnabled(true);
  }
}

}  // namespace tesmir_test
