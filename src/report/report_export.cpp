#include "report/report_export.h"

#include <QFile>

#include "report/export_block.h"
#include "report/export_files.h"
#include "report/spreadsheet_launch.h"
#include "report/xlsx_export.h"

namespace tesmir {

namespace {

Failure<ExportFailure> Missing(const char* message) {
  return FailWith(ExportFailure{ExportFailure::Kind::ProgramMissing, QString::fromUtf8(message)});
}

Failure<ExportFailure> Error(const QString& message) {
  return FailWith(ExportFailure{ExportFailure::Kind::Error, message});
}

// Clears out day-old exports and writes the workbook into a new read-only
// file of the export folder.
Result<QString, ExportFailure> WriteNewWorkbook(const WorkbookWriter& write, const SpreadsheetDesktop& desktop) {
  const QString folder = desktop.exportFolder.isEmpty() ? DefaultExportFolder() : desktop.exportFolder;
  RemoveOldExports(folder);
  const NewExportFile file = write(folder);
  if (!file.error.isEmpty()) {
    return Error(file.error);
  }
  return file.path;
}

// The report's workbook, once it is known to fit a sheet.
Result<QString, ExportFailure> WithReportWorkbook(
    const ReportTable& table, const SpreadsheetDesktop& desktop,
    Result<QString, ExportFailure> (*exportAs)(const WorkbookWriter&, const SpreadsheetDesktop&)) {
  if (const QString error = CheckExportLimits(table); !error.isEmpty()) {
    return Error(error);
  }
  return exportAs(
      [&table](const QString& folder) {
        return WriteExportFile(folder, [&table](const QString& path) { return WriteReportWorkbook(path, table); });
      },
      desktop);
}

}  // namespace

Result<QString, ExportFailure> ExportWorkbookForExcel(const WorkbookWriter& write, const SpreadsheetDesktop& desktop) {
  Result<QString, ExportFailure> written = WriteNewWorkbook(write, desktop);
  if (!written) {
    return written;
  }
  // Without a program the workbook stays where the message says, for the
  // user to open as they can.
  const bool hasApplication = !desktop.hasXlsxApplication || desktop.hasXlsxApplication();
  if (!hasApplication || !desktop.openUrl || !desktop.openUrl(QUrl::fromLocalFile(*written))) {
    return FailWith(ExportFailure{ExportFailure::Kind::ProgramMissing,
                                  QString::fromUtf8(kXlsxProgramMissingMessage).arg(*written)});
  }
  return written;
}

Result<QString, ExportFailure> ExportWorkbookForCalc(const WorkbookWriter& write, const SpreadsheetDesktop& desktop) {
  const QString program = FindCalcProgram();
  if (program.isEmpty()) {
    return Missing(kCalcMissingMessage);
  }
  Result<QString, ExportFailure> written = WriteNewWorkbook(write, desktop);
  if (!written) {
    return written;
  }
  if (const QString error = StartCalc(program, *written); !error.isEmpty()) {
    // Calc never got the file: nobody will ever see it.
    QFile::remove(*written);
    return Error(error);
  }
  return written;
}

Result<QString, ExportFailure> ExportForExcel(const ReportTable& table, const SpreadsheetDesktop& desktop) {
  return WithReportWorkbook(table, desktop, &ExportWorkbookForExcel);
}

Result<QString, ExportFailure> ExportForCalc(const ReportTable& table, const SpreadsheetDesktop& desktop) {
  // Calc is looked for before the report's limits, as before.
  if (FindCalcProgram().isEmpty()) {
    return Missing(kCalcMissingMessage);
  }
  return WithReportWorkbook(table, desktop, &ExportWorkbookForCalc);
}

}  // namespace tesmir
