#pragma once
// Writing an export block into a new .xlsx workbook.

#include <QString>

#include "report/export_block.h"

struct lxw_workbook;

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
//
// The workbook's sheet is streamed to disk row by row (libxlsxwriter's
// constant-memory mode), so memory does not grow with the report. A NUL
// inside a cell is written as U+FFFD. `path` must name a file private to the
// user: the library opens it by name.
QString WriteExportWorkbook(const QString& path, const SheetBlock& block);

// Writes the export block of `table` (BuildExportBlock) the same way, row by
// row, without a copy of the report.
QString WriteReportWorkbook(const QString& path, const ReportTable& table);

// The message for an error of libxlsxwriter: what went wrong in Russian, with
// the library's own text (and the system's, when given) appended.
QString WorkbookErrorText(int libraryError, int systemError);

// Closes `book`, which frees it in any case, and gives the message for the
// first error, of writing (`writeError`, a libxlsxwriter error) or of
// closing, naming `path`; the empty text when the workbook is complete.
QString CloseWorkbook(lxw_workbook* book, int writeError, const QString& path);

}  // namespace tesmir
