#pragma once
// The content a spreadsheet export receives: two header rows and the report's
// leading block, every cell as text.

#include <string>
#include <string_view>
#include <vector>

#include "report/report_table.h"

namespace tesmir {

// Rows top to bottom, each with one text per column.
using SheetBlock = std::vector<std::vector<std::string>>;

// Name of the first sheet of an exported workbook.
inline constexpr std::string_view kExportSheetName = "Расчет ОКЗ";

// Two header rows (titles; units with the Latin "c" for seconds) followed by
// the rows of the leading block, cells exactly as the report shows them. The
// result has leadingCount() + 2 rows of columnCount() cells.
SheetBlock BuildExportBlock(const ReportTable& table);

}  // namespace tesmir
