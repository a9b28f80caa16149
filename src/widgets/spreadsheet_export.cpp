#include "widgets/spreadsheet_export.h"

#include <QDesktopServices>
#include <memory>

#include "report/spreadsheet_launch.h"

namespace tesmir {

namespace {

// The one place an export's answer becomes a message.
QString Shown(const Result<QString, ExportFailure>& exported, MessageSink& messages, QWidget* parent) {
  if (exported) {
    return *exported;
  }
  const ExportFailure& failure = exported.error();
  if (failure.kind == ExportFailure::Kind::ProgramMissing) {
    messages.inform(parent, failure.message);
  } else {
    messages.error(parent, failure.message);
  }
  return {};
}

}  // namespace

SpreadsheetDesktop SystemSpreadsheetDesktop(std::function<void()>* start) {
  // The query runs in the background; exports only look at its answer.
  auto query = std::make_shared<std::unique_ptr<XlsxApplicationQuery>>();
  const auto started = [query] {
    if (!*query) {
      *query = std::make_unique<XlsxApplicationQuery>();
    }
  };
  if (start != nullptr) {
    *start = started;
  } else {
    started();
  }
  return SpreadsheetDesktop{QString(), [](const QUrl& url) { return QDesktopServices::openUrl(url); },
                            [query, started] {
                              started();
                              return (*query)->hasApplication();
                            }};
}

QString ExportToExcel(const ReportTable& table, MessageSink& messages, QWidget* parent,
                      const SpreadsheetDesktop& desktop) {
  return Shown(ExportForExcel(table, desktop), messages, parent);
}

QString ExportToCalc(const ReportTable& table, MessageSink& messages, QWidget* parent,
                     const SpreadsheetDesktop& desktop) {
  return Shown(ExportForCalc(table, desktop), messages, parent);
}

QString ExportWorkbookToExcel(const WorkbookWriter& write, MessageSink& messages, QWidget* parent,
                              const SpreadsheetDesktop& desktop) {
  return Shown(ExportWorkbookForExcel(write, desktop), messages, parent);
}

QString ExportWorkbookToCalc(const WorkbookWriter& write, MessageSink& messages, QWidget* parent,
                             const SpreadsheetDesktop& desktop) {
  return Shown(ExportWorkbookForCalc(write, desktop), messages, parent);
}

}  // namespace tesmir
