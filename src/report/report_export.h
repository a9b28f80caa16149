#pragma once
// The spreadsheet export: the report goes into a new workbook that is handed
// to the user's spreadsheet program. The window only shows what comes back.

#include <QString>
#include <QUrl>
#include <functional>

#include "core/result.h"
#include "report/export_files.h"
#include "report/report_table.h"

namespace tesmir {

inline constexpr char kExcelMissingMessage[] = "Требуется установить MS Excel на компьютер";
inline constexpr char kXlsxProgramMissingMessage[] =
    "Не найдена программа для открытия файлов .xlsx. Книга записана в файл %1.";
inline constexpr char kCalcMissingMessage[] = "Требуется установить OpenOffice.org на компьютер";

// How an export reaches the desktop; tests replace the parts they observe.
struct SpreadsheetDesktop {
  // Folder for the workbooks; DefaultExportFolder() when empty. Workbooks are
  // written read-only, so a changed copy must be saved elsewhere.
  QString exportFolder;
  // Opens a file with the desktop's application for its type.
  std::function<bool(const QUrl&)> openUrl;
  // Whether the desktop has an application for .xlsx files.
  std::function<bool()> hasXlsxApplication;
};

// Why an export stopped: a spreadsheet program is missing (shown as
// information), or the report, the folder, the file or the program failed
// (shown as an error).
struct ExportFailure {
  enum class Kind { ProgramMissing, Error };
  Kind kind = Kind::Error;
  QString message;
};

// Writes the report into a new workbook and opens it with the desktop's
// application for .xlsx files. A report that does not fit a sheet is refused
// before anything is written. Fails with kXlsxProgramMissingMessage, naming
// the workbook, which stays, when there is no such application, and with the system's text when the file cannot be
// written. Gives the workbook written.
Result<QString, ExportFailure> ExportForExcel(const ReportTable& table, const SpreadsheetDesktop& desktop);

// Writes the report into a new workbook and opens it in LibreOffice Calc as
// a new untitled document. Fails with kCalcMissingMessage when LibreOffice is
// not installed, and with the system's text when the file cannot be written
// or Calc cannot be started. Gives the workbook written.
Result<QString, ExportFailure> ExportForCalc(const ReportTable& table, const SpreadsheetDesktop& desktop);

// The same two exports for any workbook: `write` makes the new read-only file
// in the folder it is given (as WriteExportFile does).
using WorkbookWriter = std::function<NewExportFile(const QString& folder)>;
Result<QString, ExportFailure> ExportWorkbookForExcel(const WorkbookWriter& write, const SpreadsheetDesktop& desktop);
Result<QString, ExportFailure> ExportWorkbookForCalc(const WorkbookWriter& write, const SpreadsheetDesktop& desktop);

}  // namespace tesmir
