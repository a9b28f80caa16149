#include "ui/app.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "ui/context_help.h"
#include "ui/document_dialogs.h"
#include "ui/feeder_documents.h"
#include "ui/help_viewer.h"
#include "ui/hints.h"
#include "ui/locale_separators.h"
#include "ui/report_model.h"
#include "ui/report_print.h"
#include "ui/spreadsheet_export.h"

namespace tesmir {

App::App(MessageSink& messages, FileChooser& files) : App(messages, files, *new RealDocumentDialogs(messages)) {
  ownDialogs_.reset(documentDialogs_);
}

App::App(MessageSink& messages, FileChooser& files, DocumentDialogs& dialogs)
    : messages_(messages),
      files_(files),
      mainForm_(scheme_, messages_, resultForm_),
      deviceForm_(device_, scheme_, messages_),
      askNumberForm_(report_, messages_),
      reportForm_(report_, messages_, files_, deleteAllForm_),
      checkForm_(scheme_, device_, messages_) {
  mainForm_.setDeviceDialog(&deviceForm_);
  mainForm_.setAskNumberDialog(&askNumberForm_);
  mainForm_.setReportWindow(&reportForm_);
  mainForm_.setAboutWindow(&aboutForm_);
  mainForm_.setCheckWindow(&checkForm_);

  // Every successful calculation judges the device again with the new current.
  deviceForm_.setStatusView(deviceStatusView());
  QObject::connect(&mainForm_, &MainForm::calculationSucceeded, &mainForm_,
                   [this] { AlertDeviceDefence(scheme_, device_, deviceStatusView()); });

  // The accepted name becomes a point of the report: the last calculation,
  // the device and the trip time the results window shows.
  QObject::connect(&askNumberForm_, &QDialog::accepted, &reportForm_, [this] { addChosenPoint(); });
  QObject::connect(reportForm_.exportToExcelAction(), &QAction::triggered, &reportForm_,
                   [this] { ExportToExcel(report_, messages_, &reportForm_, spreadsheetDesktop_); });
  QObject::connect(reportForm_.exportToCalcAction(), &QAction::triggered, &reportForm_,
                   [this] { ExportToCalc(report_, messages_, &reportForm_, spreadsheetDesktop_); });

  // The report window's start folder and recent files last between runs.
  reportForm_.keepPlacesIn(ReportPlaces::defaultSettingsFile());

  feederDocuments_ = new FeederDocuments(mainForm_, deviceForm_, resultForm_, scheme_, messages_, files_, dialogs);
  feederDocuments_->setProtectionCheck(&checkForm_);
  feederDocuments_->setPlaces(&reportForm_.places());
  reportDocuments_ = new ReportDocuments(reportForm_, report_, messages_, files_, dialogs);
  documentDialogs_ = &dialogs;

  mainForm_.setHelpOpener([this](int topic) { openHelp(topic); });
  mainForm_.setExitCheck([this] { return confirmExit(); });
  // The results window has no status bar of its own: its hints go to the
  // program's one, as every other hint does.
  AttachHintBar(&resultForm_, mainForm_.statusBar());
  for (QWidget* window : {static_cast<QWidget*>(&mainForm_), static_cast<QWidget*>(&resultForm_),
                          static_cast<QWidget*>(&deviceForm_), static_cast<QWidget*>(&askNumberForm_),
                          static_cast<QWidget*>(&reportForm_), static_cast<QWidget*>(&checkForm_)}) {
    InstallContextHelp(window, [this](int topic) { openHelp(topic); });
  }
}

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
  const std::optional<QString>& name = askNumberForm_.chosenName();
  if (!name) {
    return;
  }
  const std::string text = name->toStdString();
  const ReportRow cells =
      MakeReportRow(text, scheme_, device_, resultForm_.timeSRLabel()->text().toStdString(), SystemSeparators());
  const std::string rejection = reportForm_.model().addPoint(text, cells);
  if (!rejection.empty()) {
    messages_.inform(&askNumberForm_, QString::fromStdString(rejection));
  }
}

void App::showMainWindow() { mainForm_.show(); }

bool App::confirmExit() { return reportForm_.offerToSave(&mainForm_); }

void App::openReportAtStart(const QString& file) {
  showMainWindow();
  // Once the event loop runs: the report window opens as its menu item opens
  // it, and reads the file while it is on screen, so messages appear over it.
  QTimer::singleShot(0, &mainForm_, [this, file] {
    QTimer::singleShot(0, &reportForm_, [this, file] { reportForm_.openReportFile(file); });
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
