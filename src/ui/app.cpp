#include "ui/app.h"

#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

#include "ui/context_help.h"
#include "ui/help_viewer.h"
#include "ui/hints.h"
#include "ui/spreadsheet_export.h"

namespace tesmir {

App::App(MessageSink& messages, FileChooser& files)
    : messages_(messages),
      files_(files),
      mainForm_(scheme_, messages_, resultForm_),
      deviceForm_(device_, scheme_, messages_),
      askNumberForm_(report_, scheme_, device_, messages_, [this] { return resultForm_.timeSRLabel()->text(); }),
      reportForm_(report_, messages_, files_, deleteAllForm_),
      deleteAllForm_(report_) {
  mainForm_.setDeviceDialog(&deviceForm_);
  mainForm_.setAskNumberDialog(&askNumberForm_);
  mainForm_.setReportWindow(&reportForm_);
  mainForm_.setAboutWindow(&aboutForm_);

  // Every successful calculation judges the device again with the new current.
  deviceForm_.setStatusView(deviceStatusView());
  QObject::connect(&mainForm_, &MainForm::calculationSucceeded, &mainForm_,
                   [this] { AlertDeviceDefence(scheme_, device_, deviceStatusView()); });

  // A point added to the report shows at once when the report is opened.
  QObject::connect(&askNumberForm_, &QDialog::accepted, &reportForm_, [this] { reportForm_.refreshGrid(); });
  QObject::connect(reportForm_.exportToExcelAction(), &QAction::triggered, &reportForm_,
                   [this] { ExportToExcel(report_, messages_, &reportForm_, spreadsheetDesktop_); });
  QObject::connect(reportForm_.exportToCalcAction(), &QAction::triggered, &reportForm_,
                   [this] { ExportToCalc(report_, messages_, &reportForm_, spreadsheetDesktop_); });

  mainForm_.setHelpOpener([this](int topic) { openHelp(topic); });
  // The results window has no status bar of its own: its hints go to the
  // program's one, as every other hint does.
  AttachHintBar(&resultForm_, mainForm_.statusBar());
  for (QWidget* window : {static_cast<QWidget*>(&mainForm_), static_cast<QWidget*>(&resultForm_),
                          static_cast<QWidget*>(&deviceForm_), static_cast<QWidget*>(&askNumberForm_),
                          static_cast<QWidget*>(&reportForm_)}) {
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

void App::showMainWindow() {
  if (QScreen* screen = mainForm_.screen()) {
    const QRect area = screen->availableGeometry();
    mainForm_.move(area.center() - QPoint(mainForm_.width() / 2, mainForm_.height() / 2));
  }
  mainForm_.show();
}

HelpViewer& App::helpViewer() {
  if (!help_) {
    help_ = std::make_unique<HelpViewer>();
  }
  return *help_;
}

void App::openHelp(int topic) { helpViewer().showTopic(topic); }

}  // namespace tesmir
