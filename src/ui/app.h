#pragma once
// The program: the shared records, the message boxes and the windows, created
// once at start in a fixed order and kept until the end, so every window keeps
// its texts, lists and selected tab between showings.

#include <memory>

#include "core/loop_calc.h"
#include "device/device_settings.h"
#include "report/report_table.h"
#include "ui/about_program_form.h"
#include "ui/ask_number_form.h"
#include "ui/delete_all_report_form.h"
#include "ui/device_defence_form.h"
#include "ui/device_status_view.h"
#include "ui/file_chooser.h"
#include "ui/main_form.h"
#include "ui/message_sink.h"
#include "ui/report_form.h"
#include "ui/result_form.h"
#include "ui/spreadsheet_export.h"

namespace tesmir {

class HelpViewer;

class App {
 public:
  // The message boxes and the file dialogs come from outside, so tests can
  // drive the whole program without blocking.
  App(MessageSink& messages, FileChooser& files);
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
  DeviceDefenceForm& deviceForm() { return deviceForm_; }
  AskNumberForm& askNumberForm() { return askNumberForm_; }
  ReportForm& reportForm() { return reportForm_; }
  DeleteAllReportForm& deleteAllForm() { return deleteAllForm_; }
  AboutProgramForm& aboutForm() { return aboutForm_; }
  // The labels the protective device check writes.
  DeviceStatusView deviceStatusView();
  // The help window, created when first asked for.
  HelpViewer& helpViewer();

 private:
  SchemeState scheme_;
  DeviceSettings device_;
  ReportTable report_;
  MessageSink& messages_;
  FileChooser& files_;
  // Asks in the background, from the start, whether the desktop can open
  // workbooks; the exports reuse the answer.
  SpreadsheetDesktop spreadsheetDesktop_ = SystemSpreadsheetDesktop();
  // The windows in the order of creation. The main window is handed the
  // results window, and the report window the delete-all confirmation,
  // before those are built; they only keep the reference.
  MainForm mainForm_;
  ResultForm resultForm_;
  DeviceDefenceForm deviceForm_;
  AskNumberForm askNumberForm_;
  ReportForm reportForm_;
  DeleteAllReportForm deleteAllForm_;
  AboutProgramForm aboutForm_;
  std::unique_ptr<HelpViewer> help_;
};

}  // namespace tesmir
