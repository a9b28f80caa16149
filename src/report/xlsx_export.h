#pragma once
// Writing an export block into a new .xlsx workbook.

#include <QString>

#include "report/export_block.h"

namespace tesmir {

// Column widths of the exported sheet, in characters.
inline constexpr double kExportColumnWidth = 8;
inline constexpr double kExportLastColumnWidth = 11;

// Writes `block` as the first and only sheet, named kExportSheetName, of a
// workbook at `path` (the file is created or replaced). Every cell is text;
// the first two rows are bold and centred, the others right-aligned, and
// every cell of the block has thin borders. Returns the empty text on
// success, otherwise the reason the file could not be written.
//
// Numbers in the workbook are written with "." whatever LC_NUMERIC the
// program runs under.
QString WriteExportWorkbook(const QString& path, const SheetBlock& block);

}  // namespace tesmir
