#include "ui/spreadsheet_export.h"

#include <QDesktopServices>
#include <QFile>

#include "report/export_block.h"
#include "report/export_files.h"
#include "report/spreadsheet_launch.h"
#include "report/xlsx_export.h"

namespace tesmir {

namespace {

// Writes the workbook into a new file of the export folder, clearing out
// day-old exports first. Shows the failure and returns the empty text when
// the file cannot be made.
QString WriteNewWorkbook(const ReportTable& table, MessageSink& messages, QWidget* parent,
                         const SpreadsheetDesktop& desktop) {
  const QString folder = desktop.exportFolder.isEmpty() ? DefaultExportFolder() : desktop.exportFolder;
  RemoveOldExports(folder);
  const NewExportFile file = CreateExportFile(folder);
  if (!file.error.isEmpty()) {
    messages.error(parent, file.error);
    return {};
  }
  const QString error = WriteExportWorkbook(file.path, BuildExportBlock(table));
  if (!error.isEmpty()) {
    QFile::remove(file.path);
    messages.error(parent, error);
    return {};
  }
  return file.path;
}

}  // namespace

SpreadsheetDesktop SystemSpreadsheetDesktop() {
  return SpreadsheetDesktop{QString(), [](const QUrl& url) { return QDesktopServices::openUrl(url); },
                            [] { return DesktopHasXlsxApplication(); }};
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
    messages.error(parent, error);
    return {};
  }
  return path;
}

}  // namespace tesmir
