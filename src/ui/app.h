#pragma once
// The program: the shared records, the message boxes and the windows, created
// once at start in a fixed order and kept until the end, so every window keeps
// its texts, lists and selected tab between showings.

#include <memory>

#include "core/loop_calc.h"
#include "device/device_settings.h"
#include "report/report_table.h"
#include "ui/about_program_form.h"
#include "ui/main_form.h"
#include "ui/message_sink.h"
#include "ui/result_form.h"

namespace tesmir {

class HelpViewer;

class App {
 public:
  App();
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Shows the main window in the centre of its screen.
  void showMainWindow();

  // Opens a help topic in the help window.
  void openHelp(int topic);

  SchemeState& scheme() { return scheme_; }
  DeviceSettings& deviceSettings() { return device_; }
  ReportTable& report() { return report_; }
  MessageSink& messages() { return messages_; }
  MainForm& mainForm() { return mainForm_; }
  ResultForm& resultForm() { return resultForm_; }
  AboutProgramForm& aboutForm() { return aboutForm_; }
  // The help window, created when first asked for.
  HelpViewer& helpViewer();

 private:
  SchemeState scheme_;
  DeviceSettings device_;
  ReportTable report_;
  BoxMessageSink messages_;
  // The windows in the order of creation. The main window is handed the
  // results window before that is built; it only keeps the reference.
  MainForm mainForm_;
  ResultForm resultForm_;
  AboutProgramForm aboutForm_;
  std::unique_ptr<HelpViewer> help_;
};

}  // namespace tesmir
