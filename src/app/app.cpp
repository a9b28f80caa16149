#include "app/app.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <utility>

#include "document/journal_document.h"
#include "document/report_document.h"
#include "document/report_model.h"
#include "journal/journal_feeder.h"
#include "report/journal_workbook.h"
#include "texts/locale_separators.h"
#include "widgets/context_help.h"
#include "widgets/document_dialogs.h"
#include "widgets/feeder_documents.h"
#include "widgets/help_viewer.h"
#include "widgets/hints.h"
#include "widgets/journal_form.h"
#include "widgets/report_print.h"
#include "widgets/spreadsheet_export.h"

namespace tesmir {

App::App(MessageSink& messages, FileChooser& files) : App(messages, files, *new RealDocumentDialogs(messages)) {
  ownDialogs_.reset(documentDialogs_);
}

namespace {

// Runs `done` once, from the event loop, right after the first paint of the
// watched window.
class AfterFirstPaint final : public QObject {
 public:
  AfterFirstPaint(QWidget* window, std::function<void()> done) : QObject(window), done_(std::move(done)) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        done_();
        deleteLater();
      });
    }
    return false;
  }

 private:
  std::function<void()> done_;
};

}  // namespace

struct App::LaterWindows {
  LaterWindows(ReportTable& report, MessageSink& messages, FileChooser& files)
      : askNumberForm(report, messages), reportForm(report, messages, files, deleteAllForm) {}

  AskNumberForm askNumberForm;
  // Built before the report window, which is handed it.
  DeleteAllReportForm deleteAllForm;
  ReportForm reportForm;
  AboutProgramForm aboutForm;
  // Owned by the report window.
  ReportDocuments* reportDocuments = nullptr;
};

App::App(MessageSink& messages, FileChooser& files, DocumentDialogs& dialogs)
    : messages_(messages),
      files_(files),
      mainForm_(feeder_.scheme(), messages_, resultForm_),
      deviceForm_(feeder_.deviceSettings(), feeder_.scheme(), messages_),
      checkForm_(feeder_.scheme(), feeder_.deviceSettings(), messages_) {
  documentDialogs_ = &dialogs;
  mainForm_.setDeviceDialog(&deviceForm_);
  mainForm_.setCheckWindow(&checkForm_);
  mainForm_.setWindowsNeeded([this] { later(); });

  // The device shows what the feeder holds, wherever it is shown: the dialog
  // changes the feeder's device, and every successful calculation judges it
  // again with the new current.
  QObject::connect(&deviceForm_, &DeviceDefenceForm::deviceChanged, &feeder_,
                   [this] { feeder_.setAcceptedDevice(deviceForm_.acceptedInput(), deviceForm_.acceptedLabels()); });
  QObject::connect(&feeder_, &FeederDocument::deviceChanged, &mainForm_,
                   [this] { ShowDeviceTexts(deviceStatusView(), feeder_.deviceTexts()); });
  QObject::connect(&mainForm_, &MainForm::calculationSucceeded, &feeder_, [this] { feeder_.judgeDevice(); });
  QObject::connect(&mainForm_, &MainForm::calculationShown, &feeder_,
                   [this](const ResultTexts& texts) { feeder_.setResults(texts); });
  resultForm_.setDeviceSource([this] { return feeder_.deviceTexts(); });

  feederDocuments_ = new FeederDocuments(mainForm_, deviceForm_, resultForm_, feeder_, messages_, files_, dialogs);
  feederDocuments_->setProtectionCheck(&checkForm_);
  feederDocuments_->setPlaces([this]() -> ReportPlaces& { return reportForm().places(); });
  // The feeder as the program starts is unedited.
  feederDocuments_->markFeederClean();

  QObject::connect(mainForm_.journalAction(), &QAction::triggered, &mainForm_, [this] {
    JournalForm& journal = journalForm();
    journal.show();
    journal.raise();
    journal.activateWindow();
  });
  mainForm_.setHelpOpener([this](int topic) { openHelp(topic); });
  mainForm_.setExitCheck([this] { return confirmExit(); });
  // The results window has no status bar of its own: its hints go to the
  // program's one, as every other hint does.
  AttachHintBar(&resultForm_, mainForm_.statusBar());
  for (QWidget* window : {static_cast<QWidget*>(&mainForm_), static_cast<QWidget*>(&resultForm_),
                          static_cast<QWidget*>(&deviceForm_), static_cast<QWidget*>(&checkForm_)}) {
    InstallContextHelp(window, [this](int topic) { openHelp(topic); });
  }

  // What the first frame does not need comes once it is on screen.
  new AfterFirstPaint(&mainForm_, [this] {
    later();
    startSpreadsheetQuery_();
  });
}

