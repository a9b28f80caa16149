#pragma once
// The report window's "Экспорт" → "в Excel" and "в Calc": the report goes
// into a new workbook that opens in the user's spreadsheet program.

#include <functional>

#include <QString>
#include <QUrl>

#include "report/report_table.h"
#include "ui/message_sink.h"

class QWidget;

namespace tesmir {

inline constexpr char kExcelMissingMessage[] = "Требуется установить MS Excel на компьютер";
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

// The real desktop: QDesktopServices::openUrl, and an XlsxApplicationQuery
// started by this call whose answer every later export reuses.
SpreadsheetDesktop SystemSpreadsheetDesktop();

// Writes the report into a new workbook and opens it with the desktop's
// application for .xlsx files. A report that does not fit a sheet is refused
// before anything is written. Shows kExcelMissingMessage when there is
// none, and the system's text when the file cannot be written or opened.
// Returns the workbook written, or the empty text when the export stopped.
QString ExportToExcel(const ReportTable& table, MessageSink& messages, QWidget* parent,
                      const SpreadsheetDesktop& desktop);

// Writes the report into a new workbook and opens it in LibreOffice Calc as
// a new untitled document. Shows kCalcMissingMessage when LibreOffice is not
// installed, and the system's text when the file cannot be written or Calc
// cannot be started. Returns the workbook written, or the empty text.
QString ExportToCalc(const ReportTable& table, MessageSink& messages, QWidget* parent,
                     const SpreadsheetDesktop& desktop);

}  // namespace tesmir
