#pragma once
// The report window's "Экспорт" → "в Excel" and "в Calc": runs the export
// and shows what stopped it.

#include <QString>
#include <functional>

#include "report/report_export.h"
#include "report/report_table.h"
#include "widgets/message_sink.h"

class QWidget;

namespace tesmir {

// The real desktop: QDesktopServices::openUrl, and an XlsxApplicationQuery
// whose answer every later export reuses. It starts with this call, or, when
// `start` is given, once `*start` is called or at the first export.
SpreadsheetDesktop SystemSpreadsheetDesktop(std::function<void()>* start = nullptr);

// ExportForExcel and ExportForCalc with their failure shown over `parent`: a
// missing program as information, anything else as an error. Return the
// workbook written, or the empty text when the export stopped.
QString ExportToExcel(const ReportTable& table, MessageSink& messages, QWidget* parent,
                      const SpreadsheetDesktop& desktop);
QString ExportToCalc(const ReportTable& table, MessageSink& messages, QWidget* parent,
                     const SpreadsheetDesktop& desktop);
// The same for any workbook `write` makes.
QString ExportWorkbookToExcel(const WorkbookWriter& write, MessageSink& messages, QWidget* parent,
                              const SpreadsheetDesktop& desktop);
QString ExportWorkbookToCalc(const WorkbookWriter& write, MessageSink& messages, QWidget* parent,
                             const SpreadsheetDesktop& desktop);

}  // namespace tesmir