App::LaterWindows& App::later() {
  if (later_) {
    return *later_;
  }
  later_ = std::make_unique<LaterWindows>(report_, messages_, files_);
  AskNumberForm& ask = later_->askNumberForm;
  ReportForm& reportForm = later_->reportForm;
  mainForm_.setAskNumberDialog(&ask);
  mainForm_.setReportWindow(&reportForm);
  mainForm_.setAboutWindow(&later_->aboutForm);

  // The accepted name becomes a point of the report: the last calculation,
  // the device and the trip time the results window shows.
  QObject::connect(&ask, &QDialog::accepted, &reportForm, [this] { addChosenPoint(); });
  QObject::connect(reportForm.exportToExcelAction(), &QAction::triggered, &reportForm,
                   [this] { ExportToExcel(report_, messages_, &later_->reportForm, spreadsheetDesktop_); });
  QObject::connect(reportForm.exportToCalcAction(), &QAction::triggered, &reportForm,
                   [this] { ExportToCalc(report_, messages_, &later_->reportForm, spreadsheetDesktop_); });

  // The report window's start folder and recent files last between runs.
  reportForm.keepPlacesIn(ReportPlaces::defaultSettingsFile());
  later_->reportDocuments = new ReportDocuments(reportForm, report_, messages_, files_, *documentDialogs_);
  for (QWidget* window : {static_cast<QWidget*>(&ask), static_cast<QWidget*>(&reportForm)}) {
    InstallContextHelp(window, [this](int topic) { openHelp(topic); });
  }
  return *later_;
}

AskNumberForm& App::askNumberForm() { return later().askNumberForm; }
ReportForm& App::reportForm() { return later().reportForm; }
DeleteAllReportForm& App::deleteAllForm() { return later().deleteAllForm; }
AboutProgramForm& App::aboutForm() { return later().aboutForm; }
ReportDocuments& App::reportDocuments() { return *later().reportDocuments; }

App::~App() = default;

DeviceStatusView App::deviceStatusView() {
  DeviceStatusView view;
  view.mainStatus = mainForm_.statusDDLabel();
  view.resultStatus = resultForm_.statusDDLabel();
  view.type = resultForm_.typeDDLabel();
  view.toknom = resultForm_.toknomLabel();
  view.kz = resultForm_.kzLabel();
  view.tokSR = resultForm_.tokSRLabel();
  view.timeSR = resultForm_.timeSRLabel();
  return view;
}

void App::addChosenPoint() {
  const std::optional<QString>& name = askNumberForm().chosenName();
  if (!name) {
    return;
  }
  const std::string text = name->toStdString();
  const ReportRow cells = MakeReportRow(text, feeder_.scheme(), feeder_.deviceSettings(),
                                        feeder_.deviceTexts().timeSR.toStdString(), SystemSeparators());
  const std::string rejection = reportForm().document().addPoint(text, cells);
  if (!rejection.empty()) {
    messages_.inform(&askNumberForm(), QString::fromStdString(rejection));
  }
}

void App::showMainWindow() { mainForm_.show(); }

bool App::confirmExit() {
  if (feeder_.isModified()) {
    switch (messages_.askSave(&mainForm_, QStringLiteral("Схема не сохранена. Сохранить изменения?"))) {
      case MessageSink::SaveAnswer::Save:
        if (!feederDocuments_->saveFeeder()) return false;
        break;
      case MessageSink::SaveAnswer::Discard:
        break;
      case MessageSink::SaveAnswer::Cancel:
        return false;
    }
  }
  if (journalForm_ && !journalForm_->offerToSave(&mainForm_)) return false;
  if (report_.hasUnsavedWork() && !reportForm().offerToSave(&mainForm_)) return false;
  // The program ends with the main window: the journal's window goes too.
  if (journalForm_) journalForm_->hide();
  return true;
}

