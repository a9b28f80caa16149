#pragma once
// A fixture for tests that drive the whole program: one App with its main
// window shown, its messages recorded and its file dialogs scripted. Closing
// the last window does not end the shared application.

#include <gtest/gtest.h>

#include <QApplication>

#include "app/app.h"
#include "support/recording_message_sink.h"
#include "support/scripted_file_chooser.h"
#include "support/ui_test_app.h"

namespace tesmir_test {

class ShownAppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnsureApplication();
    QApplication::setQuitOnLastWindowClosed(false);
  }
  static void TearDownTestSuite() { QApplication::setQuitOnLastWindowClosed(true); }

  ShownAppTest() : app_(messages_, files_) { app_.showMainWindow(); }

  RecordingMessageSink messages_;
  ScriptedFileChooser files_;  // cancels every dialog unless names are scripted
  tesmir::App app_;
};

}  // namespace tesmir_test
