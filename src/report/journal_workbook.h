#pragma once
// The line journal with its results as a workbook: a results sheet (numbers
// as numbers with their formats, failing verdicts in dark red, the header
// row and the designation column frozen) and the inputs as typed, with the
// import's own headings, so that the import reads the workbook back.

#include <QString>

#include "journal/journal_calc.h"
#include "journal/journal_network.h"
#include "report/export_files.h"

namespace tesmir {

inline constexpr char kJournalResultsSheetName[] = "Результаты";
inline constexpr char kJournalInputsSheetName[] = "Исходные данные";

// Whether the cell of the results table (the columns of JournalColumnTitles)
// shows a failure: a verdict that fails, a drop above its limit, the error.
bool JournalCellFails(const LineResult& result, int column);

// Writes the workbook at `path` (created or replaced). Returns the empty text
// or the reason it could not be written.
QString WriteJournalWorkbook(const QString& path, const JournalNetwork& network, const JournalResult& result);

// Writes the workbook as a new read-only file of the private export folder
// (WriteExportFile), ready to be opened by the desktop's program or Calc.
NewExportFile WriteJournalExportFile(const QString& folder, const JournalNetwork& network, const JournalResult& result);

}  // namespace tesmir
