#include "modal_guard.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>

#include "ui_test_app.h"

namespace {

// A modal dialog nobody answers is closed at the deadline, with a failure
// naming what the test was doing, instead of hanging the test.
TEST(ModalGuard, ClosesAModalWindowLeftOpenAndFails) {
  tesmir_test::EnsureApplication();
  QDialog dialog;
  dialog.setObjectName(QStringLiteral("Forgotten"));
  int result = 1;
  EXPECT_NONFATAL_FAILURE(
      {
        tesmir_test::ModalGuard guard("nothing answers", 100);
        result = dialog.exec();
      },
      "a modal window (Forgotten) was still open after 100 ms: nothing answers");
  EXPECT_EQ(result, QDialog::Rejected);
}

}  // namespace
