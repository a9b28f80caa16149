#pragma once
// The program: the shared records, the message boxes and the windows, created
// once in a fixed order and kept until the end, so every window keeps its
// texts, lists and selected tab between showings. The windows the first frame
// does not need (the point name, the report and its confirmation, "О
// программе") are built right after the main window is first painted, or
// earlier when something asks for them.

#include <functional>
#include <memory>
#include <vector>

#include "core/loop_calc.h"
#include "device/device_settings.h"
#include "document/feeder_document.h"
#include "report/report_table.h"
#include "widgets/about_program_form.h"
#include "widgets/ask_number_form.h"
#include "widgets/delete_all_report_form.h"
#include "widgets/device_defence_form.h"
#include "widgets/device_status_view.h"
#include "widgets/file_chooser.h"
#include "widgets/main_form.h"
#include "widgets/message_sink.h"
#include "widgets/protection_check_form.h"
#include "widgets/report_form.h"
#include "widgets/result_form.h"
#include "widgets/spreadsheet_export.h"

namespace tesmir {

class DocumentDialogs;
class FeederDocuments;
class HelpViewer;
class JournalForm;
class LineJournal;
class ReportDocuments;
struct JournalNetwork;

class App {
 public:
  // The message boxes and the file dialogs come from outside, so tests can
  // drive the whole program without blocking.
  App(MessageSink& messages, FileChooser& files);
  // As above, with the note's point-name box and the printer dialog given too.
  App(MessageSink& messages, FileChooser& files, DocumentDialogs& dialogs);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Shows the main window in the centre of its screen.
  void showMainWindow();
  // Shows the main window, then the report window with `file` read into it
  // as "Открыть..." reads a chosen file; a file that cannot be read leaves
  // the report empty after its message.
  void openReportAtStart(const QString& file);

  // Shows the main window, then the window "Журнал линий" with `file` read
  // into it; a file that cannot be read leaves the journal empty after its
  // message.
  void openJournalAtStart(const QString& file);
  // The window "Журнал линий" and its journal, built when first asked for.
  JournalForm& journalForm();
  // Where exports go and how they are opened (tests observe them).
  void useSpreadsheetDesktop(SpreadsheetDesktop desktop) { spreadsheetDesktop_ = std::move(desktop); }

  // Before the program ends: offers to save a report that has unsaved named
  // rows. False when the program must stay open (cancelled, or the save
  // failed or was cancelled).
  bool confirmExit();

  // Opens a help topic in the help window.
  void openHelp(int topic);

  // The feeder: its inputs, device and last calculation.
  FeederDocument& feeder() { return feeder_; }
  SchemeState& scheme() { return feeder_.scheme(); }
  DeviceSettings& deviceSettings() { return feeder_.deviceSettings(); }
  ReportTable& report() { return report_; }
  MessageSink& messages() { return messages_; }
  MainForm& mainForm() { return mainForm_; }
  ResultForm& resultForm() { return resultForm_; }
  DeviceDefenceForm& deviceForm() { return deviceForm_; }
  AskNumberForm& askNumberForm();
  ReportForm& reportForm();
  DeleteAllReportForm& deleteAllForm();
  AboutProgramForm& aboutForm();
  ProtectionCheckForm& checkForm() { return checkForm_; }
  // The labels the protective device check writes.
  DeviceStatusView deviceStatusView();
  // The menu "Файл" of the main window and the report on paper.
  FeederDocuments& feederDocuments() { return *feederDocuments_; }
  ReportDocuments& reportDocuments();
  // The help window, created when first asked for.
  HelpViewer& helpViewer();

 private:
  struct LaterWindows;
  // The windows built after the first paint, built now if they are not yet.
  LaterWindows& later();
  // Adds the point the name dialog accepted, through the report's model.
  void addChosenPoint();
  // The journal's line in the main window, calculated, with its device;
  // false when the calculation failed (its message was shown).
  bool openJournalLine(const JournalNetwork& network, int line);
  // Each line as a report point named by its designation, else by the name
  // the point-name dialog asks for.
  void addJournalLines(const JournalNetwork& network, const std::vector<int>& lines);

  FeederDocument feeder_;
  ReportTable report_;
  MessageSink& messages_;
  FileChooser& files_;
  // Asks in the background whether the desktop can open workbooks, from
  // right after the first paint (or the first export); the exports reuse the
  // answer.
  std::function<void()> startSpreadsheetQuery_;
  SpreadsheetDesktop spreadsheetDesktop_ = SystemSpreadsheetDesktop(&startSpreadsheetQuery_);
  // The windows in the order of creation. The main window is handed the
  // results window before it is built; it only keeps the reference.
  MainForm mainForm_;
  ResultForm resultForm_;
  DeviceDefenceForm deviceForm_;
  // The protection check, opened from the main window's "Проверка".
  ProtectionCheckForm checkForm_;
  std::unique_ptr<LaterWindows> later_;
  std::unique_ptr<HelpViewer> help_;
  std::unique_ptr<LineJournal> journal_;
  std::unique_ptr<JournalForm> journalForm_;
  // The real dialogs when none were given.
  std::unique_ptr<DocumentDialogs> ownDialogs_;
  DocumentDialogs* documentDialogs_ = nullptr;
  // Owned by the main window.
  FeederDocuments* feederDocuments_ = nullptr;
};

}  // namespace tesmir
