#include "ui/spreadsheet_export.h"

#include <QDesktopServices>
#include <QFile>
#include <memory>

#include "report/export_block.h"
#include "report/export_files.h"
#include "report/spreadsheet_launch.h"
#include "report/xlsx_export.h"

namespace tesmir {

namespace {

// Checks that the report fits a sheet, clears out day-old exports and writes
// the workbook into a new read-only file of the export folder. Shows the
// failure and returns the empty text when there is no workbook.
QString WriteNewWorkbook(const ReportTable& table, MessageSink& messages, QWidget* parent,
                         const SpreadsheetDesktop& desktop) {
  if (const QString error = CheckExportLimits(table); !error.isEmpty()) {
    messages.error(parent, error);
    return {};
  }
  const QString folder = desktop.exportFolder.isEmpty() ? DefaultExportFolder() : desktop.exportFolder;
  RemoveOldExports(folder);
  const NewExportFile file =
      WriteExportFile(folder, [&table](const QString& path) { return WriteReportWorkbook(path, table); });
  if (!file.error.isEmpty()) {
    messages.error(parent, file.error);
    return {};
  }
  return file.path;
}

}  // namespace

SpreadsheetDesktop SystemSpreadsheetDesktop() {
  // The query starts now and runs in the background; exports only look at
  // its answer.
  auto query = std::make_shared<XlsxApplicationQuery>();
  return SpreadsheetDesktop{QString(), [](const QUrl& url) { return QDesktopServices::openUrl(url); },
                            [query] { return query->hasApplication(); }};
}

QString ExportToExcel(const ReportTable& table, MessageSink& messages, QWidget* parent,
                      const SpreadsheetDesktop& desktop) {
  if (desktop.hasXlsxApplication && !desktop.hasXlsxApplication()) {
    messages.inform(parent, QString::fromUtf8(kExcelMissingMessage));
    return {};
  }
  const QString path = WriteNewWorkbook(table, messages, parent, desktop);
  if (path.isEmpty()) return {};
  if (!desktop.openUrl || !desktop.openUrl(QUrl::fromLocalFile(path))) {
    // The desktop has no way to open it: nobody will ever see this file.
    QFile::remove(path);
    messages.inform(parent, QString::fromUtf8(kExcelMissingMessage));
    return {};
  }
  return path;
}

QString ExportToCalc(const ReportTable& table, MessageSink& messages, QWidget* parent,
                     const SpreadsheetDesktop& desktop) {
  const QString program = FindCalcProgram();
  if (program.isEmpty()) {
    messages.inform(parent, QString::fromUtf8(kCalcMissingMessage));
    return {};
  }
  const QString path = WriteNewWorkbook(table, messages, parent, desktop);
  if (path.isEmpty()) return {};
  const QString error = StartCalc(program, path);
  if (!error.isEmpty()) {
    // Calc never got the file: nobody will ever see it.
    QFile::remove(path);
    messages.error(parent, error);
    return {};
  }
  return path;
}

}  // namespace tesmir
