#pragma once
// The one QApplication the widget tests of this executable share.

#include <QApplication>

namespace tesmir_test {

inline void EnsureApplication() {
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

}  // namespace tesmir_test
