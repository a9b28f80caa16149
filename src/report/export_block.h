#pragma once
// The content a spreadsheet export receives: two header rows and the report's
// leading block, every cell as text.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_table.h"

namespace tesmir {

// Rows top to bottom, each with one text per column.
using SheetBlock = std::vector<std::vector<std::string>>;

// Name of the first sheet of an exported workbook.
inline constexpr std::string_view kExportSheetName = "Расчет ОКЗ";

// The report rows an export writes: every named row in its order, also
// those after an unnamed one (as save and print write them).
std::vector<int> ExportedRows(const ReportTable& table);

// Two header rows (titles; units with the Latin "c" for seconds) followed by
// the exported rows, cells exactly as the report shows them. The result has
// ExportedRows().size() + 2 rows of columnCount() cells.
SheetBlock BuildExportBlock(const ReportTable& table);

// Row `r` of that block (into `cells`) for `rows` = ExportedRows(table),
// without building the others.
void ExportBlockRow(const ReportTable& table, const std::vector<int>& rows, std::size_t r,
                    std::vector<std::string>& cells);

// What one sheet of a workbook holds: rows (the two header rows included) and
// characters per cell.
inline constexpr std::size_t kSheetMaxRows = 1048576;
inline constexpr std::size_t kCellMaxCharacters = 32767;
struct SheetLimits {
  std::size_t maxRows = kSheetMaxRows;
  std::size_t maxCellCharacters = kCellMaxCharacters;
};

// The message to show when the report's leading block does not fit a sheet
// (too many rows, or a cell too long), naming the limit; the empty text when
// it fits. Checked before anything is written.
QString CheckExportLimits(const ReportTable& table, const SheetLimits& limits = {});

}  // namespace tesmir