JournalForm& App::journalForm() {
  if (!journalForm_) {
    journal_ = std::make_unique<LineJournal>();
    journalForm_ = std::make_unique<JournalForm>(*journal_, messages_, files_);
    journalForm_->keepPlacesIn(ReportPlaces::defaultSettingsFile());
    JournalLinks links;
    links.openInMainWindow = [this](const JournalNetwork& network, int line) { openJournalLine(network, line); };
    links.addToReport = [this](const JournalNetwork& network, const std::vector<int>& lines) {
      addJournalLines(network, lines);
    };
    links.openHelp = [this](int topic) { openHelp(topic); };
    const auto journalWorkbook = [](const JournalNetwork& network, const JournalResult& result) {
      return [&network, &result](const QString& folder) { return WriteJournalExportFile(folder, network, result); };
    };
    links.exportToExcel = [this, journalWorkbook](const JournalNetwork& network, const JournalResult& result) {
      ExportWorkbookToExcel(journalWorkbook(network, result), messages_, journalForm_.get(), spreadsheetDesktop_);
    };
    links.exportToCalc = [this, journalWorkbook](const JournalNetwork& network, const JournalResult& result) {
      ExportWorkbookToCalc(journalWorkbook(network, result), messages_, journalForm_.get(), spreadsheetDesktop_);
    };
    links.choosePrinter = [this](QWidget* parent, QPrinter& printer) {
      return documentDialogs_->choosePrinter(parent, printer);
    };
    journalForm_->setLinks(std::move(links));
  }
  return *journalForm_;
}

void App::openJournalAtStart(const QString& file) {
  showMainWindow();
  QTimer::singleShot(0, &mainForm_, [this, file] {
    mainForm_.journalAction()->trigger();
    // Read while on screen, so a message appears over the window.
    journalForm().openFile(file);
  });
}

bool App::openJournalLine(const JournalNetwork& network, int line) {
  const Result<JournalFeeder> feeder = FeederOfLine(network, line);
  if (!feeder) return false;
  mainForm_.setSchemeInput(feeder.value().input);
  bool calculated = false;
  const QMetaObject::Connection watch =
      QObject::connect(&mainForm_, &MainForm::calculationSucceeded, &mainForm_, [&calculated] { calculated = true; });
  mainForm_.StartButtonClick();
  QObject::disconnect(watch);
  // The device is accepted as the dialog's "Да" would, against the new current.
  if (feeder.value().device) {
    deviceForm_.acceptTexts(*feeder.value().device);
  } else {
    deviceForm_.forgetDevice();
  }
  mainForm_.show();
  mainForm_.raise();
  return calculated;
}

void App::addJournalLines(const JournalNetwork& network, const std::vector<int>& lines) {
  for (const int line : lines) {
    if (!openJournalLine(network, line)) continue;
    const std::string& name = network.lines[static_cast<std::size_t>(line)].id;
    const ReportRow cells = MakeReportRow(name, feeder_.scheme(), feeder_.deviceSettings(),
                                          feeder_.deviceTexts().timeSR.toStdString(), SystemSeparators());
    if (reportForm().document().addPoint(name, cells).empty()) continue;
    // The designation cannot name a point: the point-name dialog asks.
    mainForm_.AddToReportButtonClick();
  }
}

void App::openReportAtStart(const QString& file) {
  showMainWindow();
  // Once the event loop runs: the report window opens as its menu item opens
  // it, and reads the file while it is on screen, so messages appear over it.
  QTimer::singleShot(0, &mainForm_, [this, file] {
    QTimer::singleShot(0, &reportForm(), [this, file] { reportForm().openReportFile(file); });
    mainForm_.ReportMenuClick();
  });
}

HelpViewer& App::helpViewer() {
  if (!help_) {
    help_ = std::make_unique<HelpViewer>();
  }
  return *help_;
}

void App::openHelp(int topic) { helpViewer().showTopic(topic); }

}  // namespace tesmir
